// Timed transfers: the speed formula, what a measurement times and reports,
// and the rounding of positions on devices with large blocks.
#include "EngineFixture.h"

#include "engine/TestModel.h"
#include "engine/WorkerBridge.h"

namespace {

TEST(SpeedFormula, ExamplesAndLimits)
{
    const struct { uint32_t bytes; uint64_t ns; double mbps; } rows[] = {
        {1048576, 10000000, 100.0}, {4096, 1000000, 3.90625}, {40960000, 400000000, 97.65625},
        {1048576, 0, 0.0},  // an unmeasurable time gives 0
        {1, 1000, 953.0 / 1000.0},  // the shift drops the remainder before the division
        {4294967295u, 1000000000, static_cast<double>((4294967295ull * 1000000000ull) >> 20) / 1e9},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(row.mbps, ConvertElapsedNanoSecsToMBPerSec(row.bytes, row.ns)) << row.bytes << "/" << row.ns;
}

using Transfers = EngineFixture;

TEST_F(Transfers, MeasurementTimesOnlyTheTransferAndAFailureAlertsWithItsErrorNumber)
{
    FakeDevice& d = Device(8 << 20);
    ASSERT_TRUE(PrepareStandard(1, 1, 1, false));
    gCurrentSectorU64 = 0;
    d.elapsed = {10000000, 0};
    double speed = 0.0;
    ASSERT_EQ(0, DoRWSpeedMeasurement(&speed, true));
    EXPECT_DOUBLE_EQ(100.0, speed);
    ASSERT_EQ(0, DoRWSpeedMeasurement(&speed, false));
    EXPECT_EQ(0.0, speed);  // 0 ns is stored as a speed of 0
    // The kernel's error number; a short count without one, or nothing moved past the end, is an I/O error.
    const struct { bool shortCount; int errnoValue; uint64_t sector; int16_t expected; } rows[] = {
        {false, ENXIO, 0, ENXIO}, {true, 0, 0, EIO}, {false, 0, 16384, EIO}};
    for (const auto& row : rows) {
        d.failAtTransfer = row.sector == 0 ? static_cast<long>(d.log.size()) : -1;
        d.failShort = row.shortCount;
        d.failErrno = row.errnoValue;
        gCurrentSectorU64 = row.sector;
        speed = 42.0;
        EXPECT_EQ(-1, DoRWSpeedMeasurement(&speed, true));
        EXPECT_EQ(42.0, speed) << "a failed measurement keeps the speed";
        EXPECT_EQ(row.expected, gMPAlertInfo.errorNumber) << row.sector << " " << row.shortCount;
    }
    EXPECT_EQ(3u, host.alerts.size());
}

TEST_F(Transfers, LargeBlockDevicesGetAlignedPositions)
{
    const struct { uint32_t block; uint64_t sector, offset; } rows[] = {
        {512, 7, 7 * 512}, {4096, 7, 0}, {4096, 8, 4096}, {4096, 15, 4096}, {4096, 1ull << 40, (1ull << 40) * 512}};
    for (const auto& row : rows) {
        gDeviceBlockBytesU32 = row.block;
        EXPECT_EQ(row.offset, DeviceOffsetForSector(row.sector)) << row.block << "/" << row.sector;
    }
}

}  // namespace
