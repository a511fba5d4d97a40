// Timed transfers: the speed formula, the transfer primitives and their
// failures, and the rounding of positions on devices with large blocks.
#include "EngineFixture.h"

#include "engine/DeviceTransfers.h"
#include "engine/TestModel.h"
#include "engine/TestSetup.h"

#include <cerrno>
#include <cstring>

namespace {

struct SpeedRow {
    uint32_t bytes;
    uint64_t nanoseconds;
    double expected;
};

TEST(SpeedFormula, ExamplesAndLimits)
{
    const SpeedRow rows[] = {
        {1048576, 10000000, 100.0},
        {4096, 1000000, 3.90625},
        {40960000, 400000000, 97.65625},
        {1048576, 0, 0.0},  // an unmeasurable time gives 0
        {511u * 1048576u, 1000000000, 511.0},
        {1, 1000, 953.0 / 1000.0},  // the shift drops the remainder before the division
        // The largest count: the 64-bit product must not overflow.
        {4294967295u, 1000000000, static_cast<double>((4294967295ull * 1000000000ull) >> 20) / 1e9},
    };
    for (const SpeedRow& row : rows)
        EXPECT_DOUBLE_EQ(row.expected, ConvertElapsedNanoSecsToMBPerSec(row.bytes, row.nanoseconds))
            << row.bytes << " bytes in " << row.nanoseconds << " ns";
}

class Transfers : public EngineFixture {};

TEST_F(Transfers, ReadAndWriteMoveWholeBlocksAtSectorOffsets)
{
    FakeDevice& d = Device(1 << 20);
    std::vector<unsigned char> buffer(4096);
    int16_t error = 0;
    ASSERT_TRUE(ReadBytesFromDevNodeLBA512(8, 4096, buffer.data(), &error));
    EXPECT_EQ(0, std::memcmp(buffer.data(), d.bytes.data() + 8 * 512, 4096));
    std::fill(buffer.begin(), buffer.end(), 0xAB);
    ASSERT_TRUE(WriteBytesToBlock512DevFile(gUnixWriteFileRef, 16, 4096, buffer.data(), &error));
    EXPECT_EQ(0xAB, d.bytes[16 * 512]);
    ASSERT_EQ(2u, d.log.size());
    EXPECT_EQ(4096u, d.log[0].offset);
    EXPECT_EQ(gUnixReadFileRef, d.log[0].fd);
    EXPECT_EQ(8192u, d.log[1].offset);
    EXPECT_EQ(gUnixWriteFileRef, d.log[1].fd);
}

TEST_F(Transfers, FailuresCarryAnErrorNumber)
{
    struct Row {
        const char* what;
        bool shortCount;
        int errnoValue;
        uint64_t sector;
        int16_t expected;
    };
    const Row rows[] = {
        {"call fails with errno", false, ENXIO, 0, ENXIO},
        {"short count, no errno", true, 0, 0, EIO},
        {"past the end of the device", false, 0, 4096, EIO},
    };
    for (const Row& row : rows) {
        FakeDevice& d = Device(1 << 20);
        if (row.sector == 0) {
            d.failAtTransfer = 0;
            d.failShort = row.shortCount;
            d.failErrno = row.errnoValue;
        }
        std::vector<unsigned char> buffer(4096);
        int16_t error = 0;
        EXPECT_FALSE(ReadBytesFromDevNodeLBA512(row.sector, 4096, buffer.data(), &error)) << row.what;
        EXPECT_EQ(row.expected, error) << row.what;
    }
}

TEST_F(Transfers, FailedMeasurementShowsTheErrorAlertAndKeepsTheSpeed)
{
    FakeDevice& d = Device(8 << 20);
    ASSERT_TRUE(PrepareStandard(1, 1, 1, false));
    d.failAtTransfer = 0;
    d.failErrno = EIO;
    double speed = 42.0;
    EXPECT_EQ(-1, DoRWSpeedMeasurement(&speed, true));
    EXPECT_EQ(42.0, speed);
    ASSERT_EQ(1u, host.alerts.size());
    EXPECT_EQ("i/o Error: Possible bad sector, connector or data cable", host.alerts[0]);

    // A short transfer names an I/O error too, never a stale number.
    d.failAtTransfer = 1;
    d.failShort = true;
    EXPECT_EQ(-1, DoRWSpeedMeasurement(&speed, true));
    ASSERT_EQ(2u, host.alerts.size());
    EXPECT_EQ(host.alerts[0], host.alerts[1]);
}

TEST_F(Transfers, MeasurementTimesOnlyTheTransfer)
{
    FakeDevice& d = Device(8 << 20);
    ASSERT_TRUE(PrepareStandard(1, 1, 1, false));
    d.elapsed = {10000000, 0};
    double speed = 0.0;
    ASSERT_EQ(0, DoRWSpeedMeasurement(&speed, true));
    EXPECT_DOUBLE_EQ(100.0, speed);
    speed = 7.0;
    ASSERT_EQ(0, DoRWSpeedMeasurement(&speed, false));
    EXPECT_EQ(0.0, speed);  // 0 ns is stored as a speed of 0
}

TEST_F(Transfers, LargeBlockDevicesGetAlignedPositions)
{
    struct Row {
        uint32_t blockBytes;
        uint64_t sector;
        uint64_t offset;
    };
    const Row rows[] = {
        {512, 7, 7 * 512},
        {4096, 7, 0},
        {4096, 8, 4096},
        {4096, 15, 4096},
        {4096, 1ull << 40, (1ull << 40) * 512},  // 64-bit positions stay exact
    };
    for (const Row& row : rows) {
        gDeviceBlockBytesU32 = row.blockBytes;
        EXPECT_EQ(row.offset, DeviceOffsetForSector(row.sector)) << row.blockBytes << "/" << row.sector;
    }
    gDeviceBlockBytesU32 = 512;
}

}  // namespace
