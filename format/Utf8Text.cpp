#include "format/Utf8Text.h"

#include <cstdio>
#include <cstring>

namespace {
bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether a "\xNN" escape starts at text[at].
bool IsEscapeAt(std::string_view text, std::size_t at)
{
    return at + 3 < text.size() && text[at] == '\\' && text[at + 1] == 'x' && IsHexDigit(text[at + 2]) &&
           IsHexDigit(text[at + 3]);
}

bool IsControlCharacter(std::string_view text, std::size_t at, std::size_t length)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    if (length == 1)
        return byte < 0x20 || byte == 0x7F;
    // U+0080 to U+009F, the C1 controls.
    return length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
}
}  // namespace

std::size_t Utf8CharacterLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - at < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuation(byte(i)))
            return 0;
    }
    return length;
}

bool IsTextCutPoint(std::string_view text, std::size_t at)
{
    if (at == 0 || at >= text.size())
        return true;
    for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
        if (IsEscapeAt(text, at - back))
            return false;
    }
    if (!IsContinuation(static_cast<unsigned char>(text[at])))
        return true;
    for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
        if (!IsContinuation(static_cast<unsigned char>(text[at - back])))
            return Utf8CharacterLength(text, at - back) <= back;
    }
    return true;
}

std::size_t TextCutLength(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    std::size_t length = limit;
    while (!IsTextCutPoint(text, length))
        --length;
    return length;
}

std::size_t TextCutStart(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return 0;
    std::size_t start = text.size() - limit;
    while (!IsTextCutPoint(text, start))
        ++start;
    return start;
}

void CopyCutText(std::string_view source, char* text, std::size_t capacity)
{
    const std::size_t length = TextCutLength(source, capacity - 1);
    std::memmove(text, source.data(), length);
    text[length] = '\0';
}

std::string ShownText(std::string_view text)
{
    std::string shown;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8CharacterLength(text, at);
        if (length > 0 && text[at] != '\\' && !IsControlCharacter(text, at, length)) {
            shown.append(text.substr(at, length));
            at += length;
            continue;
        }
        // An escaped control character escapes every byte of it.
        for (const std::size_t end = at + (length > 0 ? length : 1); at < end; ++at) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[at]));
            shown += escaped;
        }
    }
    return shown;
}

std::string ValidUtf8(std::string_view text)
{
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8CharacterLength(text, at);
        if (length == 0) {
            valid += "\xEF\xBF\xBD";
            ++at;
        } else {
            valid.append(text.substr(at, length));
            at += length;
        }
    }
    return valid;
}
