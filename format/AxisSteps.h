// The position axis under the graph: labels at round steps of 1, 2, 2.5 or
// 5 × 10^n gigabytes (binary) from the start of the drive, at most eleven.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AxisLabel {
    double fraction = 0.0;  // where it stands, 0 = start of the drive, 1 = its end
    std::string text;       // gigabytes, with as many decimals as the step needs
};

// The labels for a drive of bytes, 0 to at most maxSteps steps; none for 0 bytes.
std::vector<AxisLabel> PositionAxisLabels(uint64_t bytes, int maxSteps = 10);
