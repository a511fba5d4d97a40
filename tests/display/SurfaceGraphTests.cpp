// The surface run's line graph as rendered pixels and its help tags.
#include "GraphFixture.h"
#include "KnownSurfaceRun.h"

#include "display/EarlierRun.h"
#include "display/GraphColors.h"
#include "display/SurfaceGraph.h"
#include "display/SurfaceSummary.h"

#include <QPalette>

namespace {

// The fixture's chart: left 58, top 108, bottom 288, 380 columns; one sample
// per column. Scale 81 MB/s: 80 MB/s 178 pixels up, rounded.
constexpr int kTop = 108, kLeft = 58, kBottom = 288;

int RowOf(double speed, double top) { return static_cast<int>(std::lround(kBottom - 180.0 * speed / top)); }

class SurfaceGraphTest : public GraphFixture {
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        shown = KnownSurfaceRun();
    }
    void TearDown() override { gEarlierRun = EarlierRun{}; }
};

TEST_F(SurfaceGraphTest, LinesMarksAndTemperatureStandWhereTheKnownRunPutsThem)
{
    Render();
    EXPECT_EQ(result.scaleTop, 81u);
    EXPECT_TRUE(result.labelsSet);
    EXPECT_EQ(result.barsDrawn, 0);
    const int read = RowOf(80, 81), fastWrite = RowOf(60, 81), slowWrite = RowOf(20, 81), warm = RowOf(40, 100);
    for (int x : {kLeft, kLeft + 50, kLeft + 189}) {
        EXPECT_EQ(Hex(At(x, read)), Hex(myGreenColor)) << x;
        EXPECT_EQ(Hex(At(x, fastWrite)), Hex(myRedColor)) << x;
        EXPECT_NE(Hex(At(x, slowWrite)), Hex(myRedColor)) << x;
        EXPECT_EQ(Hex(At(x, warm)), Hex(kTemperatureColor)) << x;
    }
    // Where the writes fall, the line steps down within one column (under the temperature's).
    for (int y = fastWrite; y <= slowWrite; ++y)
        EXPECT_EQ(Hex(At(kLeft + 190, y)), Hex(y == warm ? kTemperatureColor : myRedColor)) << y;
    EXPECT_EQ(Hex(At(kLeft + 310, slowWrite)), Hex(myRedColor));
    EXPECT_NE(Hex(At(kLeft + 310, fastWrite)), Hex(myRedColor));
    // The slow read at sector 200,000 is ticked at the top of column 100.
    EXPECT_EQ(Hex(At(kLeft + 100, kTop)), Hex(kSlowBlockColor));
    EXPECT_EQ(Hex(At(kLeft + 100, kTop + kSlowBlockTickHeight - 1)), Hex(kSlowBlockColor));
    EXPECT_NE(Hex(At(kLeft + 100, kTop + kSlowBlockTickHeight)), Hex(kSlowBlockColor));
    EXPECT_NE(Hex(At(kLeft + 101, kTop)), Hex(kSlowBlockColor));
    // Sectors 600,000 to 600,007 are unreadable: column 300 is dark top to bottom.
    for (int y : {kTop, read, 200, kBottom - 1})
        EXPECT_EQ(Hex(At(kLeft + 300, y)), Hex(kUnreadableColor)) << y;
    // Nothing past the span covered.
    EXPECT_NE(Hex(At(kLeft + 380, read)), Hex(myGreenColor));
}

TEST_F(SurfaceGraphTest, FoldedSamplesShowTheirRangeAsABandAroundTheAverage)
{
    shown.settings.writes = false;
    for (SurfaceSample& sample : shown.surface.samples)
        sample = {sample.firstSector, sample.sectors, 8, 40, 60, 80, 0, 0, 0};
    Render();
    const int x = kLeft + 20;
    EXPECT_EQ(Hex(At(x, RowOf(60, 81))), Hex(myGreenColor));
    const QColor band = At(x, RowOf(70, 81));
    EXPECT_EQ(Hex(At(x, RowOf(80, 81))), Hex(band));
    EXPECT_EQ(Hex(At(x, RowOf(40, 81))), Hex(band));
    EXPECT_NE(Hex(band), Hex(kLightGraphChrome.active.backdropFace));
    EXPECT_NE(Hex(band), Hex(myGreenColor));
    EXPECT_NE(Hex(At(x, RowOf(40, 81) + 2)), Hex(band));
    EXPECT_TRUE(SurfaceHelpTag(shown, x, 150).find("Read: 60.00 MB/sec (40.00 - 80.00)") != std::string::npos);
}

TEST_F(SurfaceGraphTest, DarkDesktopsGetTheLightLinesOnTheirDarkBackdropAndTheFiguresTheirSummary)
{
    QPalette dark(QColor(52, 52, 56), QColor(40, 40, 44));
    context.chrome = GraphChromeFor(dark);
    Render();
    EXPECT_EQ(Hex(At(kLeft + 50, RowOf(80, 81))), Hex(myLtGreenColor));
    EXPECT_EQ(Hex(At(kLeft + 50, RowOf(60, 81))), Hex(myLtRedColor));
    EXPECT_LT(At(kLeft + 50, 150).lightness(), 96);
    shown.end = RunEnd::Stopped;
    shown.surface.coveredSectors = 380000;
    EXPECT_EQ(SurfaceSummaryText(shown).toStdString(),
              "Reads: average 80.0, minimum 80.0, 1 % low 80.0 MB/sec in 4.5 sec\n"
              "Writes: average 31.2, minimum 20.0, 1 % low 20.0 MB/sec in 11.6 sec\n"
              "Writes fell from 60 MB/s to 20 MB/s after 0.2 GB   Slow blocks: 1   Unreadable sectors: 8   "
              "Highest temperature: 40 \u00b0C   Stopped after 0.2 of 0.4 GB");
}

TEST_F(SurfaceGraphTest, OverlayAndEarlierRunShareTheScale)
{
    gEarlierRun = {true, "earlier", KnownSurfaceRun()};
    for (SurfaceSample& sample : gEarlierRun.run.surface.samples)
        sample.readAverage = sample.readMinimum = sample.readMaximum = 161.5f;
    context.overlay = {true, 50.0, 1};
    Render();
    EXPECT_EQ(result.scaleTop, 162u);
    const QColor earlier = At(kLeft + 40, RowOf(161.5, 162));
    EXPECT_NE(Hex(earlier), Hex(kLightGraphChrome.active.backdropFace));
    EXPECT_GT(earlier.blue(), earlier.red());
    // The target line of 50 MB/s on a scale of 162.
    EXPECT_EQ(Hex(At(kLeft + 40, static_cast<int>(kBottom - 180.0 * 50 / 162))), Hex(myWhiteColor));
    EXPECT_FALSE(result.warningShown);
    context.overlay.targetRate = 500.0;
    Render();
    EXPECT_TRUE(result.warningShown);
}

TEST_F(SurfaceGraphTest, HelpTagTellsPositionSpeedsTemperatureAndTheEarlierRun)
{
    Render();
    // Column 100: sectors 200,000 to 201,999, 0.1 GB in.
    EXPECT_EQ(SurfaceHelpTag(shown, kLeft + 100, 200),
              "Position: 0.1 GB\rRead: 80.00 MB/sec\rWrite: 60.00 MB/sec\rTemperature: 40 \u00b0C");
    gEarlierRun = {true, "earlier", KnownSurfaceRun()};
    EXPECT_EQ(SurfaceHelpTag(shown, kLeft + 250, 200),
              "Position: 0.2 GB\rRead: 80.00 MB/sec\rWrite: 20.00 MB/sec\rTemperature: 40 \u00b0C"
              "\rEarlier Read: 80.00 MB/sec\rEarlier Write: 20.00 MB/sec");
    EXPECT_EQ(SurfaceHelpTag(shown, kLeft + 385, 200), "");  // past the span covered
    EXPECT_EQ(SurfaceHelpTag(shown, kLeft + 100, kTop - 1), "");
}

}  // namespace
