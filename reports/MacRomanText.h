// Conversion of the report text (UTF-8 inside the program) to the 8-bit
// Mac OS Roman set the report files are written in.
#pragma once

#include <string>

// Characters Mac OS Roman lacks, and bytes that are not valid UTF-8, become
// "?" (or a close transliteration). False only when the conversion is not
// available on this system.
bool ConvertUtf8ToMacRoman(const std::string& utf8, std::string* macRoman);
