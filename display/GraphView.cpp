#include "display/GraphView.h"

#include "display/GraphColors.h"
#include "display/SurfaceGraph.h"
#include "display/GraphText.h"

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

}  // namespace

GraphView::GraphView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setAccessibleName(tr("Results graph"));
    setAccessibleDescription(GraphTextEquivalent(lastRun_));
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

void GraphView::Redraw(const Run& run)
{
    if (&run != &lastRun_)
        lastRun_ = run;
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
    PaintGraph(image_, backdrop.topLeft(), lastRun_, context, lastPaint_);
    // What a screen reader tells of the graph follows the results as they arrive.
    if (const QString text = GraphTextEquivalent(lastRun_); text != accessibleDescription())
        setAccessibleDescription(text);
    update();
}

void GraphView::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another scale: drawn anew for it.
    if (!image_.isNull() && image_.devicePixelRatio() != devicePixelRatioF())
        Redraw(lastRun_);
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
        Redraw(lastRun_);
        return handled;
    }
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QPoint windowPoint = mapTo(window(), help->pos());
    const QString text = HelpTagAt(windowPoint);
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

QString GraphView::HelpTagAt(QPoint windowPoint) const
{
    if (!isVisibleTo(window()))
        return {};
    // A surface run tells its speeds under the pointer while it runs too.
    if (lastRun_.settings.kind == TestKind::Surface) {
        const QString text = QString::fromStdString(SurfaceHelpTag(lastRun_, windowPoint.x(), windowPoint.y()));
        return QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    if (lastPaint_.runUnderWay)
        return {};
    for (const GraphBar& bar : lastPaint_.bars) {
        if (!bar.area.contains(windowPoint))
            continue;
        QString text = QString::fromLatin1(bar.helpTag.c_str());
        return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return {};
}
