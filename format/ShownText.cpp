#include "format/ShownText.h"

#include <cstdio>

namespace {
// The length of the valid UTF-8 sequence at text[at], or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

void AppendEscaped(std::string* shown, std::string_view bytes)
{
    for (const unsigned char c : bytes) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
        *shown += escaped;
    }
}
}  // namespace

std::string ShownText(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F || c == '\\')
                AppendEscaped(&shown, text.substr(at, 1));
            else
                shown += static_cast<char>(c);
            ++at;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(text, at);
        const bool c1Control = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F;
        if (length == 0 || c1Control) {
            AppendEscaped(&shown, text.substr(at, length == 0 ? 1 : length));
            at += length == 0 ? 1 : length;
        } else {
            shown.append(text.substr(at, length));
            at += length;
        }
    }
    return shown;
}
