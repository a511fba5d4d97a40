#include "engine/DeviceTransfers.h"
#include "engine/DriveWatch.h"
#include "engine/QueuedTransfers.h"
#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "engine/TransferPosition.h"
#include "engine/WorkerBridge.h"
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
enum class Phase { Completed, Failed, Stopped };

struct PhaseControls {
    int32_t speedText;
    int32_t unitText;
    int32_t rateText;
    int32_t timeText;
};

void ShowPhaseResult(double speed, const PhaseControls& controls)
{
    const RandomSpeedTexts texts = FormatRandomSpeed(speed);
    RequestStatusText(controls.speedText, texts.value);
    RequestStatusText(controls.unitText, texts.unit);
    RequestStatusText(controls.rateText, texts.perSecond);
    RequestStatusText(controls.timeText, (std::string(texts.perTransfer) + " per transfer").c_str());
}

// The 10,000 transfers one at a time, timed as a whole.
template <typename Transfer>
Phase RunOneByOne(TransferPhase direction, std::atomic<uint32_t>& counter, uint64_t* t0, uint64_t* t1,
                  Transfer transfer)
{
    unsigned char* slot = myIOBuffer;
    *t0 = TransferClockNanoseconds();
    counter.store(0, std::memory_order_relaxed);
    for (uint32_t i = 0; i < kRandomTransferCount; ++i) {
        if (TestStopRequested())
            return Phase::Stopped;
        SetRandomTransferPosition(direction, static_cast<int32_t>(i), gSectorTableU64[i]);
        int16_t error = 0;
        if (!transfer(gSectorTableU64[i], slot, &error)) {
            RecordTransferFailure(error);
            return Phase::Failed;
        }
        counter.store(i + 1, std::memory_order_relaxed);
        slot += kRandomTransferBytes;
    }
    *t1 = TransferClockNanoseconds();
    return Phase::Completed;
}

Phase RunQueued(bool isRead, std::atomic<uint32_t>& counter, uint64_t* t0, uint64_t* t1, TransferLatency* latency)
{
    switch (RunQueuedTransfers(isRead, gSavedRandomQueueDepthU32, counter, t0, t1, latency)) {
    case QueuedBatchEnd::Completed:
        return Phase::Completed;
    case QueuedBatchEnd::Stopped:
        return Phase::Stopped;
    case QueuedBatchEnd::Failed:
        break;
    }
    return Phase::Failed;
}

// One batch of 10,000 transfers, timed as a whole: one at a time at queue
// depth 1, else through the queue. Slot i of the buffer holds the block of
// transfer i, so a write batch puts every block back where the read batch
// found it.
template <typename Transfer>
Phase RunBatch(TransferPhase direction, std::atomic<uint32_t>& counter, std::atomic<double>& startTime,
               double& result, TransferLatency& latency, Transfer transfer)
{
    startTime.store(AbsoluteTimeNow());
    uint64_t t0 = 0;
    uint64_t t1 = 0;
    TransferLatency measured;
    const Phase transfers = gSavedRandomQueueDepthU32 > 1
        ? RunQueued(direction == TransferPhase::Read, counter, &t0, &t1, &measured)
        : RunOneByOne(direction, counter, &t0, &t1, transfer);
    if (transfers != Phase::Completed)
        return transfers;
    // The progress display keeps showing the full count during this pause.
    MyMPDelayMilliSeconds(1000);
    if (TestStopRequested())
        return Phase::Stopped;
    counter.store(0, std::memory_order_relaxed);
    result = ConvertElapsedNanoSecsToMBPerSec(gXFerBytesU32 * kRandomTransferCount, t1 - t0);
    latency = measured;
    return Phase::Completed;
}
}  // namespace

void DoRandomZoneTestMP()
{
    RequestStatusText(kReadSpeedText, " ");
    RequestStatusText(kWriteSpeedText, " ");
    gSavedRandomAskedQueueDepthU32 = gRandomQueueDepthU32;
    gSavedRandomQueueDepthU32 = EffectiveQueueDepth(gRandomQueueDepthU32, gUnixReadFileRef);
    gSavedRandomReadLatency = gSavedRandomWriteLatency = TransferLatency{};
    std::string depthText = "Queue depth: " + std::to_string(gSavedRandomQueueDepthU32);
    if (gSavedRandomQueueDepthU32 < gRandomQueueDepthU32)
        depthText += " (" + std::to_string(gRandomQueueDepthU32) + " asked; the device's limit)";
    RequestStatusText(kQueueDepthText, depthText.c_str());
    BuildRandomSectorTable(gDriveSectorsU64, gSectorTableU64);
    ResetTransferPosition();

    const uint32_t bytes = gXFerBytesU32;
    RequestStatusText(kStatusText, "Test in Progress: Random Reads\u2026");
    Phase phase = RunBatch(TransferPhase::Read, gReadCountIndexU32, gRandomReadsStartTime, gSavedRandomReadSpeedDbl,
                           gSavedRandomReadLatency, [bytes](uint64_t sector, unsigned char* slot, int16_t* error) {
                               return ReadBytesFromDevNodeLBA512(sector, bytes, slot, error);
                           });
    if (phase == Phase::Stopped)
        return;
    if (phase == Phase::Completed) {
        ShowPhaseResult(gSavedRandomReadSpeedDbl, {kReadSpeedText, kReadUnitText, kReadRateText, kReadTimeText});
        if (gWriteTestEnabled && DriveWatchStopsTest()) {
            phase = Phase::Failed;
        } else if (gWriteTestEnabled) {
            const int32_t fd = gUnixWriteFileRef;
            RequestStatusText(kStatusText, "Test in Progress: Random Writes\u2026");
            phase = RunBatch(TransferPhase::Write, gWriteCountIndexU32, gRandomWritesStartTime, gSavedRandomWriteSpeedDbl,
                             gSavedRandomWriteLatency, [fd, bytes](uint64_t sector, unsigned char* slot, int16_t* error) {
                                 return WriteBytesToBlock512DevFile(fd, sector, bytes, slot, error);
                             });
            if (phase == Phase::Stopped)
                return;
            if (phase == Phase::Completed)
                ShowPhaseResult(gSavedRandomWriteSpeedDbl,
                                {kWriteSpeedText, kWriteUnitText, kWriteRateText, kWriteTimeText});
        }
    }
    FinishTestMP(phase == Phase::Completed);
}
