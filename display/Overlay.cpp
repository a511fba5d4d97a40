#include "display/GraphRenderer.h"

#include "display/GraphColors.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

void OverlayLine(QPainter& painter, int y)
{
    const Rect& chart = gGraphicChartRect;
    painter.fillRect(QRect(chart.left, y, chart.right + kOverlayLineOverhang - chart.left + 1, 1),
                     myWhiteColor);
}

}  // namespace

bool DrawOverlay(QPainter& painter, uint32_t scaleTop, const GraphPaintContext& context)
{
    const OverlayInputs& overlay = context.overlay;
    if (!ZoneIsMeasured(0) || !overlay.enabled)
        return false;
    const Rect& chart = gGraphicChartRect;
    const double target = overlay.targetRate;

    if (target > gMaxSpeed) {
        QFont font = context.font;
        font.setBold(true);
        font.setPixelSize(24);
        painter.save();
        painter.setFont(font);
        const QString text = QString::fromLatin1(kOverlayWarningText);
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
        painter.restore();
        return true;
    }

    // The target line: the bars' height function, unclipped, since the target
    // does not exceed the highest speed and so stays below the scale's top.
    const double fullScale = 10.0 * gGridHeight;
    const int yT = static_cast<int>(std::trunc(chart.bottom - fullScale * target / scaleTop));
    OverlayLine(painter, yT);

    const int32_t marginPercent = 5 * std::max(overlay.safetyValue, 1) - 5;
    const int d = static_cast<int>(std::trunc(((chart.bottom - yT) * marginPercent) / 100.0));
    int yS = yT - d;
    if (yS < chart.top)
        yS = chart.top;
    OverlayLine(painter, yS);

    if (yT > yS) {
        // The band between the lines, washed a third of the way toward white.
        painter.save();
        painter.setOpacity(1.0 - double(0xAAAA) / double(0xFFFF));
        painter.fillRect(QRect(chart.left, yS, chart.right + kOverlayLineOverhang - chart.left,
                               yT - yS),
                         myWhiteColor);
        painter.restore();
    }
    return false;
}
