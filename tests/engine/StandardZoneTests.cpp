// The standard zone test on a fake device: where transfers go, how the
// records fill, and how failures and stops end the test.
#include "EngineFixture.h"

#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "engine/ZoneTests.h"

#include <cstring>

namespace {

constexpr uint32_t kSectorsPerMB = 2048;
const std::string kIoAlert = "i/o Error: Possible bad sector, connector or data cable";

bool AllZero(const ZoneResultsRec* records)
{
    static const ZoneResultsRec zero{};
    for (int z = 0; z < kMaxZoneCount; ++z)
        if (std::memcmp(&records[z], &zero, sizeof zero) != 0)
            return false;
    return true;
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
        {2048, 2048, 1, true},
        {2047, 2048, 1, false},
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
    DoStandardZoneTestMP();
    EXPECT_EQ(before, d.bytes);
    EXPECT_EQ(1, host.finished.load());
    EXPECT_TRUE(LastTestCompleted()) << "a completed test is kept in the history";
    EXPECT_EQ((std::vector<std::string>{"Test in Progress: Preflighting...", "Test in Progress: Cycle 1 of 2",
                                        "Test in Progress: Cycle 2 of 2"}),
              host.TextsOf(kStatusText));
    ASSERT_EQ(10u + 2 * 10 * 2, d.log.size());
    for (uint64_t i = 0; i < 10; ++i)
        EXPECT_EQ(i * kSectorsPerMB * 512, d.log[i].offset) << "the preflight reads the first zones × x sectors";
    for (size_t i = 10; i < d.log.size(); i += 2) {
        EXPECT_TRUE(d.log[i].isRead && !d.log[i + 1].isRead);
        EXPECT_EQ(StandardZoneTransferSector((i - 10) / 2 % 10, gTestIncrementSizeU64, kSectorsPerMB) * 512,
                  d.log[i].offset);
        EXPECT_EQ(d.log[i].offset, d.log[i + 1].offset) << "write goes where the read was";
        EXPECT_EQ(gUnixWriteFileRef, d.log[i + 1].fd);
    }
    for (uint64_t z = 0; z < 10; ++z) {
        EXPECT_EQ(z * gTestIncrementSizeU64, gSavedWRITEResultsInfo[z].firstSectorU64);
        EXPECT_EQ(z * gTestIncrementSizeU64 + kSectorsPerMB - 1, gSavedREADResultsInfo[z].lastSectorU64);
    }
    EXPECT_EQ(1 + 40, host.draws);  // the reset, then one per read and one per write record
}

TEST_F(StandardZone, OneZoneStaysAtSectorZeroAndItsStatisticsCoverTheMeasuredCycles)
{
    Device(4 << 20);
    ASSERT_TRUE(PrepareStandard(1, 3, 1, true));
    // 1 MB at 10^9 / ns megabytes per second: reads 80, 100, 90; writes 50, 200, 50.
    device->elapsed = {12500000, 20000000, 10000000, 5000000, 11111111, 20000000};
    std::vector<ZoneResultsRec> afterEachRead;
    host.onDraw = [&] { afterEachRead.push_back(gSavedREADResultsInfo[0]); };
    DoStandardZoneTestMP();
    ASSERT_EQ(6u, device->log.size()) << "one zone has no preflight";
    for (const TransferRecord& r : device->log)
        EXPECT_EQ(0u, r.offset);
    ASSERT_EQ(1u + 6u, afterEachRead.size());  // the reset, then each read and write
    EXPECT_DOUBLE_EQ(80.0, afterEachRead[1].minSpeedDbl);
    EXPECT_DOUBLE_EQ(80.0, afterEachRead[1].aveSpeedDbl);
    EXPECT_DOUBLE_EQ(80.0, afterEachRead[1].maxSpeedDbl);
    const ZoneResultsRec& read = gSavedREADResultsInfo[0];
    EXPECT_DOUBLE_EQ(80.0, read.minSpeedDbl);
    EXPECT_DOUBLE_EQ(100.0, read.maxSpeedDbl);
    EXPECT_NEAR(90.0, read.aveSpeedDbl, 1e-5);
    EXPECT_DOUBLE_EQ(50.0, gSavedWRITEResultsInfo[0].minSpeedDbl);
    EXPECT_DOUBLE_EQ(100.0, gSavedWRITEResultsInfo[0].aveSpeedDbl);
    EXPECT_DOUBLE_EQ(200.0, gMaxSpeed);
}

// Ten zones with writes: transfers 0–9 are the preflight, then read/write pairs.
// A failure leaves no results and one alert; Stop leaves no alert and posts no finished notice.
TEST_F(StandardZone, FailuresAndStopEndTheTestBetweenTransfers)
{
    const struct { long failAt; bool shortCount; long stopAt; size_t made; } rows[] = {
        {3, false, -1, 4}, {10 + 2 * 4, false, -1, 19}, {10 + 20 + 2 * 6 + 1, false, -1, 44}, {10 + 20 + 1, true, -1, 32},
        {-1, false, 10 + 2 * 3, 17}};  // Stop after a read: the write does not follow
    for (const auto& row : rows) {
        SCOPED_TRACE(row.made);
        host.alerts.clear();
        host.finished = 0;
        FakeDevice& d = Device(12 << 20);
        const std::vector<unsigned char> before = d.bytes;
        ASSERT_TRUE(PrepareStandard(10, 3, 1, true));
        d.failAtTransfer = row.failAt;
        d.failShort = row.shortCount;
        d.stopAtTransfer = row.stopAt;
        DoStandardZoneTestMP();
        const bool failed = row.stopAt < 0;
        EXPECT_EQ(row.made, d.log.size());
        EXPECT_EQ(failed, AllZero(gSavedREADResultsInfo) && AllZero(gSavedWRITEResultsInfo));
        EXPECT_EQ(failed ? std::vector<std::string>{kIoAlert} : std::vector<std::string>{}, host.alerts);
        EXPECT_EQ(failed ? 1 : 0, host.finished.load());
        EXPECT_FALSE(LastTestCompleted()) << "a failed or stopped test is not kept";
        EXPECT_EQ(before, d.bytes);
    }
}

}  // namespace
