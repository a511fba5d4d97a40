// The standard zone test on a fake device: where transfers go, how the
// records fill, and how failures and stops end the test.
#include "EngineFixture.h"

#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "engine/ZoneTests.h"

#include <cerrno>
#include <cstring>
#include <numeric>

namespace {

class StandardZone : public EngineFixture {
protected:
    std::vector<uint64_t> ReadOffsets() const
    {
        std::vector<uint64_t> offsets;
        for (const TransferRecord& r : device->log)
            if (r.isRead)
                offsets.push_back(r.offset);
        return offsets;
    }
    std::vector<std::string> StatusTexts() const
    {
        std::vector<std::string> out;
        for (const auto& [id, text] : host.texts)
            if (id == kStatusText)
                out.push_back(text);
        return out;
    }
    static bool AllZero(const ZoneResultsRec* records)
    {
        static const ZoneResultsRec zero{};
        for (int z = 0; z < kMaxZoneCount; ++z)
            if (std::memcmp(&records[z], &zero, sizeof zero) != 0)
                return false;
        return true;
    }
};

constexpr uint32_t kSectorsPerMB = 2048;

TEST_F(StandardZone, PlacementFollowsTheZoneRule)
{
    struct Row {
        uint64_t zone, increment;
        uint32_t x;
        uint64_t sector;
    };
    const Row rows[] = {
        {0, 1000000, 2048, 0},
        {1, 16381, 2048, 14328},        // 16381 − 2050 = 14331, down to a multiple of 4
        {1, 16384, 2048, 14332},        // already a multiple of 4
        {9, 1ull << 33, 2048, ((9ull << 33) - 2050) & ~3ull},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.sector, StandardZoneTransferSector(row.zone, row.increment, row.x));
    EXPECT_EQ(0u, StandardZoneIncrement(1000, 1));
    EXPECT_EQ(1000u, StandardZoneIncrement(1000, 2));
    EXPECT_EQ(111u, StandardZoneIncrement(1000, 10));
}

TEST_F(StandardZone, SizeCheckCoversThePreflight)
{
    struct Row {
        uint64_t sectors;
        uint32_t x;
        int32_t zones;
        bool fits;
    };
    const Row rows[] = {
        {20480, 2048, 10, true},
        {20479, 2048, 10, false},  // the preflight's last read would end past the drive
        {20478, 2048, 10, false},
        {2048, 2048, 1, true},
        {1u << 30, 0, 10, false},  // an empty transfer size is refused
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.fits, DriveBigEnoughForZones(row.sectors, row.x, row.zones))
            << row.sectors << " sectors, " << row.x << " × " << row.zones;
}

TEST_F(StandardZone, OneZoneNeedsNoPreflightAndStaysAtSectorZero)
{
    Device(4 << 20);
    ASSERT_TRUE(PrepareStandard(1, 3, 1, true));
    DoStandardZoneTestMP();
    ASSERT_EQ(6u, device->log.size());
    for (const TransferRecord& r : device->log)
        EXPECT_EQ(0u, r.offset);
    EXPECT_EQ(0u, gSavedREADResultsInfo[0].firstSectorU64);
    EXPECT_EQ(kSectorsPerMB - 1, gSavedREADResultsInfo[0].lastSectorU64);
    EXPECT_EQ(kSectorsPerMB - 1, gSavedWRITEResultsInfo[0].lastSectorU64);
    EXPECT_EQ((std::vector<std::string>{"Test in Progress: Cycle 1 of 3", "Test in Progress: Cycle 2 of 3",
                                        "Test in Progress: Cycle 3 of 3"}),
              StatusTexts());
    EXPECT_EQ(1, host.finished);
    EXPECT_FALSE(bTestRunning.load());
}

TEST_F(StandardZone, TwoZonesReachTheEndOfTheDrive)
{
    const uint64_t n = 16381;
    Device(n * 512);
    ASSERT_TRUE(PrepareStandard(2, 1, 1, false));
    DoStandardZoneTestMP();
    // Preflight at 0 and x, then zone 0 at 0 and zone 1 at N − x − 2 rounded down.
    EXPECT_EQ((std::vector<uint64_t>{0, 2048 * 512, 0, 14328 * 512}), ReadOffsets());
    EXPECT_EQ(n, gSavedREADResultsInfo[1].firstSectorU64);
    EXPECT_EQ(n + kSectorsPerMB - 1, gSavedREADResultsInfo[1].lastSectorU64);
    EXPECT_EQ("Test in Progress: Preflighting...", StatusTexts().front());
    // The last transfer ends inside the drive.
    EXPECT_LE(device->log.back().offset + device->log.back().count, n * 512);
}

TEST_F(StandardZone, TenZonesWithWritesPutEveryBlockBack)
{
    const uint64_t size = 64ull << 20;
    FakeDevice& d = Device(size);
    const std::vector<unsigned char> before = d.bytes;
    ASSERT_TRUE(PrepareStandard(10, 2, 1, true));
    DoStandardZoneTestMP();

    EXPECT_EQ(before, d.bytes);
    EXPECT_TRUE(LastTestCompleted()) << "a completed test is kept in the history";
    const uint64_t inc = gTestIncrementSizeU64;
    ASSERT_EQ(10u + 2 * 10 * 2, d.log.size());
    for (size_t i = 10; i < d.log.size(); i += 2) {
        const size_t zone = ((i - 10) / 2) % 10;
        EXPECT_TRUE(d.log[i].isRead);
        EXPECT_FALSE(d.log[i + 1].isRead);
        EXPECT_EQ(d.log[i].offset, d.log[i + 1].offset) << "write goes where the read was";
        EXPECT_EQ(StandardZoneTransferSector(zone, inc, kSectorsPerMB) * 512, d.log[i].offset);
        EXPECT_LE(d.log[i].offset + d.log[i].count, size);
    }
    for (int z = 0; z < 10; ++z) {
        EXPECT_EQ(z * inc, gSavedWRITEResultsInfo[z].firstSectorU64);
        EXPECT_DOUBLE_EQ(100.0, gSavedWRITEResultsInfo[z].aveSpeedDbl);
    }
    EXPECT_EQ(1 + 40, host.draws);  // the reset, then one per read and one per write record
}

TEST_F(StandardZone, CycleStatisticsCoverMeasuredCyclesOnly)
{
    Device(4 << 20);
    ASSERT_TRUE(PrepareStandard(1, 3, 1, false));
    // 1 MB at 10^9 / ns megabytes per second: 80, 100, 90.
    device->elapsed = {12500000, 10000000, 11111111};
    std::vector<ZoneResultsRec> afterEachCycle;
    host.onDraw = [&] { afterEachCycle.push_back(gSavedREADResultsInfo[0]); };
    DoStandardZoneTestMP();

    ASSERT_EQ(1u + 3u, afterEachCycle.size());  // the reset, then each cycle
    const ZoneResultsRec& first = afterEachCycle[1];
    EXPECT_DOUBLE_EQ(80.0, first.minSpeedDbl);
    EXPECT_DOUBLE_EQ(80.0, first.aveSpeedDbl);
    EXPECT_DOUBLE_EQ(80.0, first.maxSpeedDbl);
    const ZoneResultsRec& last = gSavedREADResultsInfo[0];
    EXPECT_DOUBLE_EQ(80.0, last.minSpeedDbl);
    EXPECT_DOUBLE_EQ(100.0, last.maxSpeedDbl);
    EXPECT_NEAR(90.0, last.aveSpeedDbl, 1e-5);
    EXPECT_DOUBLE_EQ(100.0, gMaxSpeed);
    EXPECT_TRUE(AllZero(gSavedWRITEResultsInfo)) << "writes off leave the write records empty";
}

TEST_F(StandardZone, FastestWriteRaisesTheGraphMaximum)
{
    Device(4 << 20);
    ASSERT_TRUE(PrepareStandard(1, 1, 1, true));
    device->elapsed = {10000000, 5000000};  // read 100, write 200
    DoStandardZoneTestMP();
    EXPECT_DOUBLE_EQ(200.0, gMaxSpeed);
}

TEST_F(StandardZone, FailuresEndTheTestAndLeaveNoResults)
{
    struct Row {
        const char* what;
        long failAt;  // index over all transfers
        bool shortCount;
        size_t transfersMade;
    };
    // Ten zones with writes: transfers 0–9 are the preflight, then read/write pairs.
    const Row rows[] = {
        {"preflight read", 3, false, 4},
        {"read in cycle 1", 10 + 2 * 4, false, 19},
        {"write in cycle 2", 10 + 20 + 2 * 6 + 1, false, 44},
        {"short write in cycle 2", 10 + 20 + 1, true, 32},
    };
    for (const Row& row : rows) {
        host.alerts.clear();
        host.finished = 0;
        FakeDevice& d = Device(64 << 20);
        const std::vector<unsigned char> before = d.bytes;
        ASSERT_TRUE(PrepareStandard(10, 3, 1, true));
        d.failAtTransfer = row.failAt;
        d.failShort = row.shortCount;
        d.failErrno = EIO;
        DoStandardZoneTestMP();
        EXPECT_EQ(row.transfersMade, d.log.size()) << row.what;
        EXPECT_TRUE(AllZero(gSavedREADResultsInfo)) << row.what;
        EXPECT_TRUE(AllZero(gSavedWRITEResultsInfo)) << row.what;
        ASSERT_EQ(1u, host.alerts.size()) << row.what;
        EXPECT_EQ("i/o Error: Possible bad sector, connector or data cable", host.alerts[0]);
        EXPECT_EQ(1, host.finished) << row.what;
        EXPECT_FALSE(LastTestCompleted()) << row.what << ": a failed test is not kept";
        EXPECT_EQ(before, d.bytes) << row.what;
    }
}

TEST_F(StandardZone, StopEndsBetweenTransfersWithoutTheFinishedNotice)
{
    Device(64 << 20);
    ASSERT_TRUE(PrepareStandard(10, 3, 1, true));
    int drawsUntilStop = 1 + 7;  // the reset's redraw, then seven record updates
    host.onDraw = [&] {
        if (--drawsUntilStop == 0)
            RequestTestStop();
    };
    DoStandardZoneTestMP();
    EXPECT_EQ(0, host.finished);
    EXPECT_TRUE(host.alerts.empty());
    // Seven records were updated: transfers up to the seventh redraw, no more.
    EXPECT_EQ(10u + 7u, device->log.size());
}

}  // namespace
