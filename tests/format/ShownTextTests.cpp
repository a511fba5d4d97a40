// Text from run documents made safe to show: printable UTF-8 unchanged,
// control characters, backslashes and broken UTF-8 as \xNN per byte.
#include <gtest/gtest.h>

#include "format/ShownText.h"

namespace {
TEST(ShownText, EscapesControlCharactersBackslashesAndBrokenUtf8Only)
{
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"2026-12-08 07:30 UTC, Blåbær 東京 ✓", "2026-12-08 07:30 UTC, Blåbær 東京 ✓"},
        {"\x1B]0;PWNED\a\t\n\x7F\\", "\\x1B]0;PWNED\\x07\\x09\\x0A\\x7F\\x5C"},
        {"\xC2\x9B" "2J \xC2\xA0", "\\xC2\\x9B2J \xC2\xA0"},  // C1 CSI escaped, no-break space kept
        {"\x9B\xC0\xAF \xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE6\x9D", // lone, overlong, surrogate, too high, cut
         "\\x9B\\xC0\\xAF \\xE0\\x80\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80 \\xE6\\x9D"},
        {std::string("a\0b", 3), "a\\x00b"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShownText(c.text), c.shown) << c.shown;
}
}  // namespace
