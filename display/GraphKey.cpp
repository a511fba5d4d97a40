#include "display/GraphKey.h"

#include "display/GraphColors.h"
#include "display/GraphGeometry.h"
#include "display/SurfaceGraph.h"
#include "format/Localization.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t FourCC(const char (&code)[5])
{
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

constexpr int kIconWidth = 16;
constexpr int kIconGap = 3;     // between an icon and its title
constexpr int kCellPadding = 3;  // the least room either side of a column's icon and title

constexpr const char* kTitles[kGraphKeyColumns] = {"Graph Key:", "Max Read", "Max Write",
                                                   "Ave Read",   "Ave Write", "Min Read",
                                                   "Min Write"};

}  // namespace

QPointer<GraphKeyWidget> gGraphKey;
Rect gGraphicalDBRect{};
int16_t gColumnWidth = 0;
const uint32_t gGraphDataIDs[kGraphKeyColumns] = {FourCC("gkey"), FourCC("rmax"), FourCC("wmax"),
                                                  FourCC("ravg"), FourCC("wavg"), FourCC("rmin"),
                                                  FourCC("wmin")};
const uint32_t kGraphKeyIconTypes[kGraphKeyColumns - 1] = {FourCC("rmax"), FourCC("wmax"),
                                                           FourCC("rave"), FourCC("wave"),
                                                           FourCC("rmin"), FourCC("wmin")};
QImage gMyIconRefs[kGraphKeyColumns - 1];

const char* GraphKeyTitle(int column)
{
    return column >= 0 && column < kGraphKeyColumns ? kTitles[column] : "";
}

QImage MakeGraphKeyIcon(int iconIndex, const QColor& stippleGap, qreal devicePixelRatio)
{
    // Icons 0, 1: maximum; 2, 3: average; 4, 5: minimum. Even: read, odd: write.
    const QColor colours[3] = {myGreenColor, myYellowColor, myRedColor};
    const QColor colour = colours[std::clamp(iconIndex / 2, 0, 2)];
    const bool write = (iconIndex % 2) != 0;
    // Drawn in device pixels, so the stipple is as fine as the bars' on any screen.
    const qreal ratio = devicePixelRatio > 0.0 ? devicePixelRatio : 1.0;
    const int size = int(std::lround(16 * ratio));
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    const int from = int(std::lround(2 * ratio)), to = int(std::lround(14 * ratio));
    for (int y = from; y < to; ++y)
        for (int x = from; x < to; ++x) {
            const bool set = !write || (kWriteBarPattern[y % 8] & (0x80 >> (x % 8)));
            icon.setPixelColor(x, y, set ? colour : stippleGap);
        }
    icon.setDevicePixelRatio(ratio);
    QPainter painter(&icon);
    painter.setPen(QPen(QColor(64, 64, 64), 0));
    painter.drawRect(QRectF(1, 1, 13, 13).adjusted(0.5 / ratio, 0.5 / ratio, 0.5 / ratio, 0.5 / ratio));
    painter.end();
    return icon;
}

Rect GraphKeyBounds(const Rect& chart, int height)
{
    return Rect{static_cast<int16_t>(chart.top - 19 - height), static_cast<int16_t>(chart.left - 24),
                static_cast<int16_t>(chart.top - 19), static_cast<int16_t>(chart.left - 24 + kGraphKeyWidth)};
}

QFont GraphKeyFont(const QFont& windowFont)
{
    QFont font = windowFont;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 0.9);
    else
        font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * 0.9))));
    font.setBold(false);
    return font;
}

GraphKeyLayout LayOutGraphKey(const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (int column = 0; column < kGraphKeyColumns; ++column)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(LocalizedText(GraphKeyTitle(column)))) +
                                      (column > 0 ? kIconWidth + kIconGap : 0));
    GraphKeyLayout layout;
    layout.rowHeight = std::max(kGraphKeyHeight, metrics.height() + 4);
    while (layout.rows < kGraphKeyColumns && widest + 2 * kCellPadding > width / layout.columnsPerRow) {
        ++layout.rows;
        layout.columnsPerRow = (kGraphKeyColumns + layout.rows - 1) / layout.rows;
    }
    return layout;
}

int GraphKeyHeightFor(const QFont& windowFont)
{
    return LayOutGraphKey(GraphKeyFont(windowFont), kGraphKeyWidth / kGraphKeyColumns * kGraphKeyColumns).Height();
}

void PaintGraphKey(QPainter& painter, const QRect& area, bool windowActive, const GraphChrome& chrome)
{
    const GraphChromeState& colours = chrome.For(windowActive);
    const QColor& stippleGap = chrome.stippleGap;
    const QFont font = painter.font();
    const QFontMetrics metrics(font);
    const GraphKeyLayout layout = LayOutGraphKey(font, area.width());
    const int columnWidth = area.width() / layout.columnsPerRow;
    const QColor& rule = colours.keyRule;
    const QColor& ink = colours.keyInk;
    painter.save();
    for (int column = 0; column < kGraphKeyColumns; ++column) {
        const QRect cell(area.left() + column % layout.columnsPerRow * columnWidth,
                         area.top() + column / layout.columnsPerRow * layout.rowHeight, columnWidth, layout.rowHeight);
        QLinearGradient face(cell.topLeft(), cell.bottomLeft());
        face.setColorAt(0.0, colours.keyFaceTop);
        face.setColorAt(1.0, colours.keyFaceBottom);
        painter.fillRect(cell, face);
        painter.fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), rule);
        painter.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), rule);
        const QString title = QString::fromStdString(LocalizedText(GraphKeyTitle(column)));
        const int textWidth = metrics.horizontalAdvance(title);
        const bool hasIcon = column > 0;
        const int contentWidth = textWidth + (hasIcon ? kIconWidth + kIconGap : 0);
        int x = cell.left() + (cell.width() - contentWidth) / 2;
        if (hasIcon) {
            if (gMyIconRefs[column - 1].isNull())
                gMyIconRefs[column - 1] = MakeGraphKeyIcon(column - 1);
            // The registered icons have the light gaps at scale 1; others are drawn to suit.
            const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
            const QImage icon = stippleGap == kLightStippleGap && ratio == 1.0
                                    ? gMyIconRefs[column - 1]
                                    : MakeGraphKeyIcon(column - 1, stippleGap, ratio);
            painter.drawImage(x, cell.top() + (cell.height() - kIconWidth) / 2, icon);
            x += kIconWidth + kIconGap;
        }
        painter.setPen(ink);
        const int baseline = cell.top() + (cell.height() + metrics.ascent() - metrics.descent()) / 2;
        painter.drawText(QPoint(x, baseline), title);
    }
    painter.restore();
}

GraphKeyWidget::GraphKeyWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize GraphKeyWidget::sizeHint() const
{
    return QSize(kGraphKeyWidth, GraphKeyHeightFor(font()));
}

void GraphKeyWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setFont(GraphKeyFont(font()));
    if (surfaceRun_ != nullptr) {
        PaintSurfaceKey(painter, rect(), *surfaceRun_, GraphChromeFor(window()->palette()).For(isActiveWindow()).keyInk);
        return;
    }
    PaintGraphKey(painter, QRect(0, 0, gColumnWidth * kGraphKeyColumns, height()), isActiveWindow(),
                  GraphChromeFor(window()->palette()));
}

void GraphKeyWidget::ShowSurfaceKeyFor(const Run* run)
{
    if (run != surfaceRun_)
        update();
    surfaceRun_ = run;
}

bool GraphKeyWidget::event(QEvent* event)
{
    // Widgets inside a window learn of its activation by WindowActivate and
    // WindowDeactivate.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
        update();
    return QWidget::event(event);
}

int32_t InstallGraphKey(QWidget* window, QWidget* standardPane)
{
    if (window == nullptr)
        return -1;
    QWidget* parent = standardPane != nullptr ? standardPane : window;
    gColumnWidth = static_cast<int16_t>(kGraphKeyWidth / kGraphKeyColumns);
    gGraphicalDBRect = GraphKeyBounds(gGraphicChartRect, GraphKeyHeightFor(parent->font()));
    for (int i = 0; i < kGraphKeyColumns - 1; ++i)
        if (gMyIconRefs[i].isNull())
            gMyIconRefs[i] = MakeGraphKeyIcon(i);

    // Embedded in the standard test pane, so it is shown and hidden with it.
    if (gGraphKey == nullptr)
        gGraphKey = new GraphKeyWidget(parent);  // owned by the pane
    const QPoint topLeft = parent->mapFrom(window, QPoint(gGraphicalDBRect.left, gGraphicalDBRect.top));
    gGraphKey->setGeometry(topLeft.x(), topLeft.y(), RectWidth(gGraphicalDBRect), RectHeight(gGraphicalDBRect));
    gGraphKey->show();
    gGraphKey->raise();
    return 0;
}
