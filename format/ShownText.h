// Text read from files the program did not write itself (run documents),
// made safe to show on a terminal or in a window: a control character (C0,
// DEL, C1), a backslash, or a byte that is not part of valid UTF-8, is shown
// as \xNN for each of its bytes, so no escape sequence reaches a terminal and
// nothing is hidden or ambiguous. Printable UTF-8 text is unchanged.
#pragma once

#include <string>
#include <string_view>

std::string ShownText(std::string_view text);
