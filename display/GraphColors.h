// The colours of the bar graph and its overlay.
#pragma once

#include <QColor>

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

// Backdrop panel behind the grid (a pressed button face): active and inactive window.
inline const QColor kBackdropActiveColor{168, 172, 180};
inline const QColor kBackdropInactiveColor{226, 226, 228};
inline const QColor kBackdropActiveFrame{112, 116, 124};
inline const QColor kBackdropInactiveFrame{190, 190, 192};

// Rim around the overlay's warning text.
inline const QColor kWarningRimColor{24, 24, 32, 200};

// The gaps of the write bars' stipple: the window's background on a light
// desktop; on a dark one a light grey, so that stippled bars read as the same
// colours as the solid ones. The key's icons use the same gaps.
inline const QColor kLightStippleGap{236, 236, 236};
inline QColor StippleGapColour(const QColor& windowBackground)
{
    return windowBackground.lightness() >= 128 ? windowBackground : kLightStippleGap;
}
