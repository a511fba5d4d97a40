// Texts that stay valid UTF-8 however they are cut or shown: names from the
// kernel, mount points and labels may hold any bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the valid UTF-8 character starting at text[at] (1 to 4), or 0
// when the byte there starts none (a stray, overlong or surrogate sequence).
std::size_t Utf8CharacterLength(std::string_view text, std::size_t at);

// Whether text can be cut before text[at] without splitting a UTF-8
// character or a "\xNN" escape.
bool IsTextCutPoint(std::string_view text, std::size_t at);

// Length of the longest start of text of at most `limit` bytes that ends at a
// cut point.
std::size_t TextCutLength(std::string_view text, std::size_t limit);

// Where the longest end of text of at most `limit` bytes begins at a cut point.
std::size_t TextCutStart(std::string_view text, std::size_t limit);

// Copies as much of source into text as fits in `capacity` bytes with its
// NUL, ending at a cut point.
void CopyCutText(std::string_view source, char* text, std::size_t capacity);

// text for a terminal: valid characters as they are, control characters,
// backslashes and bytes that are no valid UTF-8 as "\xNN" escapes.
std::string ShownText(std::string_view text);

// text with every byte that is no valid UTF-8 replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);
