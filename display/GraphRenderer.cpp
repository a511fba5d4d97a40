#include "display/GraphRenderer.h"

#include "display/EarlierRun.h"
#include "display/GraphColors.h"
#include "display/SurfaceGraph.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

QRect ToQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Changes every pixel of a line, both end points included (an axis-aligned
// line is a one-device-pixel-wide rectangle).
template <typename Change>
void ChangeLine(QImage& image, QPoint origin, int x1, int y1, int x2, int y2, Change change)
{
    const QRect line = DevicePixels(image, origin).Line(x1, y1, x2, y2) & image.rect();
    for (int y = line.top(); y <= line.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = line.left(); x <= line.right(); ++x)
            row[x] = change(row[x]);
    }
}

void DrawGridLine(QImage& image, QPoint origin, int x1, int y1, int x2, int y2, bool windowActive)
{
    if (windowActive) {
        // The additive pen: each channel of the line is added to the pixel
        // below it, wrapping around at 256.
        const int dr = myOffWhiteColor.red(), dg = myOffWhiteColor.green(), db = myOffWhiteColor.blue();
        ChangeLine(image, origin, x1, y1, x2, y2, [=](QRgb p) {
            return qRgb((qRed(p) + dr) & 0xFF, (qGreen(p) + dg) & 0xFF, (qBlue(p) + db) & 0xFF);
        });
    } else {
        const QRgb white = myWhiteColor.rgb();
        ChangeLine(image, origin, x1, y1, x2, y2, [=](QRgb) { return white; });
    }
}

void DrawBackdrop(QImage& image, QPoint origin, const GraphPaintContext& context)
{
    // The pressed panel covers the whole rectangle, so nothing of an erase to
    // the window's background would remain: the panel is painted directly,
    // its one-pixel frame around the face.
    const QRect backdrop = ToQRect(gButtonPictRect);
    const QRgb face = context.chrome.For(context.windowActive).backdropFace.rgb();
    const QRgb frame = context.chrome.For(context.windowActive).backdropFrame.rgb();
    FillPixels(image, origin, backdrop, face);
    const auto paint = [frame](QRgb) { return frame; };
    ChangeLine(image, origin, backdrop.left(), backdrop.top(), backdrop.right(), backdrop.top(), paint);
    ChangeLine(image, origin, backdrop.left(), backdrop.bottom(), backdrop.right(), backdrop.bottom(), paint);
    ChangeLine(image, origin, backdrop.left(), backdrop.top(), backdrop.left(), backdrop.bottom(), paint);
    ChangeLine(image, origin, backdrop.right(), backdrop.top(), backdrop.right(), backdrop.bottom(), paint);
}

void DrawGrid(QImage& image, QPoint origin, bool windowActive)
{
    const Rect& chart = gGraphicChartRect;
    for (int i = 0; i <= 10; ++i) {
        const int y = chart.bottom - i * gGridHeight;
        DrawGridLine(image, origin, chart.left, y, chart.right + kGridLineOverhang, y, windowActive);
    }
    for (int i = 0; i <= 10; ++i) {
        const int x = chart.left + i * gGridWidth;
        DrawGridLine(image, origin, x, chart.top + 1, x, chart.bottom - 1, windowActive);
    }
}

}  // namespace

DevicePixels::DevicePixels(const QImage& image, QPoint origin)
    : scale(image.devicePixelRatio() > 0.0 ? image.devicePixelRatio() : 1.0),
      originPixels(int(std::lround(origin.x() * scale)), int(std::lround(origin.y() * scale)))
{
}

int DevicePixels::X(int x) const
{
    return int(std::lround(x * scale)) - originPixels.x();
}

int DevicePixels::Y(int y) const
{
    return int(std::lround(y * scale)) - originPixels.y();
}

QRect DevicePixels::Area(const QRect& windowArea) const
{
    if (windowArea.isEmpty())
        return {};
    return QRect(QPoint(X(windowArea.left()), Y(windowArea.top())),
                 QPoint(X(windowArea.left() + windowArea.width()) - 1, Y(windowArea.top() + windowArea.height()) - 1));
}

QRect DevicePixels::Line(int x1, int y1, int x2, int y2) const
{
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    QRect area(QPoint(X(left), Y(top)), QPoint(X(right + 1) - 1, Y(bottom + 1) - 1));
    if (top == bottom)
        area.setBottom(area.top());
    if (left == right)
        area.setRight(area.left());
    return area;
}

void FillDeviceArea(QImage& image, const QRect& deviceArea, QRgb colour)
{
    const QRect area = deviceArea & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row + area.left(), row + area.right() + 1, colour);
    }
}

void FillPixels(QImage& image, QPoint origin, const QRect& windowArea, QRgb colour)
{
    FillDeviceArea(image, DevicePixels(image, origin).Area(windowArea), colour);
}

double GraphHighestSpeed(const Run& run)
{
    return run.settings.kind == TestKind::Surface ? SurfaceHighestSpeed(run) : run.maxSpeed;
}

uint32_t GraphScaleTop(double maxSpeed)
{
    const double top = std::floor(maxSpeed + 1.0);
    if (!(top >= 0.0))  // also NaN
        return 0;
    if (top >= 4294967295.0)
        return 4294967295u;
    return static_cast<uint32_t>(top);
}

void PaintGraph(QImage& image, QPoint origin, const Run& run, const GraphPaintContext& context,
                GraphPaintResult& result)
{
    std::vector<GraphBar> bars = std::move(result.bars);  // their storage serves again
    result = GraphPaintResult{};
    result.runUnderWay = run.end == RunEnd::NotEnded;
    result.barWidth = BarWidthForZoneCount(run.settings.zones);

    // The scale keeps its full value, so that speeds of 32,767 MB/s and more
    // still give a sound scale.
    uint32_t top = GraphScaleTop(run.maxSpeed);
    if (top == 0)
        top = 1;
    top = std::max(top, EarlierRunScaleTop());  // an earlier run's markers fit on the scale too
    const bool surface = run.settings.kind == TestKind::Surface;
    if (surface)
        top = SurfaceScaleTop(run);
    result.scaleTop = top;
    const double step = top / 10.0;

    if (image.format() != QImage::Format_RGB32) {
        const qreal ratio = image.devicePixelRatio();
        image = image.convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
    }

    DrawBackdrop(image, origin, context);
    if (run.ZoneMeasured(0) || EarlierRunScaleTop() > 0 || (surface && top > 1)) {  // an earlier run's markers need the scale too
        for (int i = 0; i < 10; ++i)
            std::snprintf(result.axisLabels[i], sizeof result.axisLabels[i], "%.3f",
                          top - i * step);
        result.labelsSet = true;
    }
    DrawGrid(image, origin, context.windowActive);
    if (surface) {
        result.bars = std::move(bars);
        result.bars.clear();
        result.warningShown = DrawSurfaceGraph(image, origin, run, top, context);
        return;
    }

    const int zones = std::min(std::min<int32_t>(run.settings.zones, kMaxZoneCount), static_cast<int>(run.zones.size()));
    std::size_t drawn = 0;
    const auto draw = [&](int zone, bool isRead) {
        if (drawn == bars.size())
            bars.emplace_back();
        DrawBarGraph(image, origin, run, zone, isRead, top, result.barWidth, context, bars[drawn++]);
    };
    if (run.target.Sectors() != 0) {
        for (int z = 0; z < zones && run.ZoneMeasured(z); ++z) {
            draw(z, true);
            if (run.settings.writes && run.zones[static_cast<size_t>(z)].WriteMeasured())
                draw(z, false);
        }
    }
    bars.resize(drawn);
    result.bars = std::move(bars);
    result.barsDrawn = static_cast<int>(drawn);
    DrawEarlierRunMarkers(image, origin, top, context);
    if (!context.overlay.enabled || !run.ZoneMeasured(0))
        return;
    result.warningShown = DrawOverlay(image, origin, run, top, context);
}

QImage RenderGraphImage(const Run& run, const GraphPaintContext& context, GraphPaintResult* result)
{
    const QRect backdrop = ToQRect(gButtonPictRect);
    QImage image(std::max(backdrop.width(), 1), std::max(backdrop.height(), 1),
                 QImage::Format_RGB32);
    image.fill(context.background);
    GraphPaintResult local;
    PaintGraph(image, backdrop.topLeft(), run, context, result != nullptr ? *result : local);
    return image;
}
