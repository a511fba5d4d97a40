// A run fetched from one host of a fleet (kestrelia-cli --merge), and the
// figures the fleet's table and picture set side by side.
#pragma once

#include "reports/RunDocument.h"

#include <optional>
#include <string>

struct FleetRun {
    std::string host;
    RunDocument run;
};

// Averages over a run's zones (or the random test's speeds), MB/s.
struct FleetFigures {
    double readAverage = 0.0;
    double readMinimum = 0.0;  // 0 for the random test
    std::optional<double> writeAverage;
    std::optional<double> writeMinimum;
};
FleetFigures FleetFiguresOf(const RunDocument& run);
