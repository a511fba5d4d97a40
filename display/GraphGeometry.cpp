#include "display/GraphGeometry.h"

Rect gGraphicChartRect{};
int16_t gGridHeight = 0;
int16_t gGridWidth = 0;
Rect gButtonPictRect{};

void ComputeGraphGeometry(const Rect& pane)
{
    gButtonPictRect = Rect{static_cast<int16_t>(pane.top - 1), static_cast<int16_t>(pane.left - 1),
                           static_cast<int16_t>(pane.bottom + 1 + 1),
                           static_cast<int16_t>(pane.right + 1 + 30)};
    gGraphicChartRect = Rect{static_cast<int16_t>(pane.top + kChartInset),
                             static_cast<int16_t>(pane.left + kChartInset),
                             static_cast<int16_t>(pane.bottom - kChartInset),
                             static_cast<int16_t>(pane.right - kChartInset)};
    // A pane smaller than twice the inset gives an empty chart, not a negative one.
    if (gGraphicChartRect.bottom < gGraphicChartRect.top)
        gGraphicChartRect.bottom = gGraphicChartRect.top;
    if (gGraphicChartRect.right < gGraphicChartRect.left)
        gGraphicChartRect.right = gGraphicChartRect.left;
    gGridHeight = static_cast<int16_t>(RectHeight(gGraphicChartRect) / 10);
    gGridWidth = static_cast<int16_t>(RectWidth(gGraphicChartRect) / 10);
}

uint16_t BarWidthForZoneCount(int32_t zones)
{
    if (zones <= 9)
        return 15;
    if (zones <= 19)
        return 12;
    if (zones <= 29)
        return 10;
    if (zones <= 39)
        return 8;
    return 6;
}
