#include "display/GraphView.h"

#include "display/GraphColors.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace {

QRect ToQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QString TagText(const Str255 tag)
{
    QString text = QString::fromLatin1(reinterpret_cast<const char*>(tag + 1), tag[0]);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The kept bar rectangles lie kHelpTagOffset pixels below the drawn bars.
bool PointOnTag(QPoint windowPoint, const Rect& tag)
{
    return PointInRect(windowPoint.x(), windowPoint.y() + kHelpTagOffset, tag);
}

}  // namespace

GraphView::GraphView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    FollowGraphGeometry();
}

void GraphView::FollowGraphGeometry()
{
    const QRect backdrop = ToQRect(gButtonPictRect);
    QWidget* parent = parentWidget();
    const QWidget* top = window();
    const QPoint topLeft = parent != nullptr && top != parent ? parent->mapFrom(top, backdrop.topLeft())
                                                              : backdrop.topLeft();
    setGeometry(QRect(topLeft, backdrop.size()));
}

GraphPaintContext GraphView::PaintContext() const
{
    GraphPaintContext context;
    context.windowActive = isActiveWindow();
    context.chrome = GraphChromeFor(window()->palette());
    context.background = context.chrome.stippleGap;
    context.font = font();
    context.overlay = CurrentOverlayInputs();
    return context;
}

void GraphView::Redraw()
{
    // Drawn at the screen's device pixel ratio, so lines stay one device pixel
    // thin and the stipple even on scaled screens.
    const QRect backdrop = ToQRect(gButtonPictRect);
    const qreal ratio = devicePixelRatioF() > 0.0 ? devicePixelRatioF() : 1.0;
    const QSize pixels(int(std::ceil(backdrop.width() * ratio)), int(std::ceil(backdrop.height() * ratio)));
    if (image_.size() != pixels.expandedTo(QSize(1, 1)) || image_.format() != QImage::Format_RGB32 ||
        image_.devicePixelRatio() != ratio) {
        image_ = QImage(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
    }
    const GraphPaintContext context = PaintContext();
    PaintGraph(image_, backdrop.topLeft(), context, lastPaint_);
    if (lastPaint_.drawn)
        update();
}

void GraphView::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another scale: drawn anew for it.
    if (!image_.isNull() && image_.devicePixelRatio() != devicePixelRatioF())
        Redraw();
    QPainter painter(this);
    if (image_.isNull())
        painter.fillRect(event->rect(), window()->palette().color(QPalette::Window));
    else
        painter.drawImage(QPoint(0, 0), image_);  // one image pixel to one device pixel
}

bool GraphView::event(QEvent* event)
{
    // The inactive window shows the light colours, the active one the strong.
    // Activation reaches the widgets inside a window as WindowActivate and
    // WindowDeactivate; only the window itself gets ActivationChange.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate ||
        event->type() == QEvent::PaletteChange) {
        const bool handled = QWidget::event(event);
        Redraw();
        return handled;
    }
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QPoint windowPoint = mapTo(window(), help->pos());
    const QString text = HelpTagAtWindowPoint(windowPoint);
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

QString HelpTagAtWindowPoint(QPoint windowPoint)
{
    if (bTestRunning.load() || gCurrentSelectedTestType != 1)
        return {};
    for (int z = 0; z < kMaxZoneCount; ++z) {
        if (PointOnTag(windowPoint, gSavedReadResultsGraphRects[z]))
            return TagText(gSavedReadResultsHelpTag[z]);
        if (PointOnTag(windowPoint, gSavedWriteResultsGraphRects[z]))
            return TagText(gSavedWriteResultsHelpTag[z]);
    }
    return {};
}
