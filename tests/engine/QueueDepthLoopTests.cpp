// The random test at queue depth 32 on a patterned loop device: where every
// transfer goes, what a failed completion or Stop leaves behind, and that
// the device ends as it was. Whole runs at this depth with writes are the
// CLI's (LoopDeviceTests).
#include "EngineFixture.h"
#include "LoopDevice.h"

#include "engine/QueuedTransfers.h"
#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TestSetup.h"
#include "engine/TransferPosition.h"
#include "engine/TransferBuffer.h"
#include "engine/ZoneTests.h"
#include "platform/RawDevice.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr uint64_t kDeviceBytes = 64ull << 20;
constexpr uint32_t kDepth = 32;

struct Queued {
    uint32_t index;
    uint64_t offset;
};

// What the batches queued and reaped, per phase (0 reads, 1 writes).
struct QueueLog {
    std::vector<Queued> queued[2];
    std::vector<uint32_t> reaped[2];
    int failPhase = -1;  // this phase's transfer failIndex is moved off the block grid
    uint32_t failIndex = 0;
    int queueDelayMicroseconds = 0;
};
QueueLog gLog;

uint64_t RecordQueued(uint32_t index, bool isRead, uint64_t offset)
{
    const int phase = isRead ? 0 : 1;
    gLog.queued[phase].push_back({index, offset});
    if (gLog.queueDelayMicroseconds > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(gLog.queueDelayMicroseconds));
    // Direct I/O at an offset off the sector grid: the kernel refuses it (EINVAL).
    return phase == gLog.failPhase && index == gLog.failIndex ? offset + 1 : offset;
}

void RecordReaped(uint32_t index, bool isRead, int32_t)
{
    gLog.reaped[isRead ? 0 : 1].push_back(index);
}

class QueueDepthOnLoopDevice : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        if (const std::string reason = LoopDevicesUnavailableReason(); !reason.empty())
            GTEST_SKIP() << reason;
        if (!QueuedTransfersAvailable())
            GTEST_SKIP() << "io_uring is not available here";
        gLog = QueueLog{};
        gQueuedTransferCalls.queued = RecordQueued;
        gQueuedTransferCalls.completed = RecordReaped;
        loop = std::make_unique<LoopDevice>(kDeviceBytes, "--direct-io=on");
        ASSERT_TRUE(loop->attached()) << loop->error();
        ASSERT_TRUE(loop->FillWithPattern());
        before = loop->Checksum();

        int error = 0;
        gUnixReadFileRef = OpenRawForReading(loop->node().c_str(), &error);
        gUnixWriteFileRef = OpenRawForWriting(loop->node().c_str(), &error);
        ASSERT_TRUE(gUnixReadFileRef > 0 && gUnixWriteFileRef > 0) << error;
        ApplyTargetSize(kDeviceBytes);
        ApplyRandomTestSettings(kDepth);
        gWriteTestEnabled = true;
        ASSERT_TRUE(AllocateTransferBuffer(RequiredTransferBufferBytes()));
    }
    void TearDown() override
    {
        CloseRawDescriptor(&gUnixReadFileRef);
        CloseRawDescriptor(&gUnixWriteFileRef);
        RestoreDefaultQueuedTransferCalls();
        if (loop && !before.empty()) {
            EXPECT_EQ(before, loop->Checksum()) << "the device's data changed";
        }
        EngineFixture::TearDown();
    }

    // Every transfer a phase queued was reaped exactly once.
    static void ExpectEverythingReaped(int phase)
    {
        std::vector<uint32_t> queued, reaped = gLog.reaped[phase];
        for (const Queued& q : gLog.queued[phase])
            queued.push_back(q.index);
        std::ranges::sort(queued);
        std::ranges::sort(reaped);
        EXPECT_EQ(queued, reaped) << "phase " << phase;
    }

    std::unique_ptr<LoopDevice> loop;
    std::string before;
};

TEST_F(QueueDepthOnLoopDevice, FailuresAndStopReapEverythingInFlightAndEndThePhase)
{
    for (const int failPhase : {0, 1}) {  // the read, then the write phase fails
        SCOPED_TRACE(failPhase == 0 ? "read fails" : "write fails");
        gLog = QueueLog{};
        gLog.failPhase = failPhase;
        gLog.failIndex = 5000;
        host.finished = 0;
        gSavedRandomReadSpeedDbl = gSavedRandomWriteSpeedDbl = 0.0;
        DoRandomZoneTestMP();

        EXPECT_EQ(1, host.finished.load());
        EXPECT_TRUE(host.alerts.empty());
        EXPECT_EQ(0.0, failPhase == 0 ? gSavedRandomReadSpeedDbl : gSavedRandomWriteSpeedDbl);
        // The failure is told as at depth 1: the transfer, its sector and the error.
        EXPECT_EQ(failPhase == 0 ? TransferPhase::Read : TransferPhase::Write, gTransferPosition.phase.load());
        EXPECT_EQ(5000, gTransferPosition.transfer.load());
        EXPECT_EQ(gSectorTableU64[5000], gTransferPosition.sector.load());
        EXPECT_EQ(EINVAL, gTransferPosition.errorNumber.load());
        const std::vector<Queued>& failing = gLog.queued[failPhase];
        // Nothing is queued after the failure has been seen, so at most a queue's worth beyond it.
        EXPECT_LE(failing.size(), size_t{gLog.failIndex + 1 + kDepth});
        ExpectEverythingReaped(failPhase);
        EXPECT_EQ(failing.size() - 1, (failPhase == 0 ? gReadCountIndexU32 : gWriteCountIndexU32).load())
            << "the counter holds the good completions";
        // After a failed read phase no write phase; after a failed write phase the reads stand.
        EXPECT_EQ(failPhase == 0, gLog.queued[1].empty());
        EXPECT_EQ(failPhase == 1, gSavedRandomReadSpeedDbl > 0.0);
    }
    // The complete read phase before the failed writes: every transfer queued in table order at its
    // offset and reaped once.
    ASSERT_EQ(static_cast<size_t>(kRandomTransferCount), gLog.queued[0].size());
    for (uint32_t i = 0; i < kRandomTransferCount; ++i) {
        ASSERT_EQ(i, gLog.queued[0][i].index);
        ASSERT_EQ(gSectorTableU64[i] * 512, gLog.queued[0][i].offset) << "transfer " << i;
    }
    ExpectEverythingReaped(0);
    EXPECT_EQ(kDepth, gSavedRandomQueueDepthU32);

    // Stop during a read batch that would take over 5 seconds returns promptly.
    gLog = QueueLog{};
    gLog.queueDelayMicroseconds = 500;
    host.finished = 0;
    gReadCountIndexU32 = 0;
    std::thread worker([] { DoRandomZoneTestMP(); });
    while (gReadCountIndexU32.load() < 200)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto stopAt = std::chrono::steady_clock::now();
    RequestTestStop();
    worker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - stopAt, std::chrono::seconds(1));
    EXPECT_EQ(0, host.finished.load());
    EXPECT_LT(gLog.queued[0].size(), size_t{kRandomTransferCount});
    EXPECT_TRUE(gLog.queued[1].empty());
    ExpectEverythingReaped(0);
}

}  // namespace
