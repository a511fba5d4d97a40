// The random test's progress timer: counts, bars and elapsed times of the
// phase under way, nothing for a phase not under way or when idle.
#include "EngineFixture.h"

#include "engine/ProgressUpdate.h"
#include "engine/TestModel.h"

namespace {
using RandomProgress = EngineFixture;

TEST_F(RandomProgress, ShowsEachPhaseUnderWayOnly)
{
    bTestRunning = true;
    MyUpdateTimerCallback(10.0);  // no phase under way yet
    EXPECT_TRUE(host.texts.empty() && host.bars.empty());
    gReadCountIndexU32 = 10000;
    gRandomReadsStartTime = 100.0;
    gWriteCountIndexU32 = 2525;
    gRandomWritesStartTime = 160.0;
    MyUpdateTimerCallback(165.0);
    const std::vector<std::pair<int32_t, std::string>> texts = {
        {kReadCountText, "10000"}, {kReadElapsedText, "1 minute, 5 seconds "},
        {kWriteCountText, "2525"}, {kWriteElapsedText, "5 seconds "}};
    EXPECT_EQ(texts, host.texts);
    EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{kReadProgressBar, 200}, {kWriteProgressBar, 50}}), host.bars);
    bTestRunning = false;
    MyUpdateTimerCallback(170.0);
    EXPECT_EQ(texts, host.texts) << "idle: nothing more";
}
}  // namespace
