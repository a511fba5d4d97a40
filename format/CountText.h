// A count with its noun: "1 cycle", "2 cycles", "1 Megabyte".
#pragma once

#include <string>

// The noun's plural is the noun with "s".
std::string CountText(long count, const std::string& noun);
