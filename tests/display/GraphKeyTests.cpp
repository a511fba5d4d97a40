// The graph key: its fixed size and place, the seven titles and the icons'
// colours (solid for reads, stippled for writes).
#include "display/GraphColors.h"
#include "display/GraphKey.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {


TEST(GraphKey, Is659By19PixelsEnding19PixelsAboveTheChart)
{
    for (const Rect chart : {Rect{108, 58, 288, 438}, Rect{60, 30, 400, 700}, Rect{40, 24, 41, 25}}) {
        const Rect key = GraphKeyBounds(chart);
        EXPECT_EQ(key.top, chart.top - 38);
        EXPECT_EQ(key.bottom, chart.top - 19);
        EXPECT_EQ(key.left, chart.left - 24);
        EXPECT_EQ(key.right - key.left, 659);
        EXPECT_EQ((key.right - key.left) / kGraphKeyColumns, 94);
    }
}

TEST(GraphKey, EachIconColumnShowsItsColourAndTheFirstNone)
{
    QImage key(659, kGraphKeyHeight, QImage::Format_RGB32);
    key.fill(Qt::white);
    {
        QPainter painter(&key);
        PaintGraphKey(painter, QRect(0, 0, 658, kGraphKeyHeight), true);
    }
    const QColor colours[kGraphKeyColumns] = {QColor(), myGreenColor, myGreenColor, myYellowColor,
                                              myYellowColor, myRedColor, myRedColor};
    for (int c = 0; c < kGraphKeyColumns; ++c) {
        int found[3] = {0, 0, 0};
        for (int y = 0; y < kGraphKeyHeight; ++y)
            for (int x = c * 94; x < (c + 1) * 94; ++x) {
                const QRgb p = key.pixel(x, y);
                found[0] += p == myGreenColor.rgb();
                found[1] += p == myYellowColor.rgb();
                found[2] += p == myRedColor.rgb();
            }
        const int total = found[0] + found[1] + found[2];
        if (c == 0) {
            EXPECT_EQ(total, 0);
            continue;
        }
        const int wanted = colours[c] == myGreenColor ? 0 : colours[c] == myYellowColor ? 1 : 2;
        EXPECT_GE(found[wanted], 40) << "column " << c;
        EXPECT_EQ(total, found[wanted]) << "column " << c;
    }
}

}  // namespace
