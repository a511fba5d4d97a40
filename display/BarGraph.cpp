#include "display/GraphRenderer.h"

#include "display/GraphColors.h"
#include "format/ByteText.h"

#include <QBrush>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The write bars' stipple: the segment colour on the pattern's set pixels,
// the background on the others. Kept per colour until the background changes.
class StippleBrushes {
public:
    const QBrush& For(const QColor& colour, const QColor& background)
    {
        if (background != background_) {
            count_ = 0;
            background_ = background;
        }
        for (int i = 0; i < count_; ++i)
            if (colours_[i] == colour)
                return brushes_[i];
        const int slot = count_ < kSlots ? count_++ : kSlots - 1;
        QImage tile(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                tile.setPixelColor(x, y, (kWriteBarPattern[y] & (0x80 >> x)) ? colour : background);
        colours_[slot] = colour;
        brushes_[slot] = QBrush(tile);
        return brushes_[slot];
    }

private:
    static constexpr int kSlots = 6;
    QColor background_;
    QColor colours_[kSlots];
    QBrush brushes_[kSlots];
    int count_ = 0;
};

StippleBrushes& Stipples()
{
    static StippleBrushes brushes;
    return brushes;
}

void PaintSegment(QPainter& painter, int left, int top, int right, int bottom,
                  const QColor& colour, bool stippled, const QColor& background)
{
    if (bottom <= top || right <= left)
        return;
    const QRect area(left, top, right - left, bottom - top);
    if (!stippled) {
        painter.fillRect(area, colour);
        return;
    }
    // The pattern is anchored at the window's origin, as the port's pattern is.
    painter.setBrushOrigin(0, 0);
    painter.fillRect(area, Stipples().For(colour, background));
}

}  // namespace

int BarTopForSpeed(double speed, uint32_t top)
{
    const Rect& chart = gGraphicChartRect;
    const double fullScale = 10.0 * gGridHeight;
    double height = std::trunc(fullScale * speed / (top == 0 ? 1.0 : double(top)));
    if (!(height >= 0.0))  // negative or NaN: nothing to show
        height = 0.0;
    // Anything above the scale is clipped at the chart's top edge.
    const double y = chart.bottom - height;
    return y < chart.top ? chart.top : static_cast<int>(y);
}

void MakeBarHelpTag(int zoneIndex, bool isRead, const ZoneResultsRec& rec, Str255 tag)
{
    char sector[64];
    std::snprintf(sector, sizeof sector, "%" PRIu64, rec.firstSectorU64);
    AddCommasToCStringNumber(sector);
    const char* kind = isRead ? "Read" : "Write";
    char text[512];
    int length = std::snprintf(text, sizeof text,
                               "Zone: %d\rStarting Sector: %s\rMaximum %s Speed: %.2f MB/sec\r"
                               "Average %s Speed: %.2f MB/sec\rMinimum %s Speed: %.2f MB/sec",
                               zoneIndex + 1, sector, kind, rec.maxSpeedDbl, kind,
                               rec.aveSpeedDbl, kind, rec.minSpeedDbl);
    length = std::clamp(length, 0, 255);
    tag[0] = static_cast<unsigned char>(length);
    std::memcpy(tag + 1, text, static_cast<size_t>(length));
}

void DrawBarGraph(QPainter& painter, int16_t zoneIndex, bool isRead, uint32_t scaleTop,
                  const GraphPaintContext& context)
{
    if (zoneIndex < 0 || zoneIndex >= kMaxZoneCount || gDriveSectorsU64 == 0)
        return;
    const ZoneResultsRec& rec =
        isRead ? gSavedREADResultsInfo[zoneIndex] : gSavedWRITEResultsInfo[zoneIndex];
    const Rect& chart = gGraphicChartRect;

    // Horizontal place: the zone's first sector on the drive's scale.
    const uint64_t chartWidth = static_cast<uint64_t>(std::max<int>(RectWidth(chart), 0));
    const uint64_t first = std::min(rec.firstSectorU64, gDriveSectorsU64);
    int x0 = chart.left + static_cast<int>((first * chartWidth) / gDriveSectorsU64);
    if (!isRead)
        x0 += gBarGraphWidth;
    const int x1 = x0 + gBarGraphWidth;

    const int yMin = BarTopForSpeed(rec.minSpeedDbl, scaleTop);
    const int yAve = BarTopForSpeed(rec.aveSpeedDbl, scaleTop);
    const int yMax = BarTopForSpeed(rec.maxSpeedDbl, scaleTop);
    const bool active = context.windowActive;
    const bool stippled = !isRead;
    PaintSegment(painter, x0, yMin, x1, chart.bottom, active ? myRedColor : myLtRedColor,
                 stippled, context.background);
    PaintSegment(painter, x0, yAve, x1, yMin, active ? myYellowColor : myLtYellowColor, stippled,
                 context.background);
    PaintSegment(painter, x0, yMax, x1, yAve, active ? myGreenColor : myLtGreenColor, stippled,
                 context.background);

    Rect& tagRect = isRead ? gSavedReadResultsGraphRects[zoneIndex]
                           : gSavedWriteResultsGraphRects[zoneIndex];
    tagRect = Rect{static_cast<int16_t>(yMax + kHelpTagOffset), static_cast<int16_t>(x0),
                   static_cast<int16_t>(chart.bottom + kHelpTagOffset), static_cast<int16_t>(x1)};
    MakeBarHelpTag(zoneIndex, isRead, rec,
                   isRead ? gSavedReadResultsHelpTag[zoneIndex] : gSavedWriteResultsHelpTag[zoneIndex]);
}
