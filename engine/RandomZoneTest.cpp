#include "engine/DeviceTransfers.h"
#include "engine/QueuedTransfers.h"
#include "engine/RunObserver.h"
#include "engine/TestRun.h"
#include "engine/ZoneTests.h"

#include <cstdio>
#include <string>

void BuildRandomSectorTable(uint64_t driveSectors, uint64_t* table)
{
    const uint64_t last = (driveSectors & ~uint64_t{15}) - 8;
    const uint64_t step = last / kRandomTransferCount;
    for (int i = 0; i < kRandomTransferCount; ++i) {
        const uint64_t sector = (i % 2 == 0) ? step * static_cast<uint64_t>(i) : last - table[i - 1];
        table[i] = sector & ~uint64_t{7};
    }
}

uint32_t RandomTransfersPerSecond(double megabytesPerSecond)
{
    const double perSecond = megabytesPerSecond * 1024.0 * 0.25;
    if (!(perSecond > 0.0))
        return 0;
    if (perSecond >= 4294967295.0)
        return 4294967295u;
    return static_cast<uint32_t>(perSecond);
}

RandomSpeedTexts FormatRandomSpeed(double v)
{
    RandomSpeedTexts texts{};
    if (v > 1.0) {
        std::snprintf(texts.value, sizeof texts.value, "%.3f", v);
        texts.unit = "MB per Second";
    } else {
        std::snprintf(texts.value, sizeof texts.value, "%.0f", v * 1024.0);
        texts.unit = "KB per Second";
    }
    std::snprintf(texts.perSecond, sizeof texts.perSecond, "%lu",
                  static_cast<unsigned long>(RandomTransfersPerSecond(v)));
    const double microseconds = RandomMicrosecondsPerTransfer(v);
    if (microseconds <= 0.0)
        texts.perTransfer[0] = '\0';
    else if (microseconds < 1000.0)
        std::snprintf(texts.perTransfer, sizeof texts.perTransfer, "%.1f \u00b5s", microseconds);
    else
        std::snprintf(texts.perTransfer, sizeof texts.perTransfer, "%.2f ms", microseconds / 1000.0);
    return texts;
}

double RandomMicrosecondsPerTransfer(double megabytesPerSecond)
{
    const double perSecond = megabytesPerSecond * 1024.0 * 0.25;
    return perSecond > 0.0 ? 1e6 / perSecond : 0.0;
}

namespace {
// The 10,000 transfers one at a time, timed as a whole.
RunEnd RunOneByOne(TestRun& testRun, TransferPhase direction, std::atomic<uint32_t>& counter, uint64_t* t0,
                   uint64_t* t1)
{
    const bool isRead = direction == TransferPhase::Read;
    unsigned char* slot = testRun.buffer.data();
    *t0 = TransferClockNanoseconds();
    counter.store(0, std::memory_order_relaxed);
    for (uint32_t i = 0; i < kRandomTransferCount; ++i) {
        if (testRun.stop.Requested())
            return RunEnd::Stopped;
        const uint64_t sector = testRun.sectorTable[i];
        testRun.progress.position.SetRandom(direction, static_cast<int32_t>(i), sector);
        int error = 0;
        if (!TransferAtSector(testRun, isRead, sector, kRandomTransferBytes, slot, &error)) {
            RecordTransferFailure(testRun, error);
            return RunEnd::Failed;
        }
        counter.store(i + 1, std::memory_order_relaxed);
        slot += kRandomTransferBytes;
    }
    *t1 = TransferClockNanoseconds();
    return RunEnd::Completed;
}

RunEnd RunQueued(TestRun& testRun, TransferPhase direction, std::atomic<uint32_t>& counter, uint64_t* t0,
                 uint64_t* t1, TransferLatency* latency)
{
    switch (RunQueuedTransfers(testRun, direction == TransferPhase::Read, counter, t0, t1, latency)) {
    case QueuedBatchEnd::Completed:
        return RunEnd::Completed;
    case QueuedBatchEnd::Stopped:
        return RunEnd::Stopped;
    case QueuedBatchEnd::Failed:
        break;
    }
    return RunEnd::Failed;
}

// One batch of 10,000 transfers, timed as a whole: one at a time at queue
// depth 1, else through the queue. Slot i of the buffer holds the block of
// transfer i, so a write batch puts every block back where the read batch
// found it.
RunEnd RunBatch(TestRun& testRun, RunObserver& observer, TransferPhase direction)
{
    const bool isRead = direction == TransferPhase::Read;
    RunProgress& progress = testRun.progress;
    std::atomic<uint32_t>& counter = isRead ? progress.randomReads : progress.randomWrites;
    (isRead ? progress.readsStarted : progress.writesStarted).store(WallClockSeconds());
    observer.PhaseStarted(testRun, isRead ? RunPhase::RandomReads : RunPhase::RandomWrites, -1);
    uint64_t t0 = 0;
    uint64_t t1 = 0;
    TransferLatency measured;
    const RunEnd transfers = testRun.run.random.queueDepth > 1
        ? RunQueued(testRun, direction, counter, &t0, &t1, &measured)
        : RunOneByOne(testRun, direction, counter, &t0, &t1);
    if (transfers != RunEnd::Completed)
        return transfers;
    // The progress display keeps showing the full count during this pause.
    testRun.stop.SleepUntil(MonotonicNanoseconds() + 1'000'000'000ull);
    if (testRun.stop.Requested())
        return RunEnd::Stopped;
    counter.store(0, std::memory_order_relaxed);
    RandomResult& result = testRun.run.random;
    const double speed = MegabytesPerSecond(uint64_t{kRandomTransferBytes} * kRandomTransferCount, t1 - t0);
    (isRead ? result.readSpeed : result.writeSpeed) = speed;
    (isRead ? result.readLatency : result.writeLatency) = measured;
    observer.RandomMeasured(testRun, direction);
    return RunEnd::Completed;
}
}  // namespace

RunEnd RunRandomZoneTest(TestRun& testRun, RunObserver& observer)
{
    Run& run = testRun.run;
    run.random = RandomResult{};
    run.random.queueDepth = EffectiveQueueDepth(run.settings.queueDepth, testRun.readDescriptor);
    testRun.sectorTable.resize(kRandomTransferCount);
    BuildRandomSectorTable(run.target.Sectors(), testRun.sectorTable.data());
    testRun.progress.position.Reset();
    observer.Started(testRun);

    RunEnd end = RunBatch(testRun, observer, TransferPhase::Read);
    if (end != RunEnd::Completed || !run.settings.writes)
        return end;
    if (std::string users = testRun.watch.NewUsers(); !users.empty()) {
        run.failure = RunFailure{std::move(users), "write", -1, -1, 0, 0};
        return RunEnd::Failed;
    }
    return RunBatch(testRun, observer, TransferPhase::Write);
}
