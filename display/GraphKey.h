// The graph key: one header row of seven equal columns above the chart, each
// with a small icon and a title, that explains the bar colours.
#pragma once

#include "display/GraphColors.h"

#include "display/GraphGeometry.h"
#include "engine/Run.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>

class QPainter;

inline constexpr int kGraphKeyColumns = 7;
inline constexpr int kGraphKeyHeight = 19;  // one row at the smaller fonts
inline constexpr int kGraphKeyWidth = 659;

class GraphKeyWidget;

extern QPointer<GraphKeyWidget> gGraphKey;  // null until InstallGraphKey
extern Rect gGraphicalDBRect;                      // its bounds in window coordinates
extern int16_t gColumnWidth;
extern const uint32_t gGraphDataIDs[kGraphKeyColumns];        // 'gkey', 'rmax', ...
extern const uint32_t kGraphKeyIconTypes[kGraphKeyColumns - 1];  // 'rmax', 'wmax', 'rave', ...
extern QImage gMyIconRefs[kGraphKeyColumns - 1];

// The title of key column 0 to 6.
const char* GraphKeyTitle(int column);

// The 16 x 16 icon of icon column 0 to 5 (key columns 2 to 7): the colour of
// the bar segment it names, solid for reads and stippled for writes.
QImage MakeGraphKeyIcon(int iconIndex, const QColor& stippleGap = kLightStippleGap, qreal devicePixelRatio = 1.0);

// The key's bounds for the inset chart rectangle: 659 pixels wide and height
// tall, ending 19 pixels above the chart and starting 24 pixels left of it.
Rect GraphKeyBounds(const Rect& chart, int height = kGraphKeyHeight);

// The key's titles in a window: its font a tenth smaller.
QFont GraphKeyFont(const QFont& windowFont);

// How the key lies in a strip of width pixels with titles in font: equal
// columns, in as few rows as let every icon and title fit its column (one row
// at the usual sizes), each row as tall as the font needs and at least
// kGraphKeyHeight.
struct GraphKeyLayout {
    int rows = 1;
    int columnsPerRow = kGraphKeyColumns;
    int rowHeight = kGraphKeyHeight;
    int Height() const { return rows * rowHeight; }
};
GraphKeyLayout LayOutGraphKey(const QFont& font, int width);

// The height of the bars' key in a window whose font is windowFont.
int GraphKeyHeightFor(const QFont& windowFont);

// Paints the key into area with the painter's font, in the rows LayOutGraphKey gives.
void PaintGraphKey(QPainter& painter, const QRect& area, bool windowActive,
                   const GraphChrome& chrome = kLightGraphChrome);

class GraphKeyWidget : public QWidget {
    Q_OBJECT
public:
    explicit GraphKeyWidget(QWidget* parent);
    QSize sizeHint() const override;
    // The surface graph's key for run (which must outlive the key's use of
    // it), or the bars' key again with null.
    void ShowSurfaceKeyFor(const Run* run);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    const Run* surfaceRun_ = nullptr;
};

// Builds the key in the standard test pane (shown and hidden with it; the
// window itself without one), at GraphKeyBounds(gGraphicChartRect) in the
// window's coordinates, as tall as the pane's font needs. Call after the
// graph geometry is known, and again when it or the font changed.
// Returns 0, or -1 without a window.
int32_t InstallGraphKey(QWidget* window, QWidget* standardPane);
