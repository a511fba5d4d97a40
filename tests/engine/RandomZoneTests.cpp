// The random zone test: its sector table, its result texts, and whole runs
// on a fake device with and without writes and with a failing read.
#include "EngineFixture.h"

#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "engine/ZoneTests.h"

#include <map>
#include <thread>

namespace {

TEST(RandomSectorTable, MillionSectorDriveExample)
{
    std::vector<uint64_t> t(kRandomTransferCount);
    BuildRandomSectorTable(1000000, t.data());
    const uint64_t expected[] = {0, 999992, 192, 999800, 392, 999600};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(expected[i], t[i]) << "entry " << i;
}

TEST(RandomSectorTable, EveryTransferLiesInsideTheDrive)
{
    const uint64_t sizes[] = {16, 17, 31, 1000000, 2097152, 7814037168ull, (1ull << 40) + 5};
    std::vector<uint64_t> t(kRandomTransferCount);
    for (const uint64_t n : sizes) {
        BuildRandomSectorTable(n, t.data());
        for (int i = 0; i < kRandomTransferCount; ++i) {
            ASSERT_EQ(0u, t[i] % 8) << n << " entry " << i;
            ASSERT_LT(t[i] + 7, n) << n << " entry " << i;
        }
        EXPECT_EQ(0u, t[0]);
        EXPECT_EQ(((n & ~uint64_t{15}) - 8) & ~uint64_t{7}, t[1]);
    }
}

TEST(RandomSpeedText, ValueUnitAndRate)
{
    struct Row {
        double speed;
        const char* value;
        const char* unit;
        const char* perSecond;
        const char* perTransfer;
    };
    const Row rows[] = {
        {0.5, "512", "KB per Second", "128", "7.81 ms"},
        {100.0, "100.000", "MB per Second", "25600", "39.1 \u00b5s"},
        {1.0, "1024", "KB per Second", "256", "3.91 ms"},  // exactly 1.0 is not above 1.0
        {0.0, "0", "KB per Second", "0", ""},
        {3.90625, "3.906", "MB per Second", "1000", "1.00 ms"},
        {1.0e12, "1000000000000.000", "MB per Second", "4294967295", "0.0 \u00b5s"},  // the rate saturates
    };
    for (const Row& row : rows) {
        const RandomSpeedTexts t = FormatRandomSpeed(row.speed);
        EXPECT_STREQ(row.value, t.value) << row.speed;
        EXPECT_STREQ(row.unit, t.unit) << row.speed;
        EXPECT_STREQ(row.perSecond, t.perSecond) << row.speed;
        EXPECT_STREQ(row.perTransfer, t.perTransfer) << row.speed;
    }
}

class RandomZone : public EngineFixture {
protected:
    std::map<int32_t, std::string> LastTexts() const
    {
        std::map<int32_t, std::string> last;
        for (const auto& [id, text] : host.texts)
            last[id] = text;
        return last;
    }
};

TEST_F(RandomZone, WritesReturnEveryBlockToItsPlaceInReadOrder)
{
    FakeDevice& d = Device(64ull << 20);
    const std::vector<unsigned char> before = d.bytes;
    PrepareRandom(true);
    // 10,000 × 4096 bytes in one second of the scripted clock per batch.
    d.defaultElapsed = 100000;
    DoRandomZoneTestMP();

    EXPECT_EQ(before, d.bytes);
    ASSERT_EQ(2u * kRandomTransferCount, d.log.size());
    for (int i = 0; i < kRandomTransferCount; ++i) {
        const TransferRecord& r = d.log[i];
        const TransferRecord& w = d.log[i + kRandomTransferCount];
        ASSERT_TRUE(r.isRead);
        ASSERT_FALSE(w.isRead);
        ASSERT_EQ(gSectorTableU64[i] * 512, r.offset);
        ASSERT_EQ(r.offset, w.offset);
        ASSERT_EQ(4096u, w.count);
    }
    EXPECT_DOUBLE_EQ(39.0625, gSavedRandomReadSpeedDbl);
    EXPECT_DOUBLE_EQ(39.0625, gSavedRandomWriteSpeedDbl);
    const auto texts = LastTexts();
    EXPECT_EQ("39.062", texts.at(kReadSpeedText));
    EXPECT_EQ("MB per Second", texts.at(kWriteUnitText));
    EXPECT_EQ("10000", texts.at(kWriteRateText));
    EXPECT_EQ("100.0 \u00b5s per transfer", texts.at(kWriteTimeText));
    EXPECT_EQ("Queue depth: 1", texts.at(kQueueDepthText));
    EXPECT_EQ(0u, gReadCountIndexU32.load());
    EXPECT_EQ(0u, gWriteCountIndexU32.load());
    EXPECT_EQ(1, host.finished);
}

TEST_F(RandomZone, WritesOffLeaveTheWriteTextsBlank)
{
    FakeDevice& d = Device(16ull << 20);
    PrepareRandom(false);
    gSavedRandomWriteSpeedDbl = 0.0;
    DoRandomZoneTestMP();
    EXPECT_EQ(static_cast<size_t>(kRandomTransferCount), d.log.size());
    EXPECT_EQ(0u, d.WriteCount());
    EXPECT_EQ(0.0, gSavedRandomWriteSpeedDbl);
    const auto texts = LastTexts();
    EXPECT_EQ(" ", texts.at(kWriteSpeedText));
    EXPECT_EQ(0u, texts.count(kWriteUnitText));
    EXPECT_EQ(0u, texts.count(kWriteRateText));
}

TEST_F(RandomZone, ReadFailureEndsSilentlyWithNoResult)
{
    FakeDevice& d = Device(16ull << 20);
    PrepareRandom(true);
    d.failAtTransfer = 5000;
    DoRandomZoneTestMP();
    EXPECT_EQ(5001u, d.log.size());
    EXPECT_EQ(0u, d.WriteCount());
    EXPECT_EQ(0.0, gSavedRandomReadSpeedDbl);
    EXPECT_TRUE(host.alerts.empty());
    EXPECT_EQ(5000u, gReadCountIndexU32.load()) << "the counter keeps the completed transfers";
    EXPECT_EQ(" ", LastTexts().at(kReadSpeedText));
    EXPECT_EQ(1, host.finished);
    EXPECT_FALSE(LastTestCompleted()) << "a failed test is not kept";
}

TEST_F(RandomZone, StopDuringThePauseEndsWithoutTheFinishedNotice)
{
    Device(16ull << 20);
    PrepareRandom(true);
    std::thread worker([] { DoRandomZoneTestMP(); });
    while (gReadCountIndexU32.load() < static_cast<uint32_t>(kRandomTransferCount))
        std::this_thread::yield();
    RequestTestStop();  // the one-second pause must end at once
    worker.join();
    EXPECT_EQ(0, host.finished);
    EXPECT_EQ(0u, device->WriteCount());
}

}  // namespace
