#include "display/GraphRenderer.h"

#include "display/GraphColors.h"

#include <QPainter>

#include <cmath>
#include <cstdio>

namespace {

QRect ToQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Adds colour to every pixel of an axis-aligned line, both end points
// included, each channel wrapping around at 256 (the additive pen mode).
void AddLine(QImage& image, QPoint origin, int x1, int y1, int x2, int y2, const QColor& colour)
{
    const int dr = colour.red(), dg = colour.green(), db = colour.blue();
    const int xa = std::min(x1, x2) - origin.x(), xb = std::max(x1, x2) - origin.x();
    const int ya = std::min(y1, y2) - origin.y(), yb = std::max(y1, y2) - origin.y();
    for (int y = std::max(ya, 0); y <= yb && y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = std::max(xa, 0); x <= xb && x < image.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgb((qRed(p) + dr) & 0xFF, (qGreen(p) + dg) & 0xFF, (qBlue(p) + db) & 0xFF);
        }
    }
}

// A line in the plain copy mode, both end points included.
void CopyLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour)
{
    painter.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                           QPoint(std::max(x1, x2), std::max(y1, y2))),
                     colour);
}

void DrawBackdrop(QPainter& painter, const GraphPaintContext& context)
{
    const QRect backdrop = ToQRect(gButtonPictRect);
    // Erase to the window's background, then the pressed panel over it.
    painter.fillRect(backdrop, context.background);
    const QColor face = context.windowActive ? kBackdropActiveColor : kBackdropInactiveColor;
    const QColor frame = context.windowActive ? kBackdropActiveFrame : kBackdropInactiveFrame;
    painter.fillRect(backdrop, frame);
    painter.fillRect(backdrop.adjusted(1, 1, -1, -1), face);
}

void DrawGrid(QImage& image, QPoint origin, QPainter* painter, const GraphPaintContext& context)
{
    const Rect& chart = gGraphicChartRect;
    for (int i = 0; i <= 10; ++i) {
        const int y = chart.bottom - i * gGridHeight;
        if (context.windowActive)
            AddLine(image, origin, chart.left, y, chart.right + kGridLineOverhang, y, myOffWhiteColor);
        else
            CopyLine(*painter, chart.left, y, chart.right + kGridLineOverhang, y, myWhiteColor);
    }
    for (int i = 0; i <= 10; ++i) {
        const int x = chart.left + i * gGridWidth;
        if (context.windowActive)
            AddLine(image, origin, x, chart.top + 1, x, chart.bottom - 1, myOffWhiteColor);
        else
            CopyLine(*painter, x, chart.top + 1, x, chart.bottom - 1, myWhiteColor);
    }
}

}  // namespace

uint32_t GraphScaleTop(double maxSpeed)
{
    const double top = std::floor(maxSpeed + 1.0);
    if (!(top >= 0.0))  // also NaN
        return 0;
    if (top >= 4294967295.0)
        return 4294967295u;
    return static_cast<uint32_t>(top);
}

void PaintGraph(QImage& image, QPoint origin, const GraphPaintContext& context,
                GraphPaintResult& result)
{
    result = GraphPaintResult{};
    if (gCurrentSelectedTestType != 1)
        return;
    result.drawn = true;

    // The scale. gGraphMax is 16 bits wide; the drawing keeps the full value
    // so that speeds of 32,767 MB/s and more still give a sound scale.
    uint32_t top = GraphScaleTop(gMaxSpeed);
    if (top == 0)
        top = 1;
    result.scaleTop = top;
    gGraphMax = static_cast<int16_t>(top > 32767u ? 32767u : top);
    const double step = top / 10.0;

    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);

    {
        QPainter painter(&image);
        painter.translate(-origin);
        DrawBackdrop(painter, context);
        if (!context.windowActive)
            DrawGrid(image, origin, &painter, context);
    }
    if (ZoneIsMeasured(0)) {
        for (int i = 0; i < 10; ++i)
            std::snprintf(result.axisLabels[i], sizeof result.axisLabels[i], "%.3f",
                          top - i * step);
        result.labelsSet = true;
    }
    // The additive grid works on the pixels themselves, with no painter open.
    if (context.windowActive)
        DrawGrid(image, origin, nullptr, context);

    QPainter painter(&image);
    painter.translate(-origin);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int zones = std::min<int32_t>(gZoneTestCountS32, kMaxZoneCount);
    if (gDriveSectorsU64 != 0) {
        for (int z = 0; z < zones; ++z) {
            if (!ZoneIsMeasured(z))
                break;
            DrawBarGraph(painter, static_cast<int16_t>(z), true, top, context);
            ++result.barsDrawn;
            if (gWriteTestEnabled && gSavedWRITEResultsInfo[z].cycleSpeedDbl[0] != 0.0) {
                DrawBarGraph(painter, static_cast<int16_t>(z), false, top, context);
                ++result.barsDrawn;
            }
        }
    }
    result.warningShown = DrawOverlay(painter, top, context);
}

QImage RenderGraphImage(const GraphPaintContext& context, GraphPaintResult* result)
{
    const QRect backdrop = ToQRect(gButtonPictRect);
    QImage image(std::max(backdrop.width(), 1), std::max(backdrop.height(), 1),
                 QImage::Format_RGB32);
    image.fill(context.background);
    GraphPaintResult local;
    PaintGraph(image, backdrop.topLeft(), context, result != nullptr ? *result : local);
    return image;
}
