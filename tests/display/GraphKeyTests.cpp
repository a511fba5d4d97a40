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

TEST(GraphKey, ColumnTitlesInOrder)
{
    const char* titles[kGraphKeyColumns] = {"Graph Key:", "Max Read", "Max Write", "Ave Read",
                                            "Ave Write",  "Min Read", "Min Write"};
    for (int c = 0; c < kGraphKeyColumns; ++c)
        EXPECT_STREQ(GraphKeyTitle(c), titles[c]);
}

struct IconRow {
    int index;
    QColor colour;
    bool stippled;
};

const IconRow kIconRows[] = {
    {0, myGreenColor, false}, {1, myGreenColor, true}, {2, myYellowColor, false},
    {3, myYellowColor, true}, {4, myRedColor, false},  {5, myRedColor, true},
};

TEST(GraphKey, IconsShowTheSegmentColour)
{
    const unsigned char rows[8] = {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD};
    for (const IconRow& row : kIconRows) {
        const QImage icon = MakeGraphKeyIcon(row.index);
        ASSERT_EQ(icon.size(), QSize(16, 16));
        int coloured = 0, other = 0;
        for (int y = 3; y < 13; ++y)
            for (int x = 3; x < 13; ++x) {
                const bool isColour = icon.pixelColor(x, y).rgb() == row.colour.rgb();
                const bool expected = !row.stippled || (rows[y % 8] & (0x80 >> (x % 8))) != 0;
                EXPECT_EQ(isColour, expected) << "icon " << row.index << " x " << x << " y " << y;
                (isColour ? coloured : other) += 1;
            }
        EXPECT_GT(coloured, 0);
        EXPECT_EQ(other > 0, row.stippled) << "icon " << row.index;
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
