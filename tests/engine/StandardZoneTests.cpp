// The standard zone test on a fake device: where transfers go, how the
// records fill, how failures and stops end the test; and its timed transfers:
// the speed formula, what a measurement times and reports, and positions on
// devices with large blocks.
#include "EngineFixture.h"

#include "engine/RunExecution.h"
#include "engine/ZoneTests.h"
#include "shell/ResultPaneTexts.h"

#include <algorithm>

namespace {

constexpr uint32_t kSectorsPerMB = 2048;
const std::string kIoAlert = "i/o Error: Possible bad sector, connector or data cable";

bool AllZero(const std::vector<ZoneResult>& zones)
{
    return std::all_of(zones.begin(), zones.end(), [](const ZoneResult& zone) { return zone == ZoneResult{}; });
}

TEST(StandardZoneRules, PlacementIncrementAndSizeCheck)
{
    const struct { uint64_t zone, increment; uint64_t sector; } places[] = {
        {0, 1000000, 0},
        {1, 16381, 14328},  // 16381 − 2050 = 14331, down to a multiple of 4
        {1, 16384, 14332},
        {9, 1ull << 33, ((9ull << 33) - 2050) & ~3ull},
    };
    for (const auto& row : places)
        EXPECT_EQ(row.sector, StandardZoneTransferSector(row.zone, row.increment, kSectorsPerMB)) << row.zone;
    EXPECT_EQ(0u, StandardZoneIncrement(1000, 1));
    EXPECT_EQ(1000u, StandardZoneIncrement(1000, 2));
    EXPECT_EQ(111u, StandardZoneIncrement(1000, 10));
    const struct { uint64_t sectors; uint32_t x; int32_t zones; bool fits; } sizes[] = {
        {20480, 2048, 10, true},
        {20479, 2048, 10, false},  // the preflight's last read would end past the drive
        {1u << 30, 0, 10, false},  // an empty transfer size is refused
    };
    for (const auto& row : sizes)
        EXPECT_EQ(row.fits, DriveBigEnoughForZones(row.sectors, row.x, row.zones)) << row.sectors << " " << row.zones;
}

using StandardZone = EngineFixture;

TEST_F(StandardZone, TenZonesWithWritesPutEveryBlockBackWhereItWasRead)
{
    FakeDevice& d = Device(12ull << 20);
    const std::vector<unsigned char> before = d.bytes;
    ASSERT_TRUE(PrepareStandard(10, 2, 1, true));
    EXPECT_EQ(RunEnd::Completed, RunStandardZoneTest(*testRun, observer));
    EXPECT_EQ(before, d.bytes);
    EXPECT_EQ((std::vector<std::string>{"Test in Progress: Preflighting...", "Test in Progress: Cycle 1 of 2",
                                        "Test in Progress: Cycle 2 of 2"}),
              host.TextsOf(kStatusText));
    ASSERT_EQ(10u + 2 * 10 * 2, d.log.size());
    for (uint64_t i = 0; i < 10; ++i)
        EXPECT_EQ(i * kSectorsPerMB * 512, d.log[i].offset) << "the preflight reads the first zones × x sectors";
    // 24,576 sectors in 9 steps of 2730; zone z reads at z × 2730 − 2050, down to a multiple of 4.
    const uint64_t zoneSectors[] = {0, 680, 3408, 6140, 8868, 11600, 14328, 17060, 19788, 22520};
    for (size_t i = 10; i < d.log.size(); i += 2) {
        EXPECT_TRUE(d.log[i].isRead && !d.log[i + 1].isRead);
        EXPECT_EQ(zoneSectors[(i - 10) / 2 % 10] * 512, d.log[i].offset) << "transfer " << i;
        EXPECT_EQ(d.log[i].offset, d.log[i + 1].offset) << "write goes where the read was";
        EXPECT_EQ(testRun->writeDescriptor, d.log[i + 1].fd);
    }
    EXPECT_EQ(24570u, testRun->run.zones[9].firstSector);
    EXPECT_EQ(26617u, testRun->run.zones[9].lastSector);
    EXPECT_EQ(1 + 40, host.draws);  // the reset, then one per read and one per write record
}

TEST_F(StandardZone, OneZoneHasNoPreflightAndItsStatisticsCoverTheMeasuredCycles)
{
    Device(4 << 20);
    ASSERT_TRUE(PrepareStandard(1, 3, 1, true));
    // 1 MB at 10^9 / ns megabytes per second: reads 80, 100, 90; writes 50, 200, 50.
    device->elapsed = {12500000, 20000000, 10000000, 5000000, 11111111, 20000000};
    std::vector<ZoneSpeeds> afterEachRead;
    host.onDraw = [&] { afterEachRead.push_back(testRun->run.zones[0].read); };
    RunStandardZoneTest(*testRun, observer);
    ASSERT_EQ(6u, device->log.size()) << "one zone has no preflight";
    ASSERT_EQ(1u + 6u, afterEachRead.size());  // the reset, then each read and write
    EXPECT_EQ((ZoneSpeeds{{80.0}, 80.0, 80.0, 80.0}), afterEachRead[1]);
    const ZoneSpeeds& read = testRun->run.zones[0].read;
    EXPECT_DOUBLE_EQ(80.0, read.minimum);
    EXPECT_DOUBLE_EQ(100.0, read.maximum);
    EXPECT_NEAR(90.0, read.average, 1e-5);
    EXPECT_DOUBLE_EQ(50.0, testRun->run.zones[0].write.minimum);
    EXPECT_DOUBLE_EQ(100.0, testRun->run.zones[0].write.average);
    EXPECT_DOUBLE_EQ(200.0, testRun->run.maxSpeed);
}

// Ten zones with writes: transfers 0–9 are the preflight, then read/write pairs.
// A failure leaves no results and one alert; Stop leaves no alert and posts its stopped notice only.
TEST_F(StandardZone, FailuresAndStopEndTheTestBetweenTransfers)
{
    const struct { long failAt; bool shortCount; long stopAt; size_t made; } rows[] = {
        {3, false, -1, 4}, {10 + 2 * 4, false, -1, 19}, {10 + 20 + 2 * 6 + 1, false, -1, 44}, {10 + 20 + 1, true, -1, 32},
        {-1, false, 10 + 2 * 3, 17}};  // Stop after a read: the write does not follow
    for (const auto& row : rows) {
        SCOPED_TRACE(row.made);
        host.alerts.clear();
        host.finished = host.stopped = 0;
        FakeDevice& d = Device(12 << 20);
        const std::vector<unsigned char> before = d.bytes;
        ASSERT_TRUE(PrepareStandard(10, 3, 1, true));
        d.failAtTransfer = row.failAt;
        d.failShort = row.shortCount;
        d.stopAtTransfer = row.stopAt;
        ExecuteRun(*testRun, observer);
        const bool failed = row.stopAt < 0;
        EXPECT_EQ(row.made, d.log.size());
        EXPECT_EQ(failed, AllZero(testRun->run.zones));
        EXPECT_EQ(failed ? std::vector<std::string>{kIoAlert} : std::vector<std::string>{}, host.alerts);
        EXPECT_EQ(failed ? 1 : 0, host.finished.load());
        EXPECT_EQ(failed ? 0 : 1, host.stopped.load());
        EXPECT_EQ(failed ? RunEnd::Failed : RunEnd::Stopped, testRun->run.end) << "a failed or stopped test is not kept";
        EXPECT_EQ(before, d.bytes);
    }
}

// The timed transfers the test is made of.
TEST(SpeedFormula, ExamplesAndLimits)
{
    const struct { uint32_t bytes; uint64_t ns; double mbps; } rows[] = {
        {1048576, 10000000, 100.0}, {4096, 1000000, 3.90625}, {40960000, 400000000, 97.65625},
        {1048576, 0, 0.0},  // an unmeasurable time gives 0
        {1, 1000, 953.0 / 1000.0},  // the shift drops the remainder before the division
        {4294967295u, 1000000000, 4095.999999046},  // 4,294,967,295 × 10^9 / 2^20 = 4,095,999,999,046.3
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(row.mbps, MegabytesPerSecond(row.bytes, row.ns)) << row.bytes << "/" << row.ns;
}

TEST_F(StandardZone, MeasurementTimesOnlyTheTransferAndAFailureAlertsWithItsErrorNumber)
{
    FakeDevice& d = Device(8 << 20);
    ASSERT_TRUE(PrepareStandard(1, 1, 1, false));
    d.elapsed = {10000000, 0};
    double speed = 0.0;
    ASSERT_TRUE(MeasureTransfer(*testRun, observer, TransferPhase::Read, 0, &speed));
    EXPECT_DOUBLE_EQ(100.0, speed);
    ASSERT_TRUE(MeasureTransfer(*testRun, observer, TransferPhase::Write, 0, &speed));
    EXPECT_EQ(0.0, speed);  // 0 ns is stored as a speed of 0
    // The kernel's error number; a short count without one, or nothing moved past the end, is an I/O error.
    const struct { bool shortCount; int errnoValue; uint64_t sector; int16_t expected; } rows[] = {
        {false, ENXIO, 0, ENXIO}, {true, 0, 0, EIO}, {false, 0, 16384, EIO}};
    for (const auto& row : rows) {
        d.failAtTransfer = row.sector == 0 ? static_cast<long>(d.log.size()) : -1;
        d.failShort = row.shortCount;
        d.failErrno = row.errnoValue;
        speed = 42.0;
        EXPECT_FALSE(MeasureTransfer(*testRun, observer, TransferPhase::Read, row.sector, &speed));
        EXPECT_EQ(42.0, speed) << "a failed measurement keeps the speed";
        EXPECT_EQ(row.expected, testRun->run.failure->errorNumber) << row.sector << " " << row.shortCount;
        EXPECT_EQ(row.expected, testRun->progress.position.errorNumber.load());
    }
}

TEST(DevicePositions, LargeBlockDevicesGetAlignedPositions)
{
    const struct { uint32_t block; uint64_t sector, offset; } rows[] = {
        {512, 7, 3584}, {4096, 7, 0}, {4096, 8, 4096}, {4096, 15, 4096}, {4096, 1ull << 40, 562949953421312}};
    for (const auto& row : rows)
        EXPECT_EQ(row.offset, DeviceOffsetForSector(row.sector, row.block)) << row.block << "/" << row.sector;
}

}  // namespace
