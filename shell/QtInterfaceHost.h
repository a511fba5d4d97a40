// The engine's requests carried out on the Qt interface thread. The worker's
// remote calls are queued to the event loop and waited for; a stop releases
// a waiting worker at once (its call is abandoned), so Stop, which waits for
// the worker on the interface thread, can never deadlock with it.
#pragma once

#include "shell/InterfaceHost.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QtInterfaceHost final : public InterfaceHost {
public:
    // onTestFinished runs on the interface thread for each finished notice,
    // onTestStopped for each notice of a worker that stopped on request.
    QtInterfaceHost(std::function<void()> onTestFinished, std::function<void()> onTestStopped = {});

    bool CallOnInterfaceThread(const std::function<void()>& call, const StopRequest& stop) override;
    void ReleaseWaitingWorker() override;
    void PostTestFinished() override;
    void PostTestStopped() override;
    bool OnInterfaceThread() const override;
    void SetStaticText(int32_t controlId, const char* text) override;
    void SetProgressBarValue(int32_t controlId, int32_t value) override;
    void DrawTestResults() override;
    void ShowSurfaceProgress(const Run& run, double elapsedSeconds) override;
    void ShowAlert(int16_t alertType, const char* message) override;
    void ShowWaitCursorFrame(uint32_t frame) override;
    void ShowArrowCursor() override;

private:
    struct Request;

    std::function<void()> onTestFinished_;
    std::function<void()> onTestStopped_;
    std::mutex mutex_;
    std::condition_variable served_;
    std::shared_ptr<Request> pending_;
    std::atomic<bool> waitCursorShown_{false};
};
