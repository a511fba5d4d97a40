// The stand-alone picture of the result graph: layout, bars, the key's icon
// colours and the labels.
#include "GraphFixture.h"

#include "display/GraphColors.h"
#include "display/GraphImage.h"
#include "display/GraphKey.h"

namespace {

using GraphImageTest = GraphFixture;

// Dark text pixels in a rectangle of the picture.
int InkIn(const QImage& picture, const QRect& area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += qGray(picture.pixel(x, y)) < 110;
    return ink;
}

TEST_F(GraphImageTest, PictureHoldsKeyLabelsAndBars)
{
    SetEvenZones(3, {20, 30, 40}, true);
    GraphImageOptions options;
    options.title = QStringLiteral("Zone test");
    const QImage picture = RenderResultGraphImage(shown, options);
    ASSERT_FALSE(picture.isNull());
    const Rect chart = gGraphicChartRect;
    // Zone 1 reads at the chart's left edge (the chart's place and size are checked through kestrelia-cli --graph).
    EXPECT_EQ(Hex(picture.pixelColor(chart.left + 5, chart.bottom - 1)), Hex(myRedColor));
    // The key row above the chart: no icon in the first of its 94-pixel columns, then
    // maximum, average and minimum (reads, writes) in green, yellow and red only.
    const Rect key = GraphKeyBounds(chart);
    const QRgb colours[kGraphKeyColumns] = {0, myGreenColor.rgb(), myGreenColor.rgb(), myYellowColor.rgb(),
                                            myYellowColor.rgb(), myRedColor.rgb(), myRedColor.rgb()};
    for (int c = 0; c < kGraphKeyColumns; ++c) {
        int wanted = 0, others = 0;
        for (int y = key.top; y < key.bottom; ++y)
            for (int x = key.left + c * 94; x < key.left + (c + 1) * 94; ++x) {
                const QRgb p = picture.pixel(x, y);
                wanted += p == colours[c];
                others += p != colours[c] && (p == myGreenColor.rgb() || p == myYellowColor.rgb() || p == myRedColor.rgb());
            }
        EXPECT_EQ(others, 0) << "column " << c;
        EXPECT_GE(wanted, c == 0 ? 0 : 40) << "column " << c;
    }
    // A speed label at every grid line but the floor's, and "0" there.
    for (int i = 0; i <= 10; ++i) {
        const int y = chart.bottom - i * gGridHeight;
        EXPECT_GT(InkIn(picture, QRect(4, y - 6, gButtonPictRect.left - 10, 12)), 5) << "line " << i;
    }
    EXPECT_GT(InkIn(picture, QRect(16, 8, 200, 20)), 20);  // the title
}

}  // namespace
