// The window's interface as the presenter of its runs (WindowRunPresenter) and
// the progress display reach it: calls on the interface thread, status texts,
// progress bars, redraws, alerts and the end-of-run notices. The window
// provides the one host; the command-line runner presents runs without one.
#pragma once

#include <cstdint>
#include <functional>

struct Run;

class StopRequest;

class InterfaceHost {
public:
    virtual ~InterfaceHost() = default;

    // Runs call on the interface thread and returns once it has returned:
    // true. Called only by the worker of the run whose stop request is given.
    // While that stop is under way the host may instead return false without
    // running it, so that the interface thread never waits on a waiting worker.
    virtual bool CallOnInterfaceThread(const std::function<void()>& call, const StopRequest& stop) = 0;

    // Called on the interface thread when a stop is under way: a worker that
    // waits in CallOnInterfaceThread must be released (served or abandoned).
    virtual void ReleaseWaitingWorker() {}

    // The worker's end-of-test notice; posted, never waited on.
    virtual void PostTestFinished() = 0;
    // Posted by a worker that ended because a stop was requested (it posts no
    // finished notice then); the thread is about to end.
    virtual void PostTestStopped() {}

    // True on the thread that owns the interface.
    virtual bool OnInterfaceThread() const = 0;

    // ---- interface-thread actions ----
    // Sets a static text of the main window, by its control number.
    virtual void SetStaticText(int32_t controlId, const char* text) = 0;
    virtual void SetProgressBarValue(int32_t controlId, int32_t value) = 0;
    virtual void DrawTestResults() = 0;
    // The status line of a surface run under way: its position, speed now and time left.
    virtual void ShowSurfaceProgress(const Run& /*run*/, double /*elapsedSeconds*/) {}
    // A modal alert; returns once it is dismissed. alertType 0 is an error.
    virtual void ShowAlert(int16_t alertType, const char* message) = 0;
    virtual void ShowWaitCursorFrame(uint32_t /*frame*/) {}
    virtual void ShowArrowCursor() {}

    // Sets a static text of the main window.
    void SetStatusText(int32_t controlId, const char* text);
};

// The host in use; null until the program installs one. The host outlives
// every worker.
InterfaceHost* CurrentInterfaceHost();
void SetInterfaceHost(InterfaceHost* host);
