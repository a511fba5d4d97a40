// The graph area of the main window: a widget over the backdrop rectangle that
// shows the bar graph of a run, redrawn by DrawTestResults, and the bars'
// help tags as tooltips while the pointer rests on a bar. Its accessible
// description tells the results in words (display/GraphText.h).
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

    // Paints the whole graph of run into the view's image now (bar places,
    // help tags and the scale are updated at once) and has the widget show
    // it. Interface thread only.
    void Redraw(const Run& run);

    const GraphPaintResult& LastPaint() const { return lastPaint_; }
    const Run& LastRun() const { return lastRun_; }
    const QImage& Image() const { return image_; }

    // The help text of the bar under a point of the main window (its client
    // area), with line breaks; empty when the point is on no bar, the graph
    // is hidden or the run drawn is under way.
    QString HelpTagAt(QPoint windowPoint) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    GraphPaintContext PaintContext() const;

    QImage image_;
    GraphPaintResult lastPaint_;
    Run lastRun_;  // redrawn on activation and on a change of scale
};
