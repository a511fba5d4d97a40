#include "format/AxisSteps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr double kGigabyte = 1073741824.0;

struct Step {
    double size;
    int decimals;
};

// The smallest 1, 2, 2.5 or 5 × 10^n at least span / maxSteps.
Step RoundStep(double span, int maxSteps)
{
    const double least = span / maxSteps;
    int exponent = static_cast<int>(std::floor(std::log10(least)));
    for (;; ++exponent) {
        const double power = std::pow(10.0, exponent);
        for (const double mantissa : {1.0, 2.0, 2.5, 5.0}) {
            // A hair of tolerance, so that 1.5 GB / 10 takes 0.2, not 0.25 for 0.15000000001.
            if (mantissa * power >= least * (1.0 - 1e-9)) {
                return {mantissa * power, std::max(0, -exponent + (mantissa == 2.5 ? 1 : 0))};
            }
        }
    }
}
}  // namespace

std::vector<AxisLabel> PositionAxisLabels(uint64_t bytes, int maxSteps)
{
    std::vector<AxisLabel> labels;
    if (bytes == 0 || maxSteps < 1)
        return labels;
    const double span = static_cast<double>(bytes) / kGigabyte;
    const Step step = RoundStep(span, maxSteps);
    for (int i = 0; i <= maxSteps; ++i) {
        const double value = i * step.size;
        if (value > span * (1.0 + 1e-9))
            break;
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", step.decimals, value);
        labels.push_back({value / span, text});
    }
    return labels;
}
