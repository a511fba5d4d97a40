#include "format/TimeText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
// "1 second" whenever the count reads 1, else "N seconds " (trailing space kept).
// The first form also covers every count from 1 up to 2 when nothing larger is shown.
void SecondsText(double seconds, bool wholeSecondOnly, char* text, size_t size) {
    char number[64];
    std::snprintf(number, sizeof number, "%.0f", seconds);
    if (std::strcmp(number, "1") == 0 || (wholeSecondOnly && seconds >= 1.0 && seconds < 2.0))
        std::snprintf(text, size, "1 second");
    else
        std::snprintf(text, size, "%s seconds ", number);
}
}  // namespace

ElapsedTimeUnits ElapsedTimeUnitsFromSeconds(double seconds) {
    ElapsedTimeUnits units{};
    if (!(seconds > 0.0)) return units;  // negative or NaN durations read as none
    const double wholeMinutes = std::floor(seconds / 60.0);
    units.seconds = seconds - wholeMinutes * 60.0;
    const auto minutes = static_cast<int64_t>(wholeMinutes);
    units.minutes = static_cast<int32_t>(minutes % 60);
    units.hours = static_cast<int32_t>((minutes / 60) % 24);
    units.days = static_cast<int32_t>(minutes / (60 * 24));
    return units;
}

void FormatElapsedTime(const ElapsedTimeUnits& units, char* text) {
    const long hours = units.hours;
    const long minutes = units.minutes;
    const double seconds = units.seconds;

    if (hours == 0 && minutes == 0) {
        SecondsText(seconds, true, text, 256);
        return;
    }

    char minutesPart[64];
    char secondsPart[64];
    if (minutes == 1)
        std::snprintf(minutesPart, sizeof minutesPart, "1 minute, ");
    else
        std::snprintf(minutesPart, sizeof minutesPart, "%ld minutes, ", minutes);
    SecondsText(seconds, false, secondsPart, sizeof secondsPart);

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
