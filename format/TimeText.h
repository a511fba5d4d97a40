// Elapsed times as text.
#pragma once

#include <cstdint>

// A calendar difference; only hours, minutes and seconds are used.
struct ElapsedTimeUnits {
    int32_t years;
    int32_t months;
    int32_t days;
    int32_t hours;
    int32_t minutes;
    double seconds;
};

// Splits a duration in seconds into calendar units (days, hours, minutes, seconds).
ElapsedTimeUnits ElapsedTimeUnitsFromSeconds(double seconds);

// "42 seconds ", "3 minutes, 1 second", "2 hours, 0 minutes, 5 seconds ".
void FormatElapsedTime(const ElapsedTimeUnits& units, char* text);
