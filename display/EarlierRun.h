// An earlier run of the drive shown, chosen in "Compare with": its zone
// averages drawn as markers with min–max whiskers on the graph, its values
// and the change in the bars' help tags, its figures in the random pane.
#pragma once

#include "engine/Run.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <string>

struct GraphPaintContext;
class QPainter;

struct EarlierRun {
    bool active = false;
    std::string label;  // when it ran, as listed in "Compare with"
    Run run;
};

// The run compared with; inactive when "None" is chosen.
extern EarlierRun gEarlierRun;

// The colour of the markers, named "Earlier run" in the graph key.
inline const QColor kEarlierRunColor{32, 112, 255};
inline const QColor kEarlierRunOutline{16, 32, 96};
inline constexpr const char* kEarlierRunKeyTitle = "Earlier run";

// The scale's top needed to show the earlier maxima (0 without a standard run to compare with).
uint32_t EarlierRunScaleTop();

// The lines a bar's help tag gains: the earlier average with the change in %,
// and the earlier range. Empty when the zone has no earlier value.
std::string EarlierRunHelpText(int zoneIndex, bool isRead, double averageNow);

// The random pane's comparison with the random results shown: the earlier
// read and write figures and the change, with a note when those were
// measured at another queue depth.
std::string EarlierRandomText(const RandomResult& now);

// Draws each earlier zone's average as a thin outlined marker across its
// bar's place, with a whisker from its minimum to its maximum.
void DrawEarlierRunMarkers(QImage& image, QPoint origin, uint32_t scaleTop, const GraphPaintContext& context);

// One more cell for the graph key, right of it: the marker colour and "Earlier
// run", in the key's font. It stays beside key and as tall as it when the key
// moves or grows.
class EarlierRunKeyCell : public QWidget {
public:
    explicit EarlierRunKeyCell(QWidget* key);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowKey();
    QWidget* const key_;
};
