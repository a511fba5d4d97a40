// Drawing of the earlier run's markers and of its graph-key cell.
#include "display/EarlierRun.h"

#include "display/GraphGeometry.h"
#include "format/Localization.h"
#include "display/GraphKey.h"
#include "display/GraphRenderer.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kTextLeft = 22;  // the key cell's title, right of its swatch

void DrawOneMarker(QImage& image, QPoint origin, int x0, int x1, const ZoneSpeeds& speeds, uint32_t scaleTop)
{
    const QRgb fill = kEarlierRunColor.rgb();
    const QRgb outline = kEarlierRunOutline.rgb();
    const int centre = (x0 + x1) / 2;
    const int yMax = BarTopForSpeed(speeds.maximum, scaleTop);
    const int yMin = BarTopForSpeed(speeds.minimum, scaleTop);
    const int yAvg = BarTopForSpeed(speeds.average, scaleTop);
    // Whisker: a line from the minimum to the maximum with a short cap at each end.
    FillPixels(image, origin, QRect(centre, yMax, 1, yMin - yMax + 1), outline);
    FillPixels(image, origin, QRect(centre - 2, yMax, 5, 1), outline);
    FillPixels(image, origin, QRect(centre - 2, yMin, 5, 1), outline);
    // Marker: a thin bar one pixel wider than the bar on each side, outlined.
    FillPixels(image, origin, QRect(x0 - 1, yAvg - 2, x1 - x0 + 2, 5), outline);
    FillPixels(image, origin, QRect(x0, yAvg - 1, x1 - x0, 3), fill);
}
}  // namespace

void DrawEarlierRunMarkers(QImage& image, QPoint origin, uint32_t scaleTop, const GraphPaintContext&)
{
    const Run& earlier = gEarlierRun.run;
    const uint64_t sectors = earlier.target.Sectors();
    if (!gEarlierRun.active || earlier.settings.kind != TestKind::Standard || sectors == 0)
        return;
    const Rect& chart = gGraphicChartRect;
    const uint64_t chartWidth = static_cast<uint64_t>(std::max<int>(RectWidth(chart), 0));
    const int width = BarWidthForZoneCount(earlier.MeasuredZoneCount());
    for (int z = 0; earlier.ZoneMeasured(z); ++z) {
        const ZoneResult& zone = earlier.zones[static_cast<size_t>(z)];
        const uint64_t first = std::min(zone.firstSector, sectors);
        const int x0 = chart.left + static_cast<int>((first * chartWidth) / sectors);
        DrawOneMarker(image, origin, x0, x0 + width, zone.read, scaleTop);
        if (earlier.settings.writes)
            DrawOneMarker(image, origin, x0 + width, x0 + 2 * width, zone.write, scaleTop);
    }
}

EarlierRunKeyCell::EarlierRunKeyCell(QWidget* key) : QWidget(key->parentWidget()), key_(key)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    key_->installEventFilter(this);
    FollowKey();
}

QSize EarlierRunKeyCell::sizeHint() const
{
    const QFontMetrics metrics(GraphKeyFont(font()));
    return QSize(std::max(90, kTextLeft + metrics.horizontalAdvance(QString::fromStdString(LocalizedText(kEarlierRunKeyTitle))) + 4),
                 key_->height());
}

void EarlierRunKeyCell::FollowKey()
{
    setGeometry(QRect(key_->geometry().topRight() + QPoint(1, 0), sizeHint()));
}

bool EarlierRunKeyCell::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == key_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        FollowKey();
    return false;
}

void EarlierRunKeyCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const GraphChromeState colours = GraphChromeFor(window()->palette()).For(isActiveWindow());
    painter.fillRect(rect(), colours.keyFaceBottom);
    painter.setPen(colours.keyRule);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int middle = height() / 2;
    painter.fillRect(QRect(4, middle - 2, 14, 5), kEarlierRunOutline);
    painter.fillRect(QRect(5, middle - 1, 12, 3), kEarlierRunColor);
    painter.setFont(GraphKeyFont(font()));
    painter.setPen(colours.keyInk);
    painter.drawText(rect().adjusted(kTextLeft, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QString::fromStdString(LocalizedText(kEarlierRunKeyTitle)));
}
