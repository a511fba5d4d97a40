#include "display/GraphRenderer.h"

#include "display/GraphColors.h"
#include "format/Localization.h"

#include <QFontMetrics>
#include <QFontInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

void OverlayLine(QImage& image, QPoint origin, int y)
{
    const Rect& chart = gGraphicChartRect;
    FillDeviceArea(image, DevicePixels(image, origin).Line(chart.left, y, chart.right + kOverlayLineOverhang, y),
                   myWhiteColor.rgb());
}

// Each channel weighed as a mask of myLtGrayColor would: two thirds of the
// pixel, one third white.
void WashTowardWhite(QImage& image, const QRect& deviceArea)
{
    const int keep = 0xAAAA;
    const auto wash = [keep](int channel) { return (channel * keep + 0xFF * (0xFFFF - keep)) / 0xFFFF; };
    const QRect area = deviceArea & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            row[x] = qRgb(wash(qRed(row[x])), wash(qGreen(row[x])), wash(qBlue(row[x])));
    }
}

}  // namespace

bool DrawOverlay(QImage& image, QPoint origin, const Run& run, uint32_t scaleTop, const GraphPaintContext& context)
{
    const OverlayInputs& overlay = context.overlay;
    const bool measured = run.settings.kind == TestKind::Surface ? run.HasResults() : run.ZoneMeasured(0);
    if (!measured || !overlay.enabled)
        return false;
    const Rect& chart = gGraphicChartRect;
    const double target = overlay.targetRate;

    if (target > GraphHighestSpeed(run)) {
        const QString text = QString::fromStdString(LocalizedText(kOverlayWarningText));
        // Twice the size of the window's text, but never wider than the chart.
        QFont font = context.font;
        font.setBold(true);
        int pixels = 2 * QFontInfo(context.font).pixelSize();
        font.setPixelSize(pixels);
        while (pixels > 8 && QFontMetrics(font).horizontalAdvance(text) > RectWidth(chart)) {
            pixels -= 1;
            font.setPixelSize(pixels);
        }
        QPainter painter(&image);
        painter.translate(-origin);
        painter.setFont(font);
        const int textWidth = QFontMetrics(font).horizontalAdvance(text);
        const int x = chart.left + (RectWidth(chart) / 2 - textWidth / 2);
        const int baseline = chart.bottom - RectHeight(chart) / 2;
        // A dark rim keeps the white text readable over light bars.
        painter.setPen(kWarningRimColor);
        for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1),
                                    QPoint(1, 1), QPoint(2, 2)})
            painter.drawText(QPoint(x, baseline) + offset, text);
        painter.setPen(myWhiteColor);
        painter.drawText(QPoint(x, baseline), text);
        return true;
    }

    // The target line: the bars' height function, unclipped, since the target
    // does not exceed the highest speed and so stays below the scale's top.
    const double fullScale = 10.0 * gGridHeight;
    const int yT = static_cast<int>(std::trunc(chart.bottom - fullScale * target / scaleTop));
    OverlayLine(image, origin, yT);

    const int32_t marginPercent = 5 * std::max(overlay.safetyValue, 1) - 5;
    const int d = static_cast<int>(std::trunc(((chart.bottom - yT) * marginPercent) / 100.0));
    int yS = yT - d;
    if (yS < chart.top)
        yS = chart.top;
    OverlayLine(image, origin, yS);

    if (yT > yS) {
        // The band between the lines, washed a third of the way toward white.
        WashTowardWhite(image, DevicePixels(image, origin)
                                   .Area(QRect(chart.left, yS, chart.right + kOverlayLineOverhang - chart.left, yT - yS)));
    }
    return false;
}
