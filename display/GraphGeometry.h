// Where the graph is drawn, in main-window pixel coordinates, taken once from
// the graph pane {'upan', 10}.
#pragma once

#include <cstdint>

// A rectangle in window pixels: top, left, bottom, right; bottom and right are exclusive.
struct Rect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

extern Rect gGraphicChartRect;  // the pane's bounds inset by 8 pixels
extern int16_t gGridHeight;     // a tenth of the chart's height, truncated
extern int16_t gGridWidth;      // a tenth of the chart's width, truncated
extern Rect gButtonPictRect;    // the backdrop: the pane grown by 1, right +30, bottom +1

inline constexpr int16_t kChartInset = 8;
// Horizontal grid lines reach this far beyond the chart's right edge; the
// overlay lines one pixel further.
inline constexpr int16_t kGridLineOverhang = 29;
inline constexpr int16_t kOverlayLineOverhang = 30;

// Sets the four globals above from the pane's bounds in window coordinates.
void ComputeGraphGeometry(const Rect& paneBounds);

inline int16_t RectWidth(const Rect& r) { return static_cast<int16_t>(r.right - r.left); }
inline int16_t RectHeight(const Rect& r) { return static_cast<int16_t>(r.bottom - r.top); }
inline bool PointInRect(int x, int y, const Rect& r)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Bar width of the graph for a zone count.
uint16_t BarWidthForZoneCount(int32_t zones);
