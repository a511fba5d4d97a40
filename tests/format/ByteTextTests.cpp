// Byte counts with labels, gigabytes and digit grouping.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "format/ByteText.h"
#include "format/Localization.h"

namespace {
std::string Label(int64_t count, bool longLabels)
{
    char text[256] = "untouched";
    FormatByteSize(count, text, longLabels);
    return text;
}

TEST(ByteLabels, ScaleToTheLargestWholeUnit)
{
    const struct { int64_t count; const char* longText; const char* shortText; } rows[] = {
        {0, "0 Bytes", "0 B"},
        {1023, "1023 Bytes", "1023 B"},
        {1024, "1 Kilobytes", "1 KB"},
        {1536, "1.500 Kilobytes", "1.5 KB"},
        {1048577, "1 Megabytes", "1 MB"},  // only the last division's remainder decides exactness
        {500107862016LL, "465.762 Gigabytes", "465.8 GB"},
        {int64_t{3} << 40, "3 Terabytes", "3 TB"},
        {int64_t{5} << 50, "5 PetaBytes", "5 PB"},
        {std::numeric_limits<int64_t>::min(), "-7.999 ExaBytes", "-8.0 EB"},  // no overflow on negation
        {std::numeric_limits<int64_t>::max(), "7.999 ExaBytes", "8.0 EB"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Label(row.count, true), row.longText) << row.count;
        EXPECT_EQ(Label(row.count, false), row.shortText) << row.count;
    }
    SetLocalizationLookup([](const char* key) -> const char* {
        return std::strcmp(key, "Megabytes") == 0 ? "Mégaoctets" : nullptr;
    });
    EXPECT_EQ(Label(2097152, true), "2 Mégaoctets");
    EXPECT_EQ(Label(2048, true), "2 Kilobytes");  // no translation: the English label
    SetLocalizationLookup(nullptr);
}

TEST(ByteLabels, GigabytesAndDigitGrouping)
{
    for (const auto& [count, expected] : {std::pair<int64_t, const char*>{1610612736, "1.5"}, {0, "0.0"},
                                          {107374182, "0.1"}, {500107862016LL, "465.8"}}) {
        char text[256];
        FormatGigabytes(count, text);
        EXPECT_STREQ(text, expected) << count;
    }
    const std::string longDigits(200, '7');  // would outgrow the buffer: left alone
    const std::pair<std::string, std::string> rows[] = {
        {"1234567", "1,234,567"}, {"123", "123"}, {"1000", "1,000"}, {"", ""},
        {"18446744073709551615", "18,446,744,073,709,551,615"}, {longDigits, longDigits}};
    for (const auto& [input, expected] : rows) {
        char text[256];
        std::strcpy(text, input.c_str());
        InsertThousandsSeparators(text);
        EXPECT_EQ(text, expected) << input;
    }
}
}  // namespace
