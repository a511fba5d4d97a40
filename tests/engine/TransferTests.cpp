// Timed transfers: the speed formula, the transfer primitives and their
// failures, and the rounding of positions on devices with large blocks.
#include "EngineFixture.h"

#include "engine/DeviceTransfers.h"
#include "engine/TestModel.h"

#include <cerrno>
#include <cstring>

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

class Transfers : public EngineFixture {};

TEST_F(Transfers, ReadAndWriteUseTheirOwnDescriptorAtSectorOffsets)
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
    EXPECT_EQ((std::pair<uint64_t, int>(4096, gUnixReadFileRef)), std::make_pair(d.log[0].offset, d.log[0].fd));
    EXPECT_EQ((std::pair<uint64_t, int>(8192, gUnixWriteFileRef)), std::make_pair(d.log[1].offset, d.log[1].fd));
}

TEST_F(Transfers, FailuresCarryAnErrorNumber)
{
    const struct { bool shortCount; int errnoValue; uint64_t sector; int16_t expected; } rows[] = {
        {false, ENXIO, 0, ENXIO}, {true, 0, 0, EIO}, {false, 0, 4096, EIO} /* past the end */};
    for (const auto& row : rows) {
        FakeDevice& d = Device(1 << 20);
        if (row.sector == 0) {
            d.failAtTransfer = 0;
            d.failShort = row.shortCount;
            d.failErrno = row.errnoValue;
        }
        std::vector<unsigned char> buffer(4096);
        int16_t error = 0;
        EXPECT_FALSE(ReadBytesFromDevNodeLBA512(row.sector, 4096, buffer.data(), &error));
        EXPECT_EQ(row.expected, error) << row.sector << " " << row.shortCount;
    }
}

TEST_F(Transfers, MeasurementTimesOnlyTheTransferAndAFailureAlertsAndKeepsTheSpeed)
{
    FakeDevice& d = Device(8 << 20);
    ASSERT_TRUE(PrepareStandard(1, 1, 1, false));
    d.elapsed = {10000000, 0};
    double speed = 0.0;
    ASSERT_EQ(0, DoRWSpeedMeasurement(&speed, true));
    EXPECT_DOUBLE_EQ(100.0, speed);
    ASSERT_EQ(0, DoRWSpeedMeasurement(&speed, false));
    EXPECT_EQ(0.0, speed);  // 0 ns is stored as a speed of 0
    for (const bool shortCount : {false, true}) {  // a short transfer names an I/O error too
        d.failAtTransfer = static_cast<long>(d.log.size());
        d.failShort = shortCount;
        d.failErrno = EIO;
        speed = 42.0;
        EXPECT_EQ(-1, DoRWSpeedMeasurement(&speed, true));
        EXPECT_EQ(42.0, speed);
    }
    EXPECT_EQ(std::vector<std::string>(2, "i/o Error: Possible bad sector, connector or data cable"), host.alerts);
}

TEST_F(Transfers, LargeBlockDevicesGetAlignedPositions)
{
    const struct { uint32_t block; uint64_t sector, offset; } rows[] = {
        {512, 7, 7 * 512}, {4096, 7, 0}, {4096, 8, 4096}, {4096, 15, 4096}, {4096, 1ull << 40, (1ull << 40) * 512}};
    for (const auto& row : rows) {
        gDeviceBlockBytesU32 = row.block;
        EXPECT_EQ(row.offset, DeviceOffsetForSector(row.sector)) << row.block << "/" << row.sector;
    }
    gDeviceBlockBytesU32 = 512;
}

}  // namespace
