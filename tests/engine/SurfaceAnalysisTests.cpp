// The surface test's findings on numbers worked by hand: medians and 1 %
// lows, figures and slow blocks of one direction, where writes fall off,
// throttling, and samples folded to stay within their limit.
#include "engine/SurfaceAnalysis.h"
#include "engine/SurfaceSamples.h"
#include "engine/SurfaceTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(SurfaceAnalysis, MedianAndOnePercentLowOfAHundredSpeeds)
{
    SurfaceDistribution speeds = SpeedDistribution();
    for (int v = 100; v >= 1; --v)
        speeds.Add(v);
    EXPECT_NEAR(50.0, speeds.Median(), 0.05);       // the lower of the middles 50 and 51
    EXPECT_NEAR(2.0, speeds.OnePercentLow(), 0.002);  // 99 of the 100 reach 2
}

TEST(SurfaceAnalysis, FiguresAndSlowBlocksOfOneDirection)
{
    // Ten transfers of 1 MB: nine of 10 ms, the fifth of 200 ms.
    SurfaceDirectionFigures reads;
    for (uint64_t i = 0; i < 10; ++i)
        reads.Add(i * 2048, 2048, i == 4 ? 200'000'000 : 10'000'000);
    const SurfaceSpeedFigures f = reads.Figures();
    EXPECT_NEAR(10.0 / 0.29, f.average, 1e-9);  // bytes over time, not the mean of the speeds
    EXPECT_DOUBLE_EQ(5.0, f.minimum);
    EXPECT_NEAR(5.0, f.onePercentLow, 0.005);   // of ten transfers, all ten must reach it
    EXPECT_DOUBLE_EQ(0.29, f.seconds);
    EXPECT_EQ((std::vector<SurfaceSlowBlock>{{8192, 2048, 200.0, false}}), reads.SlowBlocks(false));
}

TEST(SurfaceAnalysis, WritesFallOffWhereTheyStayLowForTwoPercent)
{
    // 100 transfers of 100 sectors; the first 5 % go at a median of 100 MB/s.
    // A dip to 50 for 1 % is no fall-off; from sector 4,000 on they go at 30.
    WriteFalloffFinder finder(10000);
    const double first[] = {100, 100, 90, 110, 100};
    for (uint64_t i = 0; i < 100; ++i)
        finder.Add(i * 100, 100, i < 5 ? first[i] : i == 20 ? 50.0 : i >= 40 ? 30.0 : 100.0);
    const SurfaceWriteFalloff falloff = finder.Result();
    ASSERT_TRUE(falloff.found);
    EXPECT_EQ(4000u, falloff.atSector);
    EXPECT_NEAR(100.0, falloff.beforeSpeed, 0.05);
    EXPECT_NEAR(30.0, falloff.afterSpeed, 0.02);

    WriteFalloffFinder steady(10000);
    for (uint64_t i = 0; i < 100; ++i)
        steady.Add(i * 100, 100, i >= 5 && i % 3 == 0 ? 59.0 : 100.0);  // dips of 1 % only
    EXPECT_FALSE(steady.Result().found);
    EXPECT_EQ("Writes held their speed: no fall-off found", WriteFalloffText(steady.Result()));
    EXPECT_EQ("Writes fell from 1,850 MB/s to 410 MB/s after 38.2 GB",
              WriteFalloffText({true, 80111206, 1849.6, 410.4}));
}

TEST(SurfaceAnalysis, ThrottlingIsASpeedDropWhileTheDriveIsAtItsHottest)
{
    const std::vector<SurfaceSample> samples = {
        {0, 1000, 1, 100, 100, 100}, {1000, 1000, 1, 100, 100, 100}, {2000, 1000, 1, 50, 50, 50}};
    const SurfaceSpeedFigures read{100, 0, 0, 0};  // an average of 100 MB/s
    EXPECT_TRUE(PossibleThrottling({{0, 0, 40}, {1, 1000, 46}, {2, 2500, 46.5}}, samples, read, {}));
    EXPECT_FALSE(PossibleThrottling({{0, 0, 40}, {1, 1000, 46.5}, {2, 1500, 43}}, samples, read, {}));  // hot where fast
    EXPECT_FALSE(PossibleThrottling({{0, 0, 42}, {1, 1000, 44}, {2, 2500, 46.5}}, samples, read, {}));  // never warmed by 5 °C
}

TEST(SurfaceAnalysis, SamplesFoldPairwiseOnceTheyReachTheirLimit)
{
    std::vector<SurfaceSample> samples;
    SurfaceSampleRecorder recorder(samples, 4);
    for (uint64_t i = 0; i < 6; ++i)
        recorder.Add(i * 10, 10, static_cast<float>(i + 1), 0.0f);
    recorder.Flush();
    EXPECT_EQ((std::vector<SurfaceSample>{{0, 20, 2, 1, 1.5, 2}, {20, 20, 2, 3, 3.5, 4}, {40, 10, 1, 5, 5, 5},
                                          {50, 10, 1, 6, 6, 6}}),
              samples);
    EXPECT_EQ(2u, recorder.TransfersPerSample());
}

}  // namespace
