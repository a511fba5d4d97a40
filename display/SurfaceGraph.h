// The line graph of a surface run: speed against position over the span,
// drawn in place of the zone bars. Reads and writes each get a line of the
// average speed and, where several transfers share a pixel column (always
// once the samples are folded), a band from the slowest to the fastest of
// them. The drive's temperature runs along on a second scale, slow blocks
// are ticked at the chart's top, unreadable ranges stand as dark columns,
// and an earlier surface run of the drive shows faintly behind.
//
// Drawing cost follows the chart's width, not the samples': every sample is
// added once into its pixel column, and each column draws one band and one
// line step per direction.
#pragma once

#include "display/GraphRenderer.h"

#include <QColor>

#include <string>

inline const QColor kTemperatureColor{224, 112, 0};  // the temperature line
inline const QColor kSlowBlockColor{144, 0, 192};    // ticks at the chart's top
inline const QColor kUnreadableColor{96, 0, 0};      // columns over unreadable ranges
inline constexpr int kSlowBlockTickHeight = 8;       // logical pixels

// The highest speed of a surface run, either direction (0 without samples).
double SurfaceHighestSpeed(const Run& run);

// The sectors the position axis spans: the part the run set out to cover,
// or the part it covered when its time limit ended it.
uint64_t SurfaceAxisSectors(const Run& run);

// The scale's top in MB/s for a surface run and the earlier surface run compared with.
uint32_t SurfaceScaleTop(const Run& run);

// The temperature scale's top in °C: 100, or higher in tens when the drive ran hotter.
int SurfaceTemperatureTop(const Run& run);

// Draws the surface run's lines, marks and overlay into the chart (backdrop
// and grid are already drawn). Returns true when the overlay's warning text
// was drawn instead of its lines.
bool DrawSurfaceGraph(QImage& image, QPoint origin, const Run& run, uint32_t scaleTop,
                      const GraphPaintContext& context);

// The help tag at a window point over the chart: position, read and write
// speed (with their range where samples are folded), the temperature, and the
// earlier run's speeds there; lines separated by carriage returns. Empty off
// the chart or past the part covered.
std::string SurfaceHelpTag(const Run& run, int windowX, int windowY);

class QPainter;

// The surface graph's key: a swatch and a title for each of reads, writes,
// temperature, slow and unreadable blocks (and the earlier run when one is
// compared), in one row across area, in the painter's font.
void PaintSurfaceKey(QPainter& painter, const QRect& area, const Run& run, const QColor& ink);

// The picture's axis texts of a surface graph: the position in GB under the
// chart's grid lines and, where the drive reported temperatures, the
// temperature scale right of the backdrop.
void DrawSurfaceAxisLabels(QPainter& painter, const Run& run, const QColor& ink);
