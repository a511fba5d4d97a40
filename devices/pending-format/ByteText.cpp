#include "format/ByteText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

void BytesSInt64ToCStrWLabel(int64_t count, char* text, bool longLabels)
{
    static const char* const shortUnits[] = {"B", "KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};
    static const char* const longUnits[] = {"Bytes", "Kilobytes", "Megabytes", "Gigabytes", "Terabytes",
                                            "PetaBytes", "ExaBytes", "ZettaBytes", "YottaBytes"};
    const bool negative = count < 0;
    if (count == INT64_MIN)
        ++count;
    uint64_t magnitude = static_cast<uint64_t>(negative ? -count : count);
    int unit = 0;
    uint64_t remainder = 0;
    while (magnitude >= 1024) {
        remainder = magnitude % 1024;
        magnitude /= 1024;
        ++unit;
    }
    const bool exact = remainder == 0;
    const float value = static_cast<float>(magnitude) + static_cast<float>(remainder) * 0.0009765625f;
    const char* sign = negative ? "-" : "";
    if (unit == 0)
        std::snprintf(text, 256, "%s%llu %s", sign, static_cast<unsigned long long>(magnitude),
                      longLabels ? longUnits[0] : shortUnits[0]);
    else if (longLabels)
        std::snprintf(text, 256, exact ? "%s%.0f %s" : "%s%.3f %s", sign, value, longUnits[unit]);
    else
        std::snprintf(text, 256, exact ? "%s%.0f %s" : "%s%.1f %s", sign, value, shortUnits[unit]);
}

void BytesSInt64ToCStrGB(int64_t count, char* text)
{
    std::snprintf(text, 256, "%.1f", static_cast<float>(count) / 1073741824.0f);
}

void AddCommasToCStringNumber(char* text)
{
    std::string digits = text;
    std::reverse(digits.begin(), digits.end());
    std::string grouped;
    std::size_t at = 0;
    while (digits.size() - at >= 4) {
        grouped += digits.substr(at, 3) + ",";
        at += 3;
    }
    grouped += digits.substr(at);
    std::reverse(grouped.begin(), grouped.end());
    std::snprintf(text, 256, "%s", grouped.c_str());
}
