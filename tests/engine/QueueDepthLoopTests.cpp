// The random test at queue depth 32 on a patterned loop device: where every
// transfer goes, what a failed completion or Stop leaves behind, and that
// the device ends as it was. Whole runs at this depth with writes are the
// CLI's (LoopDeviceTests).
#include "EngineFixture.h"
#include "LoopDevice.h"

#include "engine/DeviceTransfers.h"
#include "engine/QueuedTransfers.h"
#include "engine/RunPreparation.h"
#include "engine/ZoneTests.h"
#include "shell/ResultPaneTexts.h"

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
    bool failShort = false;  // ... or half past the device's end, where only half of it is read
    int queueDelayMicroseconds = 0;
    size_t mostInFlight = 0;
    bool clockReadBeforeRingSetUp = false;
};
QueueLog gLog;

// True when this process holds an io_uring with a registered buffer.
bool RingWithRegisteredBufferOpen()
{
    // Only a ring's descriptor information has a UserBufs line.
    return RunCommand("grep -qsE '^UserBufs:\\s*[1-9]' /proc/" + std::to_string(getpid()) + "/fdinfo/*") == 0;
}

// Before the first transfer is queued the batch's clock may only start once its ring is ready.
uint64_t ClockSeeingTheRing()
{
    if (gLog.queued[0].empty() && !RingWithRegisteredBufferOpen())
        gLog.clockReadBeforeRingSetUp = true;
    return MonotonicNanoseconds();
}

uint64_t RecordQueued(uint32_t index, bool isRead, uint64_t offset)
{
    const int phase = isRead ? 0 : 1;
    gLog.queued[phase].push_back({index, offset});
    gLog.mostInFlight = std::max(gLog.mostInFlight, gLog.queued[phase].size() - gLog.reaped[phase].size());
    if (gLog.queueDelayMicroseconds > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(gLog.queueDelayMicroseconds));
    if (phase != gLog.failPhase || index != gLog.failIndex)
        return offset;
    // Off the sector grid the kernel refuses direct I/O (EINVAL); half past the end half is read.
    return gLog.failShort ? kDeviceBytes - kRandomTransferBytes / 2 : offset + 1;
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
        SKIP_WITHOUT_LOOP_DEVICES();
        if (!QueuedTransfersAvailable())
            GTEST_SKIP() << "io_uring is not available here";
        gLog = QueueLog{};
        gQueuedTransferCalls.queued = RecordQueued;
        gQueuedTransferCalls.completed = RecordReaped;
        loop = std::make_unique<LoopDevice>(kDeviceBytes, "--direct-io=on");
        ASSERT_TRUE(loop->attached()) << loop->error();
        ASSERT_TRUE(loop->FillWithPattern());
        before = loop->Checksum();

        LaunchTarget target;
        target.devicePath = loop->node();
        PreparedRun prepared = PrepareRun(target, {.kind = TestKind::Random, .queueDepth = kDepth, .writes = true}, {});
        ASSERT_TRUE(prepared.run) << prepared.refusal->detail;
        queued = std::move(prepared.run);
    }
    void TearDown() override
    {
        queued.reset();
        RestoreDefaultQueuedTransferCalls();
        RestoreDefaultTransferCalls();
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

    // Whole runs through the random test, on the same prepared run each time.
    RunEnd RunRandom() { return RunRandomZoneTest(*queued, observer); }

    std::unique_ptr<LoopDevice> loop;
    std::string before;
    std::unique_ptr<TestRun> queued;
};

TEST_F(QueueDepthOnLoopDevice, FailuresAndStopReapEverythingInFlightAndEndThePhase)
{
    // A short read, a refused read, then a refused write.
    for (const auto& [failPhase, failShort] : {std::pair{0, true}, {0, false}, {1, false}}) {
        SCOPED_TRACE(failPhase == 0 ? (failShort ? "short read" : "read fails") : "write fails");
        gLog = QueueLog{};
        gLog.failPhase = failPhase;
        gLog.failShort = failShort;
        gLog.failIndex = 5000;
        EXPECT_EQ(RunEnd::Failed, RunRandom());
        const RandomResult& random = queued->run.random;
        const TransferPosition& position = queued->progress.position;
        EXPECT_TRUE(host.alerts.empty());
        EXPECT_EQ(0.0, failPhase == 0 ? random.readSpeed : random.writeSpeed);
        // The failure is told as at depth 1: the transfer, its sector and the error.
        EXPECT_EQ(failPhase == 0 ? TransferPhase::Read : TransferPhase::Write, position.phase.load());
        EXPECT_EQ(5000, position.transfer.load());
        EXPECT_EQ(queued->sectorTable[5000], position.sector.load());
        EXPECT_EQ(failShort ? EIO : EINVAL, position.errorNumber.load());
        const std::vector<Queued>& failing = gLog.queued[failPhase];
        // Nothing is queued after the failure has been seen, so at most a queue's worth beyond it.
        EXPECT_LE(failing.size(), size_t{gLog.failIndex + 1 + kDepth});
        ExpectEverythingReaped(failPhase);
        EXPECT_EQ(failing.size() - 1,
                  (failPhase == 0 ? queued->progress.randomReads : queued->progress.randomWrites).load())
            << "the counter holds the good completions";
        // After a failed read phase no write phase; after a failed write phase the reads stand.
        EXPECT_EQ(failPhase == 0, gLog.queued[1].empty());
        EXPECT_EQ(failPhase == 1, random.readSpeed > 0.0);
    }
    // The complete read phase before the failed writes: every transfer queued in table order at its
    // offset and reaped once.
    ASSERT_EQ(static_cast<size_t>(kRandomTransferCount), gLog.queued[0].size());
    for (uint32_t i = 0; i < kRandomTransferCount; ++i) {
        ASSERT_EQ(i, gLog.queued[0][i].index);
        ASSERT_EQ(queued->sectorTable[i] * 512, gLog.queued[0][i].offset) << "transfer " << i;
    }
    ExpectEverythingReaped(0);
    EXPECT_EQ(kDepth, queued->run.random.queueDepth);
    EXPECT_EQ("", QueueDepthLimitNote(queued->run));
    // Never more in flight than the depth covers, so the latency adds up to at most the depth
    // times the time between completions.
    const TransferLatency& latency = queued->run.random.readLatency;
    EXPECT_LT(0.0, latency.meanMicroseconds);
    EXPECT_LE(latency.meanMicroseconds, latency.p99Microseconds);
    EXPECT_LE(latency.meanMicroseconds, 1.01 * kDepth * RandomMicrosecondsPerTransfer(queued->run.random.readSpeed));

    // Stop during a read batch that would take over 5 seconds returns promptly.
    gLog = QueueLog{};
    gLog.queueDelayMicroseconds = 500;
    std::thread worker([this] { EXPECT_EQ(RunEnd::Stopped, RunRandom()); });
    while (queued->progress.randomReads.load() < 200)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto stopAt = std::chrono::steady_clock::now();
    queued->stop.Request();
    worker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - stopAt, std::chrono::seconds(1));
    EXPECT_LT(gLog.queued[0].size(), size_t{kRandomTransferCount});
    EXPECT_TRUE(gLog.queued[1].empty());
    ExpectEverythingReaped(0);
}

// The clock starts once the ring is set up; a depth above what the device takes at once runs
// at the device's limit, and says so.
TEST_F(QueueDepthOnLoopDevice, DepthAboveTheDeviceLimitRunsAtTheLimitTimedFromAReadyRing)
{
    // The loop device keeps the limit after it is detached: the old one is put back (no assertion comes between).
    const std::string limit = "/sys/block/" + loop->node().substr(5) + "/queue/nr_requests";
    std::string original;
    ASSERT_EQ(0, RunCommand("cat " + limit + " && echo 16 > " + limit, &original));
    gTransferCalls.upTime = ClockSeeingTheRing;
    queued->run.settings.writes = false;
    RunRandom();
    RunCommand("echo " + std::to_string(std::stoi(original)) + " > " + limit);

    EXPECT_FALSE(gLog.clockReadBeforeRingSetUp);
    EXPECT_EQ(size_t{kRandomTransferCount}, gLog.reaped[0].size());
    EXPECT_EQ(16u, queued->run.random.queueDepth);
    EXPECT_EQ(16u, gLog.mostInFlight);
    EXPECT_EQ("queue depth 32 asked; the device takes at most 16 requests at once (queue/nr_requests), "
              "so the test ran at queue depth 16",
              QueueDepthLimitNote(queued->run));
    EXPECT_EQ("Queue depth: 16 (32 asked; the device's limit)", host.LastTexts().at(kQueueDepthText));
}

}  // namespace

// The options sheet's nine depths, 1 to 256, and the depths refused.
TEST(QueueDepthChoices, TheNinePopupItemsAreThePowersOfTwoFromOneTo256)
{
    EXPECT_EQ(QueueDepthForPopupItem(1), 1u);
    EXPECT_EQ(QueueDepthForPopupItem(4), 8u);
    EXPECT_EQ(QueueDepthForPopupItem(9), 256u);
    EXPECT_EQ(QueueDepthForPopupItem(10), 1u);
    EXPECT_EQ(PopupItemForQueueDepth(256), 9);
    EXPECT_EQ(PopupItemForQueueDepth(512), 1);
    for (const uint32_t refused : {0u, 3u, 255u, 512u})
        EXPECT_FALSE(IsSupportedQueueDepth(refused)) << refused;
}
