// The graph area of the main window: a widget over the backdrop rectangle that
// shows the bar graph, redrawn from the result records by DrawTestResults, and
// the bars' help tags as tooltips while the pointer rests on a bar.
#pragma once

#include "display/GraphRenderer.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

class GraphView : public QWidget {
    Q_OBJECT
public:
    // Covers gButtonPictRect, given in the coordinates of the top-level window.
    explicit GraphView(QWidget* parent);

    // Moves the view over gButtonPictRect again after the graph geometry changed.
    void FollowGraphGeometry();

    // Paints the whole graph from the records into the view's image now (bar
    // rectangles, help tags and gGraphMax are updated at once) and has the
    // widget show it. Interface thread only.
    void Redraw();

    const GraphPaintResult& LastPaint() const { return lastPaint_; }
    const QImage& Image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    GraphPaintContext PaintContext() const;

    QImage image_;
    GraphPaintResult lastPaint_;
};

// The help text of the bar under a point of the main window (its client
// area), read bars before write bars, with line breaks; empty when the point
// is on no bar, a test is running or the random test pane is showing.
QString HelpTagAtWindowPoint(QPoint windowPoint);
