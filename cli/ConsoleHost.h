// The command-line runner's presenter of a run's events: phases and zones
// become progress lines on a terminal, a failure is kept for the final
// message, and the run's end wakes the main thread.
#pragma once

#include "engine/RunObserver.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

class ConsoleHost final : public RunObserver {
public:
    explicit ConsoleHost(bool showProgress);

    void PhaseStarted(const TestRun& testRun, RunPhase phase, int32_t cycle) override;
    void ZoneMeasured(const TestRun& testRun, int32_t zone, TransferPhase direction) override;
    void Finished(const TestRun& testRun) override;
    void Failed(const TestRun& testRun) override;
    void Stopped(const TestRun& testRun) override;

    // Waits until the run has ended or the timeout passes; true when it has.
    bool WaitForEnd(std::chrono::milliseconds timeout);

    // Shows the random test's counts, or the zone and cycle of the standard
    // test's transfer under way (called by the main thread between waits).
    void ShowProgress(const TestRun& testRun);

    // Ends the progress line.
    void EndProgress();

private:
    void ShowZoneUnderWay(const TestRun& testRun);
    void PrintProgress(const std::string& line);
    void MarkEnded();

    const bool showProgress_;
    std::mutex mutex_;
    std::condition_variable endedSignal_;
    bool ended_ = false;
    bool progressShown_ = false;
    int64_t shownTransfer_ = -1;  // the transfer ShowZoneUnderWay last named
};
