#include "display/GraphColors.h"

#include <algorithm>

QColor Mix(const QColor& a, const QColor& b, double ofB)
{
    const auto channel = [ofB](int x, int y) { return static_cast<int>(x + (y - x) * ofB + 0.5); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()));
}

namespace {

// No brighter than value: the active grid adds myOffWhiteColor to the face
// with wrap-around, which gives light lines only on a face this dark.
QColor AtMostValue(const QColor& colour, int value)
{
    if (colour.value() <= value)
        return colour;
    return QColor::fromHsv(colour.hsvHue(), colour.hsvSaturation(), value).toRgb();
}

}  // namespace

GraphChrome GraphChromeFor(const QPalette& palette)
{
    const QColor window = palette.color(QPalette::Active, QPalette::Window);
    if (window.lightness() >= 128) {
        GraphChrome light = kLightGraphChrome;
        light.stippleGap = window;
        return light;
    }
    const QColor button = palette.color(QPalette::Active, QPalette::Button);
    const QColor ink = palette.color(QPalette::Active, QPalette::ButtonText);
    // Lighter shades are mixed toward the text colour: lighter() leaves black black.
    GraphChrome dark;
    dark.active = {AtMostValue(window.darker(125), 40), Mix(window, ink, 0.3),
                   Mix(button, ink, 0.12), button, Mix(button, ink, 0.35), ink};
    dark.inactive = {Mix(window, ink, 0.08), Mix(window, ink, 0.2),
                     Mix(button, ink, 0.06), button, Mix(button, ink, 0.25), Mix(ink, button, 0.25)};
    dark.stippleGap = kLightStippleGap;
    return dark;
}
