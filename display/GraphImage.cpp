#include "display/GraphImage.h"

#include "display/GraphKey.h"
#include "display/GraphRenderer.h"
#include "display/SurfaceGraph.h"
#include "format/ByteText.h"

#include <QFontMetrics>
#include <QPainter>

#include <cinttypes>
#include <cstdio>

namespace {

// The picture's layout, in the same window coordinates the desktop uses.
constexpr Rect kPictureGraphPane{88, 80, 404, 726};  // chart 630 x 300 at (96, 88)
constexpr int kPictureWidth = 784;
constexpr int kPictureHeight = 452;
constexpr int kLabelGap = 6;  // between the speed labels and the backdrop
constexpr int kPictureFontPixels = 12;  // the font the graph's own texts are sized from

const QColor kPictureBackground{236, 236, 236};
const QColor kInk{24, 24, 24};
const QColor kQuietInk{88, 88, 88};

QString GroupedSector(uint64_t sector)
{
    char text[64];
    std::snprintf(text, sizeof text, "%" PRIu64, sector);
    InsertThousandsSeparators(text);
    return QString::fromLatin1(text);
}

void DrawTitle(QPainter& painter, const GraphImageOptions& options)
{
    QFont font = painter.font();
    font.setPixelSize(15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(QRect(16, 8, kPictureWidth - 32, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     options.title);
    font.setPixelSize(12);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(kQuietInk);
    painter.drawText(QRect(16, 28, kPictureWidth - 32, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     options.subtitle);
}

// The ten speed labels beside the grid lines they stand for, top first, and the unit above.
void DrawSpeedLabels(QPainter& painter, const GraphPaintResult& paint)
{
    const Rect& chart = gGraphicChartRect;
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const int right = gButtonPictRect.left - kLabelGap;
    const int left = 4;
    painter.setPen(kInk);
    if (paint.labelsSet) {
        for (int i = 0; i < 10; ++i) {
            const int y = chart.bottom - (10 - i) * gGridHeight;
            painter.drawText(QRect(left, y - 8, right - left, 16), Qt::AlignRight | Qt::AlignVCenter,
                             QString::fromLatin1(paint.axisLabels[i]));
        }
        painter.drawText(QRect(left, chart.bottom - 8, right - left, 16),
                         Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    }
    painter.setPen(kQuietInk);
    painter.drawText(QRect(left, gButtonPictRect.top - 2 - 16, right - left, 16),
                     Qt::AlignRight | Qt::AlignBottom, QStringLiteral("MB/sec"));
}

// The drive's first and last sector under the chart's ends: bars stand at their zone's first sector.
void DrawSectorRange(QPainter& painter, uint64_t sectors)
{
    const Rect& chart = gGraphicChartRect;
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(kQuietInk);
    const int top = gButtonPictRect.bottom + 4;
    const QRect line(chart.left, top, chart.right - chart.left, 16);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Sector 0"));
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("Zones by starting sector; writes stippled beside reads"));
    const uint64_t last = sectors == 0 ? 0 : sectors - 1;
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Sector ") + GroupedSector(last));
}

}  // namespace

QImage RenderResultGraphImage(const Run& run, const GraphImageOptions& options)
{
    ComputeGraphGeometry(kPictureGraphPane);
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(kPictureBackground);

    GraphPaintContext context;
    context.windowActive = true;
    context.background = kPictureBackground;
    context.overlay = options.overlay;
    context.font.setPixelSize(kPictureFontPixels);
    GraphPaintResult paint;
    PaintGraph(picture, QPoint(0, 0), run, context, paint);

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    DrawTitle(painter, options);
    const Rect key = GraphKeyBounds(gGraphicChartRect);
    const int columnWidth = (key.right - key.left) / kGraphKeyColumns;
    const QRect keyArea(key.left, key.top, columnWidth * kGraphKeyColumns, key.bottom - key.top);
    DrawSpeedLabels(painter, paint);
    QFont keyFont = painter.font();
    keyFont.setBold(false);
    if (run.settings.kind == TestKind::Surface) {
        keyFont.setPixelSize(11);
        painter.setFont(keyFont);
        PaintSurfaceKey(painter, keyArea, run, kInk);
        DrawSurfaceAxisLabels(painter, run, kQuietInk);
        return picture;
    }
    keyFont.setPixelSize(10);
    painter.setFont(keyFont);
    PaintGraphKey(painter, keyArea, true);
    DrawSectorRange(painter, run.target.Sectors());
    return picture;
}
