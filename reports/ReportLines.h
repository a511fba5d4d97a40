// Pieces of report lines shared by every section: a printf-formatted line
// with the report's own number form, and whole numbers with grouped digits.
#pragma once

#include <cstdint>
#include <string>

namespace report_lines {

// One formatted line, numbers written as the report writes them whatever the locale.
std::string Line(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A whole number with its digits grouped: "1,234,567".
std::string GroupedDigits(uint64_t number);

}  // namespace report_lines
