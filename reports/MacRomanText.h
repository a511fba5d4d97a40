// Reports are 8-bit Mac OS Roman text; everything inside the program is UTF-8.
#pragma once

#include <string>

// The UTF-8 text in Mac OS Roman. A character the set has no place for
// becomes "?", as does a byte that is not valid UTF-8.
std::string Utf8ToMacRoman(const std::string& utf8);
