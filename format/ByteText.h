// Byte counts with binary unit labels, gigabytes and grouped digits.
#pragma once

#include <cstdint>

// A scaled byte count with a unit label ("512 Bytes", "1.500 Kilobytes";
// short: "1.5 KB"). text holds at least 256 bytes.
void FormatByteSize(int64_t count, char* text, bool longLabels);

// Binary gigabytes with one decimal, no label ("1.5").
void FormatGigabytes(int64_t count, char* text);

// Inserts thousands separators into a digit string in place ("1234567" → "1,234,567").
void InsertThousandsSeparators(char* text);
