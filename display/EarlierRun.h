// An earlier run of the drive shown, chosen in "Compare with": its zone
// averages drawn as markers with min–max whiskers on the graph, its values
// and the change in the bars' help tags, its figures in the random pane.
#pragma once

#include "engine/TestModel.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <string>
#include <vector>

struct GraphPaintContext;
class QPainter;

struct EarlierZone {
    uint64_t firstSector = 0;
    double readMin = 0, readAvg = 0, readMax = 0;
    bool hasWrite = false;
    double writeMin = 0, writeAvg = 0, writeMax = 0;
};

struct EarlierRun {
    bool active = false;
    bool random = false;
    std::string label;           // when it ran, as listed in "Compare with"
    uint64_t driveSectors = 0;   // the drive's size then, in 512-byte sectors
    std::vector<EarlierZone> zones;
    double randomRead = 0, randomWrite = 0;  // MB/s, 0 = not measured
    uint32_t queueDepth = 1;                  // of the random figures
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

// The random pane's comparison: the earlier read and write figures and the
// change, with a note when the results shown were measured at another queue depth.
std::string EarlierRandomText(double readNow, double writeNow);

// Draws each earlier zone's average as a thin outlined marker across its
// bar's place, with a whisker from its minimum to its maximum.
void DrawEarlierRunMarkers(QImage& image, QPoint origin, uint32_t scaleTop, const GraphPaintContext& context);

// One more cell for the graph key, right of it: the marker colour and "Earlier run".
class EarlierRunKeyCell : public QWidget {
public:
    explicit EarlierRunKeyCell(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
