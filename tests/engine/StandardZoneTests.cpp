// The standard zone test on a fake device: where transfers go, how the
// records fill, and how failures and stops end the test.
#include "EngineFixture.h"

#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "engine/ZoneTests.h"

#include <cerrno>
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

class StandardZone : public EngineFixture {
protected:
    std::vector<std::string> StatusTexts() const
    {
        std::vector<std::string> out;
        for (const auto& [id, text] : host.texts)
            if (id == kStatusText)
                out.push_back(text);
        return out;
    }
};

TEST_F(StandardZone, OneZoneStaysAtSectorZeroAndTwoZonesReachTheEnd)
{
    Device(4 << 20);
    ASSERT_TRUE(PrepareStandard(1, 3, 1, false));
    DoStandardZoneTestMP();
    ASSERT_EQ(3u, device->log.size());  // no preflight
    for (const TransferRecord& r : device->log)
        EXPECT_EQ(0u, r.offset);
    EXPECT_EQ(kSectorsPerMB - 1, gSavedREADResultsInfo[0].lastSectorU64);
    EXPECT_EQ((std::vector<std::string>{"Test in Progress: Cycle 1 of 3", "Test in Progress: Cycle 2 of 3",
                                        "Test in Progress: Cycle 3 of 3"}),
              StatusTexts());
    EXPECT_EQ(1, host.finished);
    EXPECT_FALSE(bTestRunning.load());
    EXPECT_TRUE(AllZero(gSavedWRITEResultsInfo)) << "writes off leave the write records empty";

    const uint64_t n = 16381;
    Device(n * 512);
    ASSERT_TRUE(PrepareStandard(2, 1, 1, false));
    DoStandardZoneTestMP();
    // Preflight at 0 and x, then zone 0 at 0 and zone 1 at N − x − 2 rounded down.
    std::vector<uint64_t> offsets;
    for (const TransferRecord& r : device->log)
        offsets.push_back(r.offset / 512);
    EXPECT_EQ((std::vector<uint64_t>{0, 2048, 0, 14328}), offsets);
    EXPECT_EQ(n, gSavedREADResultsInfo[1].firstSectorU64);
    EXPECT_EQ(n + kSectorsPerMB - 1, gSavedREADResultsInfo[1].lastSectorU64);
    EXPECT_EQ("Test in Progress: Preflighting...", StatusTexts().at(3));
}

TEST_F(StandardZone, TenZonesWithWritesPutEveryBlockBackWhereItWasRead)
{
    const uint64_t size = 12ull << 20;
    FakeDevice& d = Device(size);
    const std::vector<unsigned char> before = d.bytes;
    ASSERT_TRUE(PrepareStandard(10, 2, 1, true));
    DoStandardZoneTestMP();
    EXPECT_EQ(before, d.bytes);
    EXPECT_TRUE(LastTestCompleted()) << "a completed test is kept in the history";
    ASSERT_EQ(10u + 2 * 10 * 2, d.log.size());
    for (size_t i = 10; i < d.log.size(); i += 2) {
        EXPECT_TRUE(d.log[i].isRead && !d.log[i + 1].isRead);
        EXPECT_EQ(d.log[i].offset, d.log[i + 1].offset) << "write goes where the read was";
        EXPECT_EQ(gUnixWriteFileRef, d.log[i + 1].fd);
        EXPECT_EQ(StandardZoneTransferSector(((i - 10) / 2) % 10, gTestIncrementSizeU64, kSectorsPerMB) * 512,
                  d.log[i].offset);
        EXPECT_LE(d.log[i].offset + d.log[i].count, size);
    }
    for (int z = 0; z < 10; ++z)
        EXPECT_EQ(z * gTestIncrementSizeU64, gSavedWRITEResultsInfo[z].firstSectorU64);
    EXPECT_EQ(1 + 40, host.draws);  // the reset, then one per read and one per write record
}

TEST_F(StandardZone, StatisticsCoverMeasuredCyclesAndTheFastestTransferSetsTheScale)
{
    Device(4 << 20);
    ASSERT_TRUE(PrepareStandard(1, 3, 1, true));
    // 1 MB at 10^9 / ns megabytes per second: reads 80, 100, 90; writes 50, 200, 50.
    device->elapsed = {12500000, 20000000, 10000000, 5000000, 11111111, 20000000};
    std::vector<ZoneResultsRec> afterEachRead;
    host.onDraw = [&] { afterEachRead.push_back(gSavedREADResultsInfo[0]); };
    DoStandardZoneTestMP();
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

TEST_F(StandardZone, FailuresEndTheTestAndLeaveNoResults)
{
    // Ten zones with writes: transfers 0–9 are the preflight, then read/write pairs.
    const struct { long failAt; bool shortCount; size_t made; } rows[] = {
        {3, false, 4}, {10 + 2 * 4, false, 19}, {10 + 20 + 2 * 6 + 1, false, 44}, {10 + 20 + 1, true, 32}};
    for (const auto& row : rows) {
        host.alerts.clear();
        host.finished = 0;
        FakeDevice& d = Device(12 << 20);
        const std::vector<unsigned char> before = d.bytes;
        ASSERT_TRUE(PrepareStandard(10, 3, 1, true));
        d.failAtTransfer = row.failAt;
        d.failShort = row.shortCount;
        d.failErrno = EIO;
        DoStandardZoneTestMP();
        SCOPED_TRACE(row.failAt);
        EXPECT_EQ(row.made, d.log.size());
        EXPECT_TRUE(AllZero(gSavedREADResultsInfo) && AllZero(gSavedWRITEResultsInfo));
        EXPECT_EQ(std::vector<std::string>{kIoAlert}, host.alerts);
        EXPECT_EQ(1, host.finished);
        EXPECT_FALSE(LastTestCompleted()) << "a failed test is not kept";
        EXPECT_EQ(before, d.bytes);
    }
}

TEST_F(StandardZone, StopEndsBetweenTransfersWithoutTheFinishedNotice)
{
    Device(12 << 20);
    ASSERT_TRUE(PrepareStandard(10, 3, 1, true));
    int drawsUntilStop = 1 + 7;  // the reset's redraw, then seven record updates
    host.onDraw = [&] {
        if (--drawsUntilStop == 0)
            RequestTestStop();
    };
    DoStandardZoneTestMP();
    EXPECT_EQ(0, host.finished);
    EXPECT_TRUE(host.alerts.empty());
    EXPECT_EQ(10u + 7u, device->log.size());
}

}  // namespace
