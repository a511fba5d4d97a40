// The bar graph as rendered pixels: segment heights, positions, stipple, grid,
// axis labels, help-tag rectangles and texts.
#include "GraphFixture.h"

#include "display/EarlierRun.h"
#include "display/GraphColors.h"
#include "display/GraphGeometry.h"

#include <string>

namespace {

// Chart of the fixture: top 108, left 58, bottom 288, right 438; full scale 180 pixels.
constexpr int kTop = 108, kLeft = 58, kBottom = 288, kRight = 438;

// maxSpeed is the test's highest speed, which sets the scale; the tops are the first row of each segment.
struct SegmentRow { const char* name; BarSpeeds speeds; double maxSpeed; bool active; int redTop, yellowTop, greenTop; };

const SegmentRow kSegmentRows[] = {
    // Scale 90 MB/s: two pixels per MB/s.
    {"stacked", {30, 45, 89.5}, 89.5, true, 228, 198, 109},
    {"stacked_inactive", {30, 45, 89.5}, 89.5, false, 228, 198, 109},
    // Scale 41: 180 * 40 / 41 = 175.6, truncated.
    {"equal_min_ave_max", {40, 40, 40}, 40, true, 113, 113, 113},
    // Scale 51; 80 MB/s is above it and stops at the chart's top.
    {"above_scale", {10, 30, 80}, 50, true, 253, 183, kTop},
    // Scale 1: 180 pixels per MB/s.
    {"below_one", {0.25, 0.5, 0.75}, 0.75, true, 243, 198, 153},
};

using BarGraphTest = GraphFixture;

TEST_F(BarGraphTest, ColumnShowsTheThreeSegmentsFromTheFloor)
{
    for (const SegmentRow& row : kSegmentRows) {
        SCOPED_TRACE(row.name);
        SetZone(0, 0, row.speeds);
        shown.maxSpeed = row.maxSpeed;
        context.windowActive = row.active;
        Render();
        ASSERT_EQ(result.barsDrawn, 1);
        const QColor red = row.active ? myRedColor : myLtRedColor;
        const QColor yellow = row.active ? myYellowColor : myLtYellowColor;
        const QColor green = row.active ? myGreenColor : myLtGreenColor;
        for (int x : {kLeft + 1, kLeft + 7, kLeft + 14}) {
            for (int y = kTop - 2; y < kBottom; ++y) {
                const QColor c = At(x, y);
                const QColor& wanted = y >= row.redTop ? red : y >= row.yellowTop ? yellow : green;
                if (y >= row.greenTop)
                    EXPECT_EQ(Hex(c), Hex(wanted)) << "x " << x << " y " << y;
                else
                    EXPECT_TRUE(Hex(c) != Hex(red) && Hex(c) != Hex(yellow) && Hex(c) != Hex(green))
                        << "x " << x << " y " << y;
            }
            // The floor row belongs to the chart's bottom grid line, not the bar.
            EXPECT_NE(Hex(At(x, kBottom)), Hex(red));
        }
        // The bar is 15 pixels wide: nothing of it right of x0 + 14.
        EXPECT_NE(Hex(At(kLeft + 15, kBottom - 1)), Hex(red));
        EXPECT_EQ(result.bars[0].area, QRect(QPoint(kLeft, row.greenTop), QPoint(kLeft + 14, kBottom - 1)));
    }
}

TEST_F(BarGraphTest, ZoneStandsAtItsFirstSectorWithTheStippledWriteBarBesideIt)
{
    shown.settings.writes = true;
    SetZone(0, kDriveSectors / 2, {30, 45, 89.5}, true);
    SetZone(0, kDriveSectors / 2, {30, 45, 89.5}, false);
    Render();
    ASSERT_EQ(result.barsDrawn, 2);
    // Half the drive is half of the 380-pixel chart.
    const int read = kLeft + 190, write = read + 15;
    EXPECT_EQ(result.bars[0].area.left(), read);
    EXPECT_EQ(result.bars[1].area.left(), write);
    EXPECT_NE(Hex(At(read - 1, kBottom - 1)), Hex(myRedColor));
    EXPECT_NE(Hex(At(write + 15, kBottom - 1)), Hex(myRedColor));
    // Reads solid; writes in the dark gray pattern, anchored at the window's origin.
    const unsigned char rows[8] = {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD};
    struct Segment { int top, bottom; QColor colour; };
    for (const Segment& s : {Segment{228, kBottom, myRedColor}, Segment{198, 228, myYellowColor},
                             Segment{109, 198, myGreenColor}}) {
        for (int y = s.top; y < s.bottom; ++y)
            for (int x = read; x < write + 15; ++x) {
                const bool set = x < write || (rows[y % 8] & (0x80 >> (x % 8))) != 0;
                ASSERT_EQ(Hex(At(x, y)), Hex(set ? s.colour : context.background)) << "x " << x << " y " << y;
            }
    }
}

// unmeasuredRead/Write: a zone index left unmeasured in that array, or -1.
struct CountRow { const char* name; int zones; bool writes; int unmeasuredRead, unmeasuredWrite; uint64_t driveSectors; int expectedBars; };

const CountRow kCountRows[] = {
    {"fifty_zones_with_writes", 50, true, -1, -1, GraphFixture::kDriveSectors, 100},
    // Zones are measured in order: a gap ends the bars.
    {"zone_three_of_five_unmeasured", 5, false, 2, -1, GraphFixture::kDriveSectors, 2},
    {"write_not_yet_measured", 3, true, -1, 2, GraphFixture::kDriveSectors, 5},
    {"no_measured_zone", 4, true, 0, -1, GraphFixture::kDriveSectors, 0},
    {"drive_size_unknown", 4, false, -1, -1, 0, 0},
};

TEST_F(BarGraphTest, DrawsBarsOfMeasuredZonesOnly)
{
    for (const CountRow& row : kCountRows) {
        SCOPED_TRACE(row.name);
        SetUp();  // a clean run for each row
        SetEvenZones(row.zones, {10, 20, 30}, row.writes);
        if (row.unmeasuredRead >= 0)
            shown.zones[row.unmeasuredRead].read.cycles[0] = 0.0;
        if (row.unmeasuredWrite >= 0)
            shown.zones[row.unmeasuredWrite].write.cycles[0] = 0.0;
        shown.target.sizeBytes = row.driveSectors * 512;
        Render();
        EXPECT_EQ(result.barsDrawn, row.expectedBars);
        ASSERT_EQ(result.bars.size(), static_cast<size_t>(row.expectedBars));
        if (row.zones == 50) {
            EXPECT_EQ(result.barWidth, 6);
            EXPECT_EQ(result.bars.back().area.width(), 6);
        }
    }
}

TEST(BarWidth, FollowsTheZoneCountTable)
{
    const std::pair<int32_t, uint16_t> rows[] = {{1, 15}, {9, 15}, {10, 12}, {19, 12}, {20, 10}, {29, 10},
                                                 {30, 8}, {39, 8}, {40, 6}, {50, 6}};
    for (const auto& [zones, width] : rows)
        EXPECT_EQ(width, BarWidthForZoneCount(zones)) << zones;
}

TEST_F(BarGraphTest, AxisLabelsFollowTheHighestSpeed)
{
    SetZone(0, 0, {50, 70, 85.3});
    Render();
    ASSERT_TRUE(result.labelsSet);
    EXPECT_EQ(result.scaleTop, 86u);
    const char* expected[10] = {"86.000", "77.400", "68.800", "60.200", "51.600",
                                "43.000", "34.400", "25.800", "17.200", "8.600"};
    for (int i = 0; i < 10; ++i)
        EXPECT_STREQ(result.axisLabels[i], expected[i]) << "label " << i;
    const std::pair<double, uint32_t> tops[] = {{0.0, 1}, {99.999, 100}, {100.0, 101}, {-5.0, 0}, {1e12, 4294967295u}};
    for (const auto& [maxSpeed, top] : tops)
        EXPECT_EQ(GraphScaleTop(maxSpeed), top) << maxSpeed;
}

TEST_F(BarGraphTest, GridLinesAddToTheBackdropWhenActiveAndAreWhiteWhenInactive)
{
    const int lineY = kBottom - 5 * 18, lineX = kLeft + 3 * 38;
    // How many grid lines cover each point: horizontal lines reach right + 29, vertical ones top + 1.
    const struct { int x, y, lines; } points[] = {{kRight + 29, lineY, 1}, {kRight + 30, lineY, 0}, {lineX, 150, 1},
                                                  {lineX + 1, 150, 0},     {lineX, kTop + 1, 1},    {lineX, lineY, 2},
                                                  {kLeft + 7, kTop + 7, 0}};
    for (const bool active : {true, false}) {
        context.windowActive = active;
        Render();
        const QColor face = kLightGraphChrome.For(active).backdropFace;
        for (const auto& p : points) {
            const int n = p.lines;
            const QColor added((face.red() + n * myOffWhiteColor.red()) & 0xFF,
                               (face.green() + n * myOffWhiteColor.green()) & 0xFF,
                               (face.blue() + n * myOffWhiteColor.blue()) & 0xFF);
            EXPECT_EQ(Hex(At(p.x, p.y)), Hex(n == 0 ? face : active ? added : myWhiteColor))
                << (active ? "active " : "inactive ") << p.x << ", " << p.y;
        }
    }
}

// The read tag's text is checked under the pointer with the result panes.
TEST(HelpTags, WriteTagGroupsTheSectorAndRoundsToTwoDecimals)
{
    const ZoneSpeeds speeds{{}, 23.456, 12.345, 34.567};
    std::string tag;
    MakeBarHelpTag(11, false, 1234567, speeds, tag);
    EXPECT_EQ(tag,
              "Zone: 12\rStarting Sector: 1,234,567\rMaximum Write Speed: 34.57 MB/sec\r"
              "Average Write Speed: 23.46 MB/sec\rMinimum Write Speed: 12.35 MB/sec");
    // Compared with an earlier run, the tag gains its values and the change.
    gEarlierRun.active = true;
    gEarlierRun.run.settings.writes = true;
    gEarlierRun.run.zones.resize(12);
    ZoneResult& earlier = gEarlierRun.run.zones[11];
    earlier.read.cycles[0] = earlier.write.average = 20.0;
    earlier.write.minimum = 10.0;
    earlier.write.maximum = 30.0;
    MakeBarHelpTag(11, false, 1234567, speeds, tag);
    gEarlierRun = EarlierRun{};
    EXPECT_EQ(tag.substr(tag.find("\rEarlier")),
              "\rEarlier Average: 20.00 MB/sec (+17.3%)\rEarlier Range: 10.00 - 30.00 MB/sec");
}

}  // namespace
