#include "EngineFixture.h"

#include "engine/ProgressUpdate.h"
#include "engine/TestModel.h"

namespace {
class RandomProgress : public EngineFixture {
protected:
    void TearDown() override
    {
        bTestRunning = false;
        gReadCountIndexU32 = 0;
        gWriteCountIndexU32 = 0;
        EngineFixture::TearDown();
    }
};

TEST_F(RandomProgress, ShowsCountBarAndElapsedTimeOfEachBatchUnderWay)
{
    bTestRunning = true;
    gReadCountIndexU32 = 10000;
    gRandomReadsStartTime = 100.0;
    gWriteCountIndexU32 = 2525;
    gRandomWritesStartTime = 160.0;

    MyUpdateTimerCallback(165.0);

    const std::vector<std::pair<int32_t, std::string>> expectedTexts = {
        {kReadCountText, "10000"}, {kReadElapsedText, "1 minute, 5 seconds "},
        {kWriteCountText, "2525"}, {kWriteElapsedText, "5 seconds "},
    };
    EXPECT_EQ(host.texts, expectedTexts);
    const std::vector<std::pair<int32_t, int32_t>> expectedBars = {
        {kReadProgressBar, 200}, {kWriteProgressBar, 50}};
    EXPECT_EQ(host.bars, expectedBars);
}

TEST_F(RandomProgress, BatchesNotStartedAndIdleTimesShowNothing)
{
    bTestRunning = true;
    gReadCountIndexU32 = 0;
    gWriteCountIndexU32 = 0;
    MyUpdateTimerCallback(10.0);
    EXPECT_TRUE(host.texts.empty());
    EXPECT_TRUE(host.bars.empty());

    bTestRunning = false;
    gReadCountIndexU32 = 40;
    MyUpdateTimerCallback(10.0);
    EXPECT_TRUE(host.texts.empty());
}
}  // namespace
