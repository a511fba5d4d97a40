#include "cli/ConsoleHost.h"

#include "cli/RunMessages.h"
#include "engine/TestRun.h"

#include <cstdio>

ConsoleHost::ConsoleHost(bool showProgress) : showProgress_(showProgress) {}

void ConsoleHost::PhaseStarted(const TestRun& testRun, RunPhase phase, int32_t cycle)
{
    PrintProgress(RunPhaseStatusText(phase, cycle, testRun.run.settings.cycles));
}

void ConsoleHost::ZoneMeasured(const TestRun& testRun, int32_t zone, TransferPhase direction)
{
    if (!showProgress_)
        return;
    // The zone and cycle under way, with the speeds just measured there.
    const std::string where = ZoneProgressText(testRun);
    const int32_t cycle = testRun.progress.position.cycle.load();
    const Run& run = testRun.run;
    if (where.empty() || zone >= static_cast<int32_t>(run.zones.size()) || cycle < 0 || cycle >= kMaxCycleCount)
        return;
    const ZoneResult& result = run.zones[static_cast<size_t>(zone)];
    char line[256];
    int length = std::snprintf(line, sizeof line, "Test in Progress: %s, read %.1f MB/s", where.c_str(),
                               result.read.cycles[static_cast<size_t>(cycle)]);
    if (direction == TransferPhase::Write && length > 0 && static_cast<std::size_t>(length) < sizeof line)
        std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length), ", write %.1f MB/s",
                      result.write.cycles[static_cast<size_t>(cycle)]);
    PrintProgress(line);
}

void ConsoleHost::Finished(const TestRun&)
{
    MarkEnded();
}

void ConsoleHost::Failed(const TestRun&)
{
    MarkEnded();
}

void ConsoleHost::Stopped(const TestRun&)
{
    MarkEnded();
}

void ConsoleHost::MarkEnded()
{
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
    }
    endedSignal_.notify_all();
}

bool ConsoleHost::WaitForEnd(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return endedSignal_.wait_for(lock, timeout, [this] { return ended_; });
}

void ConsoleHost::ShowProgress(const TestRun& testRun)
{
    if (!showProgress_)
        return;
    if (testRun.run.settings.kind == TestKind::Standard) {
        ShowZoneUnderWay(testRun);
        return;
    }
    if (testRun.run.settings.kind == TestKind::Surface) {
        PrintProgress(SurfaceProgressText(testRun));
        return;
    }
    const uint32_t reads = testRun.progress.randomReads.load();
    const uint32_t writes = testRun.progress.randomWrites.load();
    char line[128];
    if (writes != 0)
        std::snprintf(line, sizeof line, "Random writes: %u of %d", writes, kRandomTransferCount);
    else if (reads != 0)
        std::snprintf(line, sizeof line, "Random reads: %u of %d", reads, kRandomTransferCount);
    else
        return;
    PrintProgress(line);
}

void ConsoleHost::ShowZoneUnderWay(const TestRun& testRun)
{
    // Once per transfer: a long one shows where it is while it runs.
    const TransferPosition& position = testRun.progress.position;
    const TransferPhase phase = position.phase.load(std::memory_order_acquire);
    const int64_t shown = (static_cast<int64_t>(phase) << 40) |
                          (static_cast<int64_t>(position.cycle.load() + 1) << 20) | position.zone.load();
    const std::string where = ZoneProgressText(testRun);
    if (where.empty() || shown == shownTransfer_)
        return;
    shownTransfer_ = shown;
    const char* doing = phase == TransferPhase::Preflight ? "preflight read"
                        : phase == TransferPhase::Read    ? "reading"
                                                          : "writing";
    PrintProgress("Test in Progress: " + where + ", " + doing);
}

void ConsoleHost::PrintProgress(const std::string& line)
{
    if (!showProgress_)
        return;
    const std::lock_guard lock(mutex_);
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
    progressShown_ = true;
}

void ConsoleHost::EndProgress()
{
    const std::lock_guard lock(mutex_);
    if (progressShown_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        progressShown_ = false;
    }
}
