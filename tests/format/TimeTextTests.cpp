#include <gtest/gtest.h>

#include <string>

#include "format/TimeText.h"

namespace {
std::string Elapsed(int32_t hours, int32_t minutes, double seconds) {
    char text[256];
    FormatElapsedTime({0, 0, 0, hours, minutes, seconds}, text);
    return text;
}

TEST(ElapsedTime, WordsForHoursMinutesAndSeconds) {
    const struct { int32_t h, m; double s; const char* text; } rows[] = {
        {0, 0, 42.4, "42 seconds "},
        {0, 0, 59.6, "60 seconds "},
        {0, 0, 0.7, "1 second"},  // rounds to one: never "1 seconds"
        {0, 2, 0.9, "2 minutes, 1 second"},
        {0, 3, 1.5, "3 minutes, 2 seconds "},
        {2, 0, 5.0, "2 hours, 0 minutes, 5 seconds "},
        {1, 1, 1.0, "1 hour, 1 minute, 1 second"},
        {-1, 10, 0.0, "1 hour, 10 minutes, 0 seconds "},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Elapsed(row.h, row.m, row.s), row.text) << row.h << ":" << row.m << ":" << row.s;
    const ElapsedTimeUnits units = ElapsedTimeUnitsFromSeconds(2 * 86400 + 3 * 3600 + 4 * 60 + 5.25);
    EXPECT_EQ(units.days, 2);
    EXPECT_EQ(units.hours, 3);
    EXPECT_EQ(units.minutes, 4);
    EXPECT_DOUBLE_EQ(units.seconds, 5.25);

    const ElapsedTimeUnits none = ElapsedTimeUnitsFromSeconds(-3.0);
    EXPECT_EQ(none.minutes, 0);
    EXPECT_EQ(none.seconds, 0.0);
}
}  // namespace
