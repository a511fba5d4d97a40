// The graph key's icons and their colours; its place above the chart is
// tested with the result panes.
#include "display/GraphColors.h"
#include "display/GraphKey.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {


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
