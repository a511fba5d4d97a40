// The random zone test: its sector table, its result texts, what its reset
// clears, whole runs on a fake device and its progress timer.
#include "EngineFixture.h"

#include "shell/RandomProgress.h"
#include "engine/RunExecution.h"
#include "engine/ZoneTests.h"
#include "shell/ResultPaneTexts.h"

namespace {

TEST(RandomSectorTable, ExampleAndEveryTransferInsideTheDrive)
{
    std::vector<uint64_t> t(kRandomTransferCount);
    BuildRandomSectorTable(1000000, t.data());
    EXPECT_EQ((std::vector<uint64_t>{0, 999992, 192, 999800, 392, 999600}), std::vector<uint64_t>(t.begin(), t.begin() + 6));
    // The second transfer is the last 8 sectors below the drive's size rounded down to 16.
    const struct { uint64_t sectors, second; } rows[] = {{16, 8}, {17, 8}, {31, 8}, {2097152, 2097144},
                                                         {7814037168, 7814037160}, {(1ull << 40) + 5, 1099511627768}};
    for (const auto& [n, second] : rows) {
        BuildRandomSectorTable(n, t.data());
        for (int i = 0; i < kRandomTransferCount; ++i) {
            ASSERT_EQ(0u, t[i] % 8) << n << " entry " << i;
            ASSERT_LT(t[i] + 7, n) << n << " entry " << i;
        }
        EXPECT_EQ(second, t[1]) << n;
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

TEST_F(RandomZone, ResetClearsBothBarsAndTextsButNotTheSpeedValues)
{
    ResetRandomTestResults();
    EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{kReadProgressBar, 0}, {kWriteProgressBar, 0}}), host.bars);
    const std::vector<std::pair<int32_t, std::string>> cleared = {
        {110, ""}, {120, ""}, {111, ""}, {121, ""}, {102, ""}, {103, ""}, {104, ""}, {105, ""},
        {kQueueDepthText, ""}, {kReadTimeText, ""}, {kWriteTimeText, ""}};
    EXPECT_EQ(cleared, host.texts) << "texts 100 and 101 are the test's own";
}

// Whole runs: a read failing half-way ends the test silently and keeps no
// result; without writes the write texts stay blank; with writes every block
// goes back where it was read, in read order.
TEST_F(RandomZone, RunsWithAFailedReadWithoutAndWithWrites)
{
    const struct { bool writes; long failAt; size_t made; double read, write; const char* readText, *writeText; } runs[] = {
        {true, 5000, 5001, 0.0, 0.0, " ", " "},
        {false, -1, 10000, 39.0625, 0.0, "39.062", " "},
        {true, -1, 20000, 39.0625, 39.0625, "39.062", "39.062"}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.made);
        FakeDevice& d = Device(4ull << 20);
        const std::vector<unsigned char> before = d.bytes;
        d.defaultElapsed = 100000;  // 10,000 × 4096 bytes in one second of the scripted clock
        d.failAtTransfer = run.failAt;
        host.texts.clear();
        host.finished = 0;
        MakeRun({.kind = TestKind::Random, .writes = run.writes});
        ExecuteRun(*testRun, observer);
        EXPECT_EQ(before, d.bytes);
        EXPECT_EQ(run.made, d.log.size());
        EXPECT_DOUBLE_EQ(run.read, testRun->run.random.readSpeed);
        EXPECT_DOUBLE_EQ(run.write, testRun->run.random.writeSpeed);
        const auto texts = host.LastTexts();
        EXPECT_EQ(run.readText, texts.at(kReadSpeedText));
        EXPECT_EQ(run.writeText, texts.at(kWriteSpeedText));
        EXPECT_EQ(run.write > 0.0, texts.count(kWriteUnitText) + texts.count(kWriteTimeText) == 2);
        EXPECT_EQ(run.failAt < 0 ? 0u : 5000u, testRun->progress.randomReads.load())
            << "a failure keeps the completed count";
        EXPECT_TRUE(host.alerts.empty());
        EXPECT_EQ(1, host.finished.load());
        EXPECT_EQ(run.failAt < 0 ? RunEnd::Completed : RunEnd::Failed, testRun->run.end) << "a failed test is not kept";
    }
    const std::vector<TransferRecord>& log = device->log;
    for (int i = 0; i < kRandomTransferCount; ++i) {
        ASSERT_TRUE(log[i].isRead && !log[i + kRandomTransferCount].isRead);
        ASSERT_EQ(testRun->sectorTable[i] * 512, log[i].offset);
        ASSERT_EQ(log[i].offset, log[i + kRandomTransferCount].offset);
    }
    EXPECT_EQ("100.0 \u00b5s per transfer", host.LastTexts().at(kWriteTimeText));
    EXPECT_EQ("Queue depth: 1", host.LastTexts().at(kQueueDepthText));
    EXPECT_EQ((std::vector<std::string>{"Test in Progress: Random Reads\u2026", "Test in Progress: Random Writes\u2026"}),
              host.TextsOf(kStatusText));
    EXPECT_EQ(0u, testRun->progress.randomWrites.load());
}

// The progress timer: counts, bars and elapsed times of the phase under way,
// nothing for a phase not under way or when idle.
TEST_F(RandomZone, ProgressShowsEachPhaseUnderWayOnly)
{
    RunProgress progress;
    progress.running = true;
    ShowRandomProgress(host, progress, 10.0);  // no phase under way yet
    EXPECT_TRUE(host.texts.empty() && host.bars.empty());
    progress.randomReads = 10000;
    progress.readsStarted = 100.0;
    progress.randomWrites = 2525;
    progress.writesStarted = 160.0;
    ShowRandomProgress(host, progress, 165.0);
    const std::vector<std::pair<int32_t, std::string>> texts = {
        {kReadCountText, "10000"}, {kReadElapsedText, "1 minute, 5 seconds "},
        {kWriteCountText, "2525"}, {kWriteElapsedText, "5 seconds "}};
    EXPECT_EQ(texts, host.texts);
    EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{kReadProgressBar, 200}, {kWriteProgressBar, 50}}), host.bars);
    progress.running = false;
    ShowRandomProgress(host, progress, 170.0);
    EXPECT_EQ(texts, host.texts) << "idle: nothing more";
}

}  // namespace
