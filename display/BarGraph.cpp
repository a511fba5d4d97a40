#include "display/GraphRenderer.h"

#include "display/EarlierRun.h"
#include "display/GraphColors.h"
#include "format/ByteText.h"

#include <QImage>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace {

// Paints a segment's pixels straight into the image: the graph redraws after
// every timed transfer, so this allocates nothing. Write bars are stippled: the
// segment colour on the pattern's set pixels, the background on the others,
// with the pattern anchored at the window's origin.
void PaintSegment(QImage& image, QPoint origin, int left, int top, int right, int bottom,
                  const QColor& colour, bool stippled, const QColor& background)
{
    const QRect windowArea(left, top, right - left, bottom - top);
    if (!stippled) {
        FillPixels(image, origin, windowArea, colour.rgb());
        return;
    }
    // The pattern is laid on device pixels, so it stays even at any scale.
    const DevicePixels device(image, origin);
    const QRect area = device.Area(windowArea) & image.rect();
    const QRgb ink = colour.rgb();
    const QRgb paper = background.rgb();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const unsigned pattern = kWriteBarPattern[(y + device.originPixels.y()) & 7];
        for (int x = area.left(); x <= area.right(); ++x)
            row[x] = (pattern & (0x80u >> ((x + device.originPixels.x()) & 7))) != 0 ? ink : paper;
    }
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

void MakeBarHelpTag(int zoneIndex, bool isRead, uint64_t firstSector, const ZoneSpeeds& speeds, std::string& tag)
{
    char sector[64];
    std::snprintf(sector, sizeof sector, "%" PRIu64, firstSector);
    InsertThousandsSeparators(sector);
    const char* kind = isRead ? "Read" : "Write";
    char text[512];
    int length = std::snprintf(text, sizeof text,
                               "Zone: %d\rStarting Sector: %s\rMaximum %s Speed: %.2f MB/sec\r"
                               "Average %s Speed: %.2f MB/sec\rMinimum %s Speed: %.2f MB/sec",
                               zoneIndex + 1, sector, kind, speeds.maximum, kind,
                               speeds.average, kind, speeds.minimum);
    if (length > 0 && length < static_cast<int>(sizeof text))
        length += std::snprintf(text + length, sizeof text - static_cast<size_t>(length), "%s",
                                EarlierRunHelpText(zoneIndex, isRead, speeds.average).c_str());
    tag.assign(text, static_cast<size_t>(std::clamp(length, 0, 255)));
}

void DrawBarGraph(QImage& image, QPoint origin, const Run& run, int zoneIndex, bool isRead, uint32_t scaleTop,
                  int barWidth, const GraphPaintContext& context, GraphBar& bar)
{
    const uint64_t sectors = run.target.Sectors();
    if (zoneIndex < 0 || zoneIndex >= static_cast<int>(run.zones.size()) || sectors == 0)
        return;
    const ZoneResult& zone = run.zones[static_cast<size_t>(zoneIndex)];
    const ZoneSpeeds& speeds = isRead ? zone.read : zone.write;
    const Rect& chart = gGraphicChartRect;

    // Horizontal place: the zone's first sector on the drive's scale.
    const uint64_t chartWidth = static_cast<uint64_t>(std::max<int>(RectWidth(chart), 0));
    const uint64_t first = std::min(zone.firstSector, sectors);
    int x0 = chart.left + static_cast<int>((first * chartWidth) / sectors);
    if (!isRead)
        x0 += barWidth;
    const int x1 = x0 + barWidth;

    const int yMin = BarTopForSpeed(speeds.minimum, scaleTop);
    const int yAve = BarTopForSpeed(speeds.average, scaleTop);
    const int yMax = BarTopForSpeed(speeds.maximum, scaleTop);
    const bool active = context.windowActive;
    const bool stippled = !isRead;
    PaintSegment(image, origin, x0, yMin, x1, chart.bottom, active ? myRedColor : myLtRedColor,
                 stippled, context.background);
    PaintSegment(image, origin, x0, yAve, x1, yMin, active ? myYellowColor : myLtYellowColor, stippled,
                 context.background);
    PaintSegment(image, origin, x0, yMax, x1, yAve, active ? myGreenColor : myLtGreenColor, stippled,
                 context.background);
    bar.area = QRect(x0, yMax, x1 - x0, chart.bottom - yMax);
    MakeBarHelpTag(zoneIndex, isRead, zone.firstSector, speeds, bar.helpTag);
}
