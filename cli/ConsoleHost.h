// The command-line runner's side of the engine's interface requests: status
// texts become progress lines on a terminal, alerts are kept for the final
// message, and the finished notice wakes the main thread.
#pragma once

#include "engine/InterfaceHost.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

class ConsoleHost final : public InterfaceHost {
public:
    explicit ConsoleHost(bool showProgress);

    int32_t CallOnInterfaceThread(RemoteProcedure procedure, void* parameter) override;
    void PostTestFinished() override;
    bool OnInterfaceThread() const override { return true; }
    void SetStaticText(WindowRef window, int32_t controlId, const char* text, bool truncate) override;
    void SetProgressBarValue(int32_t controlId, int32_t value) override;
    void DrawTestResults() override;
    void ShowAlert(int16_t alertType, const char* message) override;

    // Waits until the finished notice arrives or the timeout passes; true when finished.
    bool WaitForFinish(std::chrono::milliseconds timeout);

    // The message of the first alert shown, empty when none was.
    std::string AlertMessage() const;

    // The last text set on a control of the main window.
    std::string StaticText(int32_t controlId) const;

    // Shows the random test's counts, or the zone and cycle of the standard
    // test's transfer under way (called by the main thread between waits).
    void ShowRandomProgress();

    // Ends the progress line.
    void EndProgress();

private:
    void ShowZoneUnderWay();
    void PrintProgress(const std::string& line);

    const bool showProgress_;
    mutable std::mutex mutex_;
    std::recursive_mutex callMutex_;
    std::condition_variable finishedSignal_;
    bool finished_ = false;
    std::string alert_;
    std::map<int32_t, std::string> texts_;
    bool progressShown_ = false;
    int64_t shownTransfer_ = -1;  // the transfer ShowZoneUnderWay last named
};
