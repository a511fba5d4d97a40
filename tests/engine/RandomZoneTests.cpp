// The random zone test: its sector table, its result texts, what its reset
// clears, and whole runs on a fake device.
#include "EngineFixture.h"

#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "engine/ZoneTests.h"

namespace {

TEST(RandomSectorTable, ExampleAndEveryTransferInsideTheDrive)
{
    std::vector<uint64_t> t(kRandomTransferCount);
    BuildRandomSectorTable(1000000, t.data());
    EXPECT_EQ((std::vector<uint64_t>{0, 999992, 192, 999800, 392, 999600}), std::vector<uint64_t>(t.begin(), t.begin() + 6));
    for (const uint64_t n : {16ull, 17ull, 31ull, 2097152ull, 7814037168ull, (1ull << 40) + 5}) {
        BuildRandomSectorTable(n, t.data());
        for (int i = 0; i < kRandomTransferCount; ++i) {
            ASSERT_EQ(0u, t[i] % 8) << n << " entry " << i;
            ASSERT_LT(t[i] + 7, n) << n << " entry " << i;
        }
        EXPECT_EQ(((n & ~uint64_t{15}) - 8) & ~uint64_t{7}, t[1]);
    }
}

TEST(RandomSpeedText, ValueUnitAndRate)
{
    const struct { double speed; const char* value; const char* unit; const char* perSecond; const char* perTransfer; } rows[] = {
        {0.5, "512", "KB per Second", "128", "7.81 ms"},
        {100.0, "100.000", "MB per Second", "25600", "39.1 \u00b5s"},
        {1.0, "1024", "KB per Second", "256", "3.91 ms"},  // exactly 1.0 is not above 1.0
        {1.001, "1.001", "MB per Second", "256", "3.90 ms"},  // the time comes from the speed, not the rounded rate
        {0.0, "0", "KB per Second", "0", ""},
        {3.90625, "3.906", "MB per Second", "1000", "1.00 ms"},
        {1.0e12, "1000000000000.000", "MB per Second", "4294967295", "0.0 \u00b5s"},  // the rate saturates
    };
    for (const auto& row : rows) {
        const RandomSpeedTexts t = FormatRandomSpeed(row.speed);
        EXPECT_EQ((std::vector<std::string>{row.value, row.unit, row.perSecond, row.perTransfer}),
                  (std::vector<std::string>{t.value, t.unit, t.perSecond, t.perTransfer})) << row.speed;
    }
}

using RandomZone = EngineFixture;

TEST_F(RandomZone, ResetClearsBothSpeedsBarsAndTextsButNotTheSpeedValues)
{
    gSavedRandomReadSpeedDbl = 3.0;
    gSavedRandomWriteSpeedDbl = 4.0;
    ResetRandomTestResults();
    EXPECT_EQ(0.0, gSavedRandomReadSpeedDbl);
    EXPECT_EQ(0.0, gSavedRandomWriteSpeedDbl);
    EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{kReadProgressBar, 0}, {kWriteProgressBar, 0}}), host.bars);
    const std::vector<std::pair<int32_t, std::string>> cleared = {
        {110, ""}, {120, ""}, {111, ""}, {121, ""}, {102, ""}, {103, ""}, {104, ""}, {105, ""},
        {kQueueDepthText, ""}, {kReadTimeText, ""}, {kWriteTimeText, ""}};
    EXPECT_EQ(cleared, host.texts) << "texts 100 and 101 are the test's own";
}

TEST_F(RandomZone, WritesReturnEveryBlockToItsPlaceInReadOrder)
{
    FakeDevice& d = Device(4ull << 20);
    const std::vector<unsigned char> before = d.bytes;
    PrepareRandom(true);
    d.defaultElapsed = 100000;  // 10,000 × 4096 bytes in one second of the scripted clock
    DoRandomZoneTestMP();
    EXPECT_EQ(before, d.bytes);
    ASSERT_EQ(2u * kRandomTransferCount, d.log.size());
    for (int i = 0; i < kRandomTransferCount; ++i) {
        const TransferRecord& r = d.log[i];
        const TransferRecord& w = d.log[i + kRandomTransferCount];
        ASSERT_TRUE(r.isRead && !w.isRead);
        ASSERT_EQ(gSectorTableU64[i] * 512, r.offset);
        ASSERT_EQ(r.offset, w.offset);
    }
    EXPECT_DOUBLE_EQ(39.0625, gSavedRandomReadSpeedDbl);
    EXPECT_DOUBLE_EQ(39.0625, gSavedRandomWriteSpeedDbl);
    const auto texts = host.LastTexts();
    EXPECT_EQ("39.062", texts.at(kReadSpeedText));
    EXPECT_EQ("MB per Second", texts.at(kWriteUnitText));
    EXPECT_EQ("10000", texts.at(kWriteRateText));
    EXPECT_EQ("100.0 \u00b5s per transfer", texts.at(kWriteTimeText));
    EXPECT_EQ("Queue depth: 1", texts.at(kQueueDepthText));
    EXPECT_EQ((std::vector<std::string>{"Test in Progress: Random Reads\u2026", "Test in Progress: Random Writes\u2026"}),
              host.TextsOf(kStatusText));
    EXPECT_EQ(0u, gReadCountIndexU32.load() + gWriteCountIndexU32.load());
    EXPECT_EQ(1, host.finished.load());
}

TEST_F(RandomZone, WritesOffLeaveTheWriteTextsBlank)
{
    FakeDevice& d = Device(4ull << 20);
    PrepareRandom(false);
    DoRandomZoneTestMP();
    EXPECT_EQ(static_cast<size_t>(kRandomTransferCount), d.log.size()) << "reads only";
    EXPECT_EQ(0.0, gSavedRandomWriteSpeedDbl);
    const auto texts = host.LastTexts();
    EXPECT_EQ(" ", texts.at(kWriteSpeedText));
    EXPECT_EQ(0u, texts.count(kWriteUnitText) + texts.count(kWriteRateText));
}

TEST_F(RandomZone, ReadFailureEndsSilentlyWithNoResult)
{
    FakeDevice& d = Device(4ull << 20);
    PrepareRandom(true);
    d.failAtTransfer = 5000;
    DoRandomZoneTestMP();
    EXPECT_EQ(5001u, d.log.size());
    EXPECT_EQ(0.0, gSavedRandomReadSpeedDbl);
    EXPECT_TRUE(host.alerts.empty());
    EXPECT_EQ(5000u, gReadCountIndexU32.load()) << "the counter keeps the completed transfers";
    EXPECT_EQ(" ", host.LastTexts().at(kReadSpeedText));
    EXPECT_EQ(1, host.finished.load());
    EXPECT_FALSE(LastTestCompleted()) << "a failed test is not kept";
}

}  // namespace
