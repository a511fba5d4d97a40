// Writing into the 256-byte caller-owned texts of the formatting functions.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "format/NumberLocale.h"
#include "format/Utf8Text.h"

inline constexpr std::size_t kTextBufferBytes = 256;

// Copies value into text, cut to fit the buffer, NUL-terminated.
inline void CopyToText(const std::string& value, char* text) {
    CopyCutText(value, text, kTextBufferBytes);
}

// printf-style formatting of one value into a std::string, with "." before
// the decimals whatever the locale.
template <typename Value>
std::string FormatValue(const char* format, Value value) {
    const CNumericScope numbers;
    char buffer[kTextBufferBytes];
    const int written = std::snprintf(buffer, sizeof buffer, format, value);
    return written < 0 ? std::string() : std::string(buffer);
}
