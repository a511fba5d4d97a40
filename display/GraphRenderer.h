// Paints the bar graph of a run's standard zone test.
//
// The whole graph is redrawn at every call: backdrop, grid, one stacked bar
// per measured zone (reads solid, writes stippled beside them) and the
// target-rate overlay on top. While painting it records where each bar went
// with its help-tag text, the bar width, the scale's top and the ten
// vertical-axis labels: the display's state of the graph drawn.
#pragma once

#include "display/GraphColors.h"
#include "display/GraphGeometry.h"
#include "display/OverlaySettings.h"
#include "engine/Run.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <string>
#include <vector>

class QPainter;

struct GraphPaintContext {
    bool windowActive = true;
    QColor background{236, 236, 236};  // the window's background: stipple gaps
    GraphChrome chrome = kLightGraphChrome;  // backdrop colours
    QFont font;                        // the system font, for the overlay warning
    OverlayInputs overlay;
};

// One bar drawn: where it stands in window coordinates and its help tag
// (lines separated by carriage returns, at most 255 characters).
struct GraphBar {
    QRect area;
    std::string helpTag;
};

struct GraphPaintResult {
    bool labelsSet = false;       // false when zone 1 is unmeasured: the labels stay
    char axisLabels[10][32]{};    // top label first: {'stxt', 11} .. {'stxt', 20}
    uint32_t scaleTop = 1;        // the scale's maximum in MB/s
    int barWidth = 15;            // pixels, from the run's zone count
    int barsDrawn = 0;
    std::vector<GraphBar> bars;   // in drawing order: each zone's read bar, then its write bar
    bool runUnderWay = false;     // the run drawn had not ended: its bars tell nothing yet
    bool warningShown = false;
};

// The scale's maximum for a highest speed: the integer part of speed + 1,
// clamped to 32 bits.
uint32_t GraphScaleTop(double maxSpeed);

// The highest speed the graph of run shows: the standard test's highest
// transfer, or the surface test's fastest sample.
double GraphHighestSpeed(const Run& run);

// Top edge of a bar segment for speed v on a scale of top MB/s, clipped at the chart's top.
int BarTopForSpeed(double speed, uint32_t top);

// Paints run into image, whose pixel (0, 0) is window point origin, at the
// image's device pixel ratio. The image should cover gButtonPictRect;
// whatever lies outside it is clipped.
void PaintGraph(QImage& image, QPoint origin, const Run& run, const GraphPaintContext& context,
                GraphPaintResult& result);

// A new image covering gButtonPictRect with the graph of run painted into it.
QImage RenderGraphImage(const Run& run, const GraphPaintContext& context, GraphPaintResult* result = nullptr);

// Pieces of PaintGraph. The bar of zone zoneIndex of run goes into image,
// whose pixel (0, 0) is window point origin, barWidth pixels wide; bar gets
// its place and help tag (its storage is reused: a redraw allocates nothing).
void DrawBarGraph(QImage& image, QPoint origin, const Run& run, int zoneIndex, bool isRead, uint32_t scaleTop,
                  int barWidth, const GraphPaintContext& context, GraphBar& bar);
// The overlay into image, whose pixel (0, 0) is window point origin. Returns
// true when the warning text was drawn instead of the lines.
bool DrawOverlay(QImage& image, QPoint origin, const Run& run, uint32_t scaleTop, const GraphPaintContext& context);

// Window coordinates (logical pixels) to the pixels of an image whose pixel
// (0, 0) is window point origin, at the image's device pixel ratio: every
// geometry rule stays in logical pixels, and lines are one device pixel thick.
struct DevicePixels {
    DevicePixels(const QImage& image, QPoint origin);
    int X(int x) const;
    int Y(int y) const;
    // The device pixels that cover a window rectangle.
    QRect Area(const QRect& windowArea) const;
    // The device pixels of an axis-aligned line between two window points,
    // both included: as long as the line, one device pixel thick.
    QRect Line(int x1, int y1, int x2, int y2) const;

    double scale;
    QPoint originPixels;  // origin in absolute device pixels
};

// Sets the pixels of a rectangle in window coordinates to one colour; the
// drawing of backdrop, grid and bars writes pixels directly, without a painter.
void FillPixels(QImage& image, QPoint origin, const QRect& windowArea, QRgb colour);
// Sets the pixels of device area (image pixels) to one colour.
void FillDeviceArea(QImage& image, const QRect& area, QRgb colour);

// The help text of one bar into tag: zone, first sector and speeds (and the
// earlier run's), at most 255 characters.
void MakeBarHelpTag(int zoneIndex, bool isRead, uint64_t firstSector, const ZoneSpeeds& speeds, std::string& tag);

inline constexpr const char* kOverlayWarningText = "Target Media Rate Exceeds Measured Values";
