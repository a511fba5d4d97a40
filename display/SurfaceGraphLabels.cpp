#include "display/SurfaceGraph.h"

#include "display/EarlierRun.h"
#include "display/GraphColors.h"
#include "display/SurfaceSummary.h"
#include "format/Localization.h"

#include <QFontMetrics>
#include <QPainter>

#include <vector>

void PaintSurfaceKey(QPainter& painter, const QRect& area, const Run& run, const QColor& ink)
{
    struct Entry {
        const char* title;
        QColor colour;
    };
    std::vector<Entry> entries{{"Reads", myGreenColor}};
    if (run.settings.writes)
        entries.push_back({"Writes", myRedColor});
    if (!run.surface.temperatures.empty())
        entries.push_back({"Temperature", kTemperatureColor});
    entries.push_back({"Slow block", kSlowBlockColor});
    entries.push_back({"Unreadable", kUnreadableColor});
    if (gEarlierRun.active && gEarlierRun.run.settings.kind == TestKind::Surface)
        entries.push_back({kEarlierRunKeyTitle, kEarlierRunColor});
    painter.save();
    const QFontMetrics metrics(painter.font());
    const int cell = area.width() / static_cast<int>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const int x = area.left() + static_cast<int>(i) * cell;
        const int middle = area.top() + area.height() / 2;
        painter.fillRect(QRect(x, middle - 1, 16, 3), entries[i].colour);
        painter.setPen(ink);
        painter.drawText(QPoint(x + 20, middle + (metrics.ascent() - metrics.descent()) / 2),
                         QString::fromStdString(LocalizedText(entries[i].title)));
    }
    painter.restore();
}

void DrawSurfaceAxisLabels(QPainter& painter, const Run& run, const QColor& ink)
{
    const Rect& chart = gGraphicChartRect;
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(ink);
    const uint64_t axis = SurfaceAxisSectors(run);
    const int top = gButtonPictRect.bottom + 4;
    for (int i = 0; i <= 10; i += 2) {
        const int x = chart.left + i * gGridWidth;
        const Qt::Alignment align = i == 0 ? Qt::AlignLeft : i == 10 ? Qt::AlignRight : Qt::AlignHCenter;
        const int left = i == 0 ? x : i == 10 ? x - 80 : x - 40;
        painter.drawText(QRect(left, top, 80, 16), align | Qt::AlignVCenter,
                         SectorsAsGigabytes(axis / 10 * static_cast<uint64_t>(i)) + QStringLiteral(" GB"));
    }
    if (!run.surface.temperatures.empty()) {
        const int scaleTop = SurfaceTemperatureTop(run);
        const int left = gButtonPictRect.right + 3;
        painter.setPen(kTemperatureColor.darker(130));
        for (int i = 0; i <= 10; i += 2) {
            const int y = chart.bottom - i * gGridHeight;
            painter.drawText(QRect(left, y - 8, 40, 16), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::number(scaleTop / 10 * i));
        }
        painter.drawText(QRect(left, gButtonPictRect.top - 18, 40, 16), Qt::AlignLeft | Qt::AlignBottom,
                         QStringLiteral("\u00b0C"));
    }
    painter.restore();
}
