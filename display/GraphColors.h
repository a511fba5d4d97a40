// The colours of the bar graph and its overlay.
#pragma once

#include <QColor>
#include <QPalette>

inline const QColor myRedColor{192, 48, 48};         // minimum segment, window active
inline const QColor myLtRedColor{255, 170, 170};     // minimum segment, window inactive
inline const QColor myYellowColor{255, 255, 64};     // average segment, window active
inline const QColor myLtYellowColor{255, 255, 160};  // average segment, window inactive
inline const QColor myGreenColor{0, 128, 0};         // maximum segment, window active
inline const QColor myLtGreenColor{128, 221, 128};   // maximum segment, window inactive
inline const QColor myOffWhiteColor{208, 208, 208};  // grid lines, window active (added)
inline const QColor myWhiteColor{255, 255, 255};     // grid lines inactive; overlay lines
inline const QColor myLtGrayColor{170, 170, 170};    // overlay band mask

// Rows of the 8 x 8 stipple of write bars, most significant bit leftmost.
inline constexpr unsigned char kWriteBarPattern[8] = {0x77, 0xDD, 0x77, 0xDD,
                                                      0x77, 0xDD, 0x77, 0xDD};

// Everything of the graph that is not a result colour: the backdrop panel
// behind the grid (a pressed button face), the key strip's faces, rules and
// text, the gaps of the write bars' stipple. A light desktop gets the fixed
// look below; a dark one colours taken from its palette, so that the key and
// the backdrop are not light patches in a dark window.
struct GraphChromeState {
    QColor backdropFace;
    QColor backdropFrame;
    QColor keyFaceTop;  // the key cells' gradient, top to bottom
    QColor keyFaceBottom;
    QColor keyRule;
    QColor keyInk;
};

struct GraphChrome {
    GraphChromeState active;
    GraphChromeState inactive;
    // The write bars' stipple gaps: the window's background on a light
    // desktop; on a dark one a light grey, so that stippled bars read as the
    // same colours as the solid ones. The key's icons use the same gaps.
    QColor stippleGap;
    const GraphChromeState& For(bool windowActive) const { return windowActive ? active : inactive; }
};

inline const QColor kLightStippleGap{236, 236, 236};
inline const GraphChrome kLightGraphChrome{
    {{168, 172, 180}, {112, 116, 124}, {250, 250, 250}, {222, 222, 224}, {150, 150, 154}, {0, 0, 0}},
    {{226, 226, 228}, {190, 190, 192}, {246, 246, 246}, {236, 236, 236}, {196, 196, 198}, {128, 128, 128}},
    kLightStippleGap};

// Rim around the overlay's warning text.
inline const QColor kWarningRimColor{24, 24, 32, 200};

// Each channel of a weighed toward b by the fraction of b.
QColor Mix(const QColor& a, const QColor& b, double ofB);

// The chrome for a window's palette (its Window lightness tells light from dark).
GraphChrome GraphChromeFor(const QPalette& palette);
