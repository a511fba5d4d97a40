#include "format/TimeText.h"

#include <cmath>
#include <cstdio>

CFGregorianUnits GregorianUnitsFromSeconds(double seconds) {
    CFGregorianUnits units{};
    if (!(seconds > 0.0)) return units;  // negative or NaN durations read as none
    const double wholeMinutes = std::floor(seconds / 60.0);
    units.seconds = seconds - wholeMinutes * 60.0;
    const auto minutes = static_cast<int64_t>(wholeMinutes);
    units.minutes = static_cast<int32_t>(minutes % 60);
    units.hours = static_cast<int32_t>((minutes / 60) % 24);
    units.days = static_cast<int32_t>(minutes / (60 * 24));
    return units;
}

void FormatGregorianTimeString(const CFGregorianUnits& units, char* text) {
    const long hours = units.hours;
    const long minutes = units.minutes;
    const double seconds = units.seconds;

    if (hours == 0 && minutes == 0) {
        if (seconds >= 1.0 && seconds < 2.0)
            std::snprintf(text, 256, "1 second");
        else
            std::snprintf(text, 256, "%.0f seconds ", seconds);
        return;
    }

    char minutesPart[64];
    char secondsPart[64];
    if (minutes == 1)
        std::snprintf(minutesPart, sizeof minutesPart, "1 minute, ");
    else
        std::snprintf(minutesPart, sizeof minutesPart, "%ld minutes, ", minutes);
    if (seconds == 1.0)
        std::snprintf(secondsPart, sizeof secondsPart, "1 second");
    else
        std::snprintf(secondsPart, sizeof secondsPart, "%.0f seconds ", seconds);

    if (hours == 0) {
        std::snprintf(text, 256, "%s%s", minutesPart, secondsPart);
        return;
    }
    char hoursPart[64];
    if (hours <= 1)
        std::snprintf(hoursPart, sizeof hoursPart, "1 hour, ");
    else
        std::snprintf(hoursPart, sizeof hoursPart, "%ld hours, ", hours);
    std::snprintf(text, 256, "%s%s%s", hoursPart, minutesPart, secondsPart);
}
