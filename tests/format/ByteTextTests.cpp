#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "format/ByteText.h"
#include "format/Localization.h"

namespace {
std::string Label(int64_t count, bool longLabels) {
    char text[256] = "untouched";
    BytesSInt64ToCStrWLabel(count, text, longLabels);
    return text;
}

struct LabelRow {
    int64_t count;
    const char* longText;
    const char* shortText;
};

TEST(ByteLabels, ScaleToTheLargestWholeUnit) {
    const LabelRow rows[] = {
        {0, "0 Bytes", "0 B"},
        {512, "512 Bytes", "512 B"},
        {1023, "1023 Bytes", "1023 B"},
        {1024, "1 Kilobytes", "1 KB"},
        {1536, "1.500 Kilobytes", "1.5 KB"},
        {1025, "1.001 Kilobytes", "1.0 KB"},
        {2097152, "2 Megabytes", "2 MB"},
        {-2048, "-2 Kilobytes", "-2 KB"},
        {-100, "-100 Bytes", "-100 B"},
        // Only the last division's remainder decides exactness.
        {1048577, "1 Megabytes", "1 MB"},
        {500107862016LL, "465.762 Gigabytes", "465.8 GB"},
        {int64_t{3} << 40, "3 Terabytes", "3 TB"},
        {int64_t{5} << 50, "5 PetaBytes", "5 PB"},
        {int64_t{7} << 60, "7 ExaBytes", "7 EB"},
        // Raised by one before negation, so no overflow.
        {std::numeric_limits<int64_t>::min(), "-7.999 ExaBytes", "-8.0 EB"},
        {std::numeric_limits<int64_t>::max(), "7.999 ExaBytes", "8.0 EB"},
    };
    for (const LabelRow& row : rows) {
        EXPECT_EQ(Label(row.count, true), row.longText) << row.count;
        EXPECT_EQ(Label(row.count, false), row.shortText) << row.count;
    }
}

TEST(ByteLabels, LongLabelsAreLookedUpAndLeaveTheTextAloneWithoutOne) {
    SetLocalizationLookup([](const char* key) -> const char* {
        return std::strcmp(key, "Megabytes") == 0 ? "Mégaoctets" : nullptr;
    });
    EXPECT_EQ(Label(2097152, true), "2 Mégaoctets");
    EXPECT_EQ(Label(2048, true), "2 Kilobytes");
    SetLocalizationLookup(nullptr);
}

TEST(Gigabytes, OneDecimalWithoutLabel) {
    const std::pair<int64_t, const char*> rows[] = {
        {1610612736, "1.5"}, {0, "0.0"}, {1073741824, "1.0"}, {int64_t{500} << 30, "500.0"},
        {107374182, "0.1"}, {500107862016LL, "465.8"},
    };
    for (const auto& [count, expected] : rows) {
        char text[256];
        BytesSInt64ToCStrGB(count, text);
        EXPECT_STREQ(text, expected) << count;
    }
}

TEST(DigitGrouping, CommasEveryThreeDigitsFromTheRight) {
    const std::pair<const char*, const char*> rows[] = {
        {"1234567", "1,234,567"}, {"123", "123"}, {"1000", "1,000"}, {"", ""},
        {"999999", "999,999"}, {"1234", "1,234"}, {"0", "0"},
        {"18446744073709551615", "18,446,744,073,709,551,615"},
    };
    for (const auto& [input, expected] : rows) {
        char text[256];
        std::strcpy(text, input);
        AddCommasToCStringNumber(text);
        EXPECT_STREQ(text, expected) << input;
    }
}

TEST(DigitGrouping, ATextThatWouldOutgrowTheBufferIsLeftAlone) {
    char text[256];
    const std::string digits(200, '7');
    std::strcpy(text, digits.c_str());
    AddCommasToCStringNumber(text);
    EXPECT_EQ(std::string(text), digits);
}
}  // namespace
