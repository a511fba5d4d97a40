#include "cli/ConsoleHost.h"

#include "cli/RunMessages.h"
#include "engine/TestModel.h"
#include "engine/TransferPosition.h"

#include <cstdio>

ConsoleHost::ConsoleHost(bool showProgress) : showProgress_(showProgress) {}

int32_t ConsoleHost::CallOnInterfaceThread(RemoteProcedure procedure, void* parameter)
{
    // The terminal has no interface thread of its own: requests run on the
    // caller, one at a time.
    const std::lock_guard lock(callMutex_);
    return procedure(parameter);
}

void ConsoleHost::PostTestFinished()
{
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
    }
    finishedSignal_.notify_all();
}

void ConsoleHost::SetStaticText(WindowRef, int32_t controlId, const char* text, bool)
{
    std::string line;
    {
        const std::lock_guard lock(mutex_);
        texts_[controlId] = text;
        if (controlId == kStatusText)
            line = text;
    }
    if (!line.empty())
        PrintProgress(line);
}

void ConsoleHost::SetProgressBarValue(int32_t, int32_t) {}

void ConsoleHost::DrawTestResults()
{
    if (!showProgress_ || gCurrentSelectedTestType != 1)
        return;
    // The zone and cycle under way, with the speeds just measured there.
    const std::string where = ZoneProgressText();
    const int32_t zone = gTransferPosition.zone.load();
    const int32_t cycle = gTransferPosition.cycle.load();
    if (where.empty() || zone >= kMaxZoneCount || cycle < 0 || cycle >= kMaxCycleCount)
        return;
    char line[256];
    int length = std::snprintf(line, sizeof line, "Test in Progress: %s, read %.1f MB/s", where.c_str(),
                               gSavedREADResultsInfo[zone].cycleSpeedDbl[cycle]);
    if (gTransferPosition.phase.load() == TransferPhase::Write && length > 0 &&
        static_cast<std::size_t>(length) < sizeof line)
        std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length), ", write %.1f MB/s",
                      gSavedWRITEResultsInfo[zone].cycleSpeedDbl[cycle]);
    PrintProgress(line);
}

void ConsoleHost::ShowAlert(int16_t, const char* message)
{
    const std::lock_guard lock(mutex_);
    if (alert_.empty())
        alert_ = message;
}

bool ConsoleHost::WaitForFinish(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return finishedSignal_.wait_for(lock, timeout, [this] { return finished_; });
}

std::string ConsoleHost::AlertMessage() const
{
    const std::lock_guard lock(mutex_);
    return alert_;
}

std::string ConsoleHost::StaticText(int32_t controlId) const
{
    const std::lock_guard lock(mutex_);
    const auto it = texts_.find(controlId);
    return it == texts_.end() ? std::string() : it->second;
}

void ConsoleHost::ShowRandomProgress()
{
    if (!showProgress_)
        return;
    if (gCurrentSelectedTestType == 1) {
        ShowZoneUnderWay();
        return;
    }
    const uint32_t reads = gReadCountIndexU32.load();
    const uint32_t writes = gWriteCountIndexU32.load();
    char line[128];
    if (writes != 0)
        std::snprintf(line, sizeof line, "Random writes: %u of %d", writes, kRandomTransferCount);
    else if (reads != 0)
        std::snprintf(line, sizeof line, "Random reads: %u of %d", reads, kRandomTransferCount);
    else
        return;
    PrintProgress(line);
}

void ConsoleHost::ShowZoneUnderWay()
{
    // Once per transfer: a long one shows where it is while it runs.
    const TransferPhase phase = gTransferPosition.phase.load(std::memory_order_acquire);
    const int64_t shown = (static_cast<int64_t>(phase) << 40) |
                          (static_cast<int64_t>(gTransferPosition.cycle.load() + 1) << 20) |
                          gTransferPosition.zone.load();
    const std::string where = ZoneProgressText();
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
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
    progressShown_ = true;
}

void ConsoleHost::EndProgress()
{
    if (progressShown_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        progressShown_ = false;
    }
}
