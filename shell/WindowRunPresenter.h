// The window's presenter of a run's events, through its interface host: the
// status line (a surface run's position, speed now and time left), the
// random test's pane, redraws of the results and the alerts. Each event that
// changes what is shown runs on the interface thread while the worker waits,
// so the records the window reads are copied from the run there.
#pragma once

#include "shell/InterfaceHost.h"
#include "engine/RunObserver.h"

class WindowRunPresenter final : public RunObserver {
public:
    explicit WindowRunPresenter(InterfaceHost& host) : host_(host) {}

    void Started(const TestRun& testRun) override;
    void PhaseStarted(const TestRun& testRun, RunPhase phase, int32_t cycle) override;
    void ZoneMeasured(const TestRun& testRun, int32_t zone, TransferPhase direction) override;
    void RandomMeasured(const TestRun& testRun, TransferPhase direction) override;
    void Progress(const TestRun& testRun) override;
    void SurfaceMeasured(const TestRun& testRun) override;
    void Finished(const TestRun& testRun) override;
    void Failed(const TestRun& testRun) override;
    void Stopped(const TestRun& testRun) override;

private:
    // Runs call on the interface thread. A stop may abandon it while it waits
    // or runs, so it must capture nothing of the worker's stack.
    void OnInterfaceThread(const TestRun& testRun, const std::function<void()>& call);

    InterfaceHost& host_;
};
