// Cutting and showing texts that may hold any bytes: never inside a UTF-8
// character or a "\xNN" escape, and always valid UTF-8 for JSON.
#include "format/Utf8Text.h"

#include <gtest/gtest.h>

namespace {

const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC";  // two characters of 3 bytes

TEST(Utf8Text, CutsOnlyBetweenCharactersAndEscapes)
{
    const struct { std::string text; std::size_t limit, length, start; } rows[] = {
        {kJapanese, 6, 6, 0},
        {kJapanese, 5, 3, 3},
        {kJapanese, 2, 0, 6},
        {"a\xC3\xA9z", 2, 1, 3},  // é
        {"\xF0\x9F\x98\x80!", 3, 0, 4},  // an emoji of 4 bytes
        {"ab\\xE6\\xE6", 6, 6, 6},
        {"ab\\xE6\\xE6", 5, 2, 6},
        {"ab\\xE6\\xE6", 3, 2, 10},
        {"\xE9\xE9\xE9", 2, 2, 1},  // bytes that are no UTF-8 are cut like characters
        {"\x80\x80\x80\x80", 2, 2, 2},
        {"\\x4", 2, 2, 1},  // no escape: too short
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text + " " + std::to_string(row.limit));
        EXPECT_EQ(row.length, TextCutLength(row.text, row.limit));
        EXPECT_EQ(row.start, TextCutStart(row.text, row.limit));
    }
    char text[6];
    CopyCutText(kJapanese, text, sizeof text);
    EXPECT_EQ(kJapanese.substr(0, 3), text);
}

TEST(Utf8Text, ShownAndValidForms)
{
    const struct { std::string text, shown, valid; } rows[] = {
        {"M\xC3\xBCll " + kJapanese, "M\xC3\xBCll " + kJapanese, "M\xC3\xBCll " + kJapanese},
        {"caf\xE9", "caf\\xE9", "caf\xEF\xBF\xBD"},
        {"cut \xE6\x97", "cut \\xE6\\x97", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
        {"a\\b\tc\x7F", "a\\x5Cb\\x09c\\x7F", "a\\b\tc\x7F"},
        {"\xC2\x9B" "1m", "\\xC2\\x9B" "1m", "\xC2\x9B" "1m"},  // a C1 control
        {"\xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80", "\\xC0\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80",
         "\xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.shown, ShownText(row.text)) << row.text;
        EXPECT_EQ(row.valid, ValidUtf8(row.text)) << row.text;
    }
}

}  // namespace
