// The target-rate overlay over a one-zone graph on a 90 MB/s scale (two pixels
// per MB/s): line positions, the washed band, the warning text and its switch.
#include "GraphFixture.h"

#include "display/GraphColors.h"
#include "display/OverlaySettings.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kTop = 108, kLeft = 58, kBottom = 288, kRight = 438;
constexpr int kLineEnd = kRight + 30;  // both overlay lines end here, included

class OverlayTest : public GraphFixture {
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        SetZone(0, 0, {30, 45, 89.5});
    }

    // The same graph without the overlay, to compare the band with.
    QImage Plain()
    {
        GraphPaintContext plain = context;
        plain.overlay.enabled = false;
        return RenderGraphImage(shown, plain);
    }

    QColor PlainAt(const QImage& plain, int x, int y) const
    {
        return plain.pixelColor(x - gButtonPictRect.left, y - gButtonPictRect.top);
    }

    bool RowIsWhite(int y) const
    {
        for (int x = kLeft; x <= kLineEnd; ++x)
            if (Hex(At(x, y)) != Hex(myWhiteColor))
                return false;
        return true;
    }
};

// A third of the way toward white, per channel.
int Washed(int channel)
{
    return (channel * 0xAAAA + 0xFF * (0xFFFF - 0xAAAA)) / 0xFFFF;
}

// The line rows for a target and margin are checked through the window in
// tests/shell; these are their edges: where the lines end, the band's edge,
// the chart's top and a target of zero. safety is the popup value: a margin of
// (5 * value - 5) percent.
TEST_F(OverlayTest, LinesSpanTheChartAndTheBandBetweenThemIsWashed)
{
    const struct { uint32_t target; int32_t safety; int targetY, safetyY; } rows[] = {
        {45, 3, 198, 189},       // 90 pixels above the floor: 9 pixels of margin
        {80, 21, 128, kTop},     // 100 %: stops at the chart's top
        {0, 3, kBottom, kBottom},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target);
        context.overlay = OverlayInputs{true, double(row.target), row.safety};
        const QImage plain = Plain();
        Render();
        EXPECT_FALSE(result.warningShown);
        EXPECT_TRUE(RowIsWhite(row.targetY));
        EXPECT_TRUE(RowIsWhite(row.safetyY));
        // Both lines stop 30 pixels right of the chart.
        EXPECT_EQ(Hex(At(kLineEnd + 1, row.targetY)), Hex(PlainAt(plain, kLineEnd + 1, row.targetY)));
        EXPECT_EQ(Hex(At(kLeft - 1, row.targetY)), Hex(PlainAt(plain, kLeft - 1, row.targetY)));
        // Between the lines every pixel is washed toward white; the band's right edge is excluded.
        for (int y = row.safetyY + 1; y < row.targetY; ++y) {
            for (int x = kLeft; x < kLineEnd; x += 3) {
                const QColor before = PlainAt(plain, x, y), after = At(x, y);
                ASSERT_LE(std::abs(after.red() - Washed(before.red())) + std::abs(after.green() - Washed(before.green())) +
                              std::abs(after.blue() - Washed(before.blue())), 3) << "x " << x << " y " << y;
            }
            EXPECT_EQ(Hex(At(kLineEnd, y)), Hex(PlainAt(plain, kLineEnd, y))) << "y " << y;
        }
        EXPECT_EQ(Hex(At(kLeft + 5, row.targetY + 1)), Hex(PlainAt(plain, kLeft + 5, row.targetY + 1)));
    }
}

// The bounding box of the pure white pixels inside the chart.
QRect WhiteArea(const QImage& image, QPoint origin)
{
    QRect area;
    for (int y = kTop; y < kBottom; ++y)
        for (int x = kLeft; x < kRight; ++x)
            if (image.pixel(x - origin.x(), y - origin.y()) == qRgb(255, 255, 255))
                area |= QRect(x, y, 1, 1);
    return area;
}

TEST_F(OverlayTest, TargetAboveEverySpeedShowsTheCentredWarningAndEqualToItTheLines)
{
    SetZone(0, 0, {30, 45, 99.9});
    context.overlay = OverlayInputs{true, 100.0, 3};
    Render();
    ASSERT_TRUE(result.warningShown);
    const QRect text = WhiteArea(image, QPoint(gButtonPictRect.left, gButtonPictRect.top));
    ASSERT_FALSE(text.isEmpty());
    const int baseline = kBottom - (kBottom - kTop) / 2;
    EXPECT_LE(std::abs(text.center().x() - (kLeft + (kRight - kLeft) / 2)), 3);
    EXPECT_LE(text.bottom(), baseline + 8);   // only the g of "Target" hangs below
    EXPECT_GE(text.top(), baseline - 24);
    EXPECT_LE(text.top(), baseline - 12);     // capitals of a 24-pixel bold face
    EXPECT_GT(text.width(), 250);
    // The white letters have a dark rim, so they read over light bars too.
    int rim = 0;
    for (int y = text.top(); y <= text.bottom() + 2; ++y)
        for (int x = text.left() - 1; x <= text.right() + 2; ++x) {
            const QColor c = At(x, y);
            rim += std::max({c.red(), c.green(), c.blue()}) < 70;
        }
    EXPECT_GT(rim, 200);
    EXPECT_FALSE(RowIsWhite(kTop));  // no target line at the top of the 100 MB/s scale

    // A target equal to the highest speed shows the lines.
    SetZone(0, 0, {30, 45, 100.0});
    Render();
    EXPECT_FALSE(result.warningShown);
    EXPECT_TRUE(RowIsWhite(109));  // 288 - 180 * 100 / 101 = 109.78, truncated
}

TEST_F(OverlayTest, NothingIsDrawnWhenSwitchedOffOrUnmeasured)
{
    for (const bool enabled : {false, true}) {
        shown.zones[0].read.cycles[0] = enabled ? 0.0 : 89.5;  // on: but nothing measured
        context.overlay = OverlayInputs{enabled, 45.0, 3};
        Render();
        EXPECT_FALSE(RowIsWhite(198) || RowIsWhite(189)) << enabled;  // where the lines would be
        context.overlay.targetRate = 500.0;  // would be the warning
        Render();
        EXPECT_FALSE(result.warningShown) << enabled;
    }
}

TEST(OverlaySettings, BaselineFieldTakesDigitsOnly)
{
    const struct { const char* text; bool ok; uint32_t value; } rows[] = {
        {"", true, 0}, {"120", true, 120}, {"12a", false, 0}, {"-5", false, 0}, {"99999999999", true, 4294967295u}};
    for (const auto& row : rows) {
        uint32_t value = 0;
        EXPECT_EQ(ParseWholeNumber(QString::fromLatin1(row.text), value), row.ok) << row.text;
        EXPECT_EQ(value, row.ok ? row.value : 0u) << row.text;
    }
}

}  // namespace
