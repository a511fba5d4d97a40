// The surface test on the engine's simulated drive: what it finds (a slow
// range, the exact sectors of a failing range, left unwritten, where writes
// fall off), how it ends (its time limit, a stop that still puts back the
// transfer read), its temperatures, and samples bounded on a 16 TiB drive.
#include "engine/RunObserver.h"
#include "engine/RunPreparation.h"
#include "engine/SurfaceFakeDevice.h"
#include "engine/SurfaceTest.h"
#include "engine/TestRun.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kMB = 1048576;
constexpr uint64_t kSectorsPerMB = 2048;

struct CountingObserver : RunObserver {
    void SurfaceMeasured(const TestRun&) override { ++measured; }
    int measured = 0;
};

std::unique_ptr<TestRun> SurfaceRun(uint64_t sizeBytes, uint32_t megabytes, bool writes, uint32_t minutes = 0)
{
    Run run;
    run.settings = {.kind = TestKind::Surface, .transferMegabytes = megabytes, .writes = writes, .surfaceMinutes = minutes};
    run.target.sizeBytes = sizeBytes;
    auto testRun = std::make_unique<TestRun>(run);
    EXPECT_TRUE(testRun->buffer.Allocate(TransferBufferBytesFor(run.settings)));
    return testRun;
}

TEST(SurfaceTest, FindsASlowRangeUnreadableSectorsLeftUnwrittenAndWhereWritesFallOff)
{
    FakeSurfaceDevice device;
    device.slow = {200 * kSectorsPerMB, kSectorsPerMB};
    device.failing = {600 * kSectorsPerMB + 100, 9};
    device.writesFallAfterBytes = 512 * kMB;
    const auto testRun = SurfaceRun(1024 * kMB, 1, true);
    CountingObserver observer;
    ASSERT_EQ(RunEnd::Completed, RunSurfaceTest(*testRun, observer, device));

    const SurfaceResult& s = testRun->run.surface;
    EXPECT_EQ(1024 * kSectorsPerMB, s.coveredSectors);
    EXPECT_EQ(1024u, s.samples.size());
    ASSERT_EQ(1u, s.unreadable.size());
    EXPECT_EQ(600 * kSectorsPerMB + 100, s.unreadable[0].firstSector);
    EXPECT_EQ(9u, s.unreadable[0].sectors);
    EXPECT_EQ(EIO, s.unreadable[0].errorNumber);
    EXPECT_EQ(0u, device.writesOverFailing);
    EXPECT_EQ(1023 * kMB, device.bytesWritten);  // all but the transfer that could not be read whole
    // The slow write is no slower than ten fallen writes: only the read is listed.
    ASSERT_EQ(1u, s.slowBlocks.size());
    EXPECT_EQ(200 * kSectorsPerMB, s.slowBlocks[0].firstSector);
    EXPECT_FALSE(s.slowBlocks[0].write);
    EXPECT_NEAR(20.97152, s.slowBlocks[0].milliseconds, 1e-5);
    ASSERT_TRUE(s.writeFalloff.found);
    EXPECT_EQ(512 * kSectorsPerMB, s.writeFalloff.atSector);
    EXPECT_NEAR(1e9 / kMB, s.writeFalloff.beforeSpeed, 1.0);
    EXPECT_NEAR(1e8 / kMB, s.writeFalloff.afterSpeed, 0.1);
}

TEST(SurfaceTest, EndsAtItsTimeLimitOrAtAStopThatStillPutsBackTheTransferRead)
{
    FakeSurfaceDevice device;
    device.readBytesPerSecond = 1e7;  // 1 MB in 0.105 s: the whole 1 GiB would take 107 s
    device.temperature = [start = device.NowNanoseconds()](uint64_t now) { return 40.0 + (now - start) / 1e10; };
    const auto timed = SurfaceRun(1024 * kMB, 1, false, 1);
    CountingObserver observer;
    ASSERT_EQ(RunEnd::Completed, RunSurfaceTest(*timed, observer, device));
    const SurfaceResult& s = timed->run.surface;
    EXPECT_TRUE(s.timeLimitReached);
    EXPECT_EQ(573 * kSectorsPerMB, s.coveredSectors);  // the first to begin after 60 s is not made
    EXPECT_EQ(573 / 3 + 1, observer.measured);          // every 0.25 s (three transfers), and at the end
    ASSERT_GE(s.temperatures.size(), 55u);              // once a second
    EXPECT_LE(s.temperatures.size(), 61u);
    EXPECT_NEAR(46.0, s.maximumCelsius, 0.1);

    // Stop comes as the read of the 151st transfer ends.
    FakeSurfaceDevice stopped;
    const auto run = SurfaceRun(1024 * kMB, 1, true);
    stopped.afterTransfer = [&run](uint64_t transfers) {
        if (transfers == 301)
            run->stop.Request();
    };
    ASSERT_EQ(RunEnd::Stopped, RunSurfaceTest(*run, observer, stopped));
    EXPECT_EQ(151 * kMB, stopped.bytesWritten);
    EXPECT_EQ(151 * kSectorsPerMB, run->run.surface.coveredSectors);
    EXPECT_EQ(151u, run->run.surface.samples.size());
}

TEST(SurfaceTest, SamplesOfASixteenTebibyteDriveStayWithinTheirLimit)
{
    FakeSurfaceDevice device;
    const auto testRun = SurfaceRun(16ull << 40, 64, true);
    CountingObserver observer;
    ASSERT_EQ(RunEnd::Completed, RunSurfaceTest(*testRun, observer, device));
    const std::vector<SurfaceSample>& samples = testRun->run.surface.samples;
    EXPECT_LE(samples.size(), kSurfaceFullResolutionSamples);
    EXPECT_GT(samples.size(), kSurfaceFullResolutionSamples / 2);
    uint64_t next = 0;
    uint64_t transfers = 0;
    for (const SurfaceSample& sample : samples) {
        ASSERT_EQ(next, sample.firstSector);  // back to back from the first sector to the last
        next += sample.sectors;
        transfers += sample.transfers;
    }
    EXPECT_EQ((16ull << 40) / 512, next);
    EXPECT_EQ(262144u, transfers);
}

}  // namespace
