#include "engine/RunExecution.h"

#include "engine/RunObserver.h"
#include "engine/SurfaceTest.h"
#include "engine/TestRun.h"
#include "engine/ZoneTests.h"

#include <cstdio>
#include <ctime>
#include <system_error>

std::string RunPhaseStatusText(RunPhase phase, int32_t cycle, int32_t cycles)
{
    switch (phase) {
    case RunPhase::Preflight:
        return "Test in Progress: Preflighting...";
    case RunPhase::Cycle: {
        char status[256];
        std::snprintf(status, sizeof status, "Test in Progress: Cycle %d of %ld", cycle + 1, static_cast<long>(cycles));
        return status;
    }
    case RunPhase::RandomReads:
        return "Test in Progress: Random Reads\u2026";
    case RunPhase::RandomWrites:
        return "Test in Progress: Random Writes\u2026";
    case RunPhase::Surface:
        return "Test in Progress: Surface\u2026";
    }
    return {};
}

void ExecuteRun(TestRun& testRun, RunObserver& observer)
{
    Run& run = testRun.run;
    testRun.progress.running.store(true);
    testRun.progress.cursorFrame.store(1);
    run.started = std::time(nullptr);
    run.end = RunEnd::NotEnded;
    run.failure.reset();
    RunEnd end = RunEnd::Failed;
    switch (run.settings.kind) {
    case TestKind::Standard: end = RunStandardZoneTest(testRun, observer); break;
    case TestKind::Random: end = RunRandomZoneTest(testRun, observer); break;
    case TestKind::Surface: end = RunSurfaceTest(testRun, observer); break;
    }
    run.ended = std::time(nullptr);
    run.end = end;
    testRun.progress.running.store(false);
    if (end == RunEnd::Stopped)
        observer.Stopped(testRun);
    else if (end == RunEnd::Failed)
        observer.Failed(testRun);
    else
        observer.Finished(testRun);
}

bool StartRunWorker(TestRun& testRun, RunObserver& observer)
{
    if (testRun.worker.joinable())
        return false;
    testRun.stop.Clear();
    // Raised before the thread starts, so a second Start sees a run under way.
    testRun.progress.running.store(true);
    try {
        testRun.worker = std::thread([&testRun, &observer] { ExecuteRun(testRun, observer); });
    } catch (const std::system_error&) {
        testRun.progress.running.store(false);
        return false;
    }
    return true;
}

void RequestRunStop(TestRun& testRun)
{
    testRun.stop.Request();
}

void JoinRunWorker(TestRun& testRun)
{
    if (testRun.worker.joinable())
        testRun.worker.join();
}
