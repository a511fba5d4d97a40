// The stand-alone picture of the result graph: layout, bars, key and labels.
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
    const QImage picture = RenderResultGraphImage(options);
    ASSERT_FALSE(picture.isNull());
    const Rect chart = gGraphicChartRect;
    EXPECT_EQ(chart.right - chart.left, 630);
    EXPECT_EQ(chart.bottom - chart.top, 300);
    EXPECT_TRUE(QRect(QPoint(0, 0), picture.size()).contains(QRect(gButtonPictRect.left, gButtonPictRect.top,
                                                                   gButtonPictRect.right - gButtonPictRect.left,
                                                                   gButtonPictRect.bottom - gButtonPictRect.top)));
    // Zone 1 reads at the chart's left edge, its writes stippled beside them.
    EXPECT_TRUE(ColourIs(picture.pixelColor(chart.left + 5, chart.bottom - 1), myRedColor));
    int stippleRed = 0;
    for (int x = chart.left + 15; x < chart.left + 30; ++x)
        stippleRed += picture.pixelColor(x, chart.bottom - 1).rgb() == myRedColor.rgb();
    EXPECT_GT(stippleRed, 4);
    EXPECT_LT(stippleRed, 15);
    // The key row above the chart, with its icon colours.
    const Rect key = GraphKeyBounds(chart);
    int green = 0;
    for (int x = key.left; x < key.right; ++x)
        green += picture.pixelColor(x, (key.top + key.bottom) / 2).rgb() == myGreenColor.rgb();
    EXPECT_GT(green, 8);
    // A speed label at every grid line but the floor's, and "0" there.
    for (int i = 0; i <= 10; ++i) {
        const int y = chart.bottom - i * gGridHeight;
        EXPECT_GT(InkIn(picture, QRect(4, y - 6, gButtonPictRect.left - 10, 12)), 5) << "line " << i;
    }
    EXPECT_GT(InkIn(picture, QRect(16, 8, 200, 20)), 20);  // the title
}

}  // namespace
