// A run fetched from one host of a fleet (kestrelia-cli --merge), and the
// figures the fleet's table and picture set side by side.
#pragma once

#include "reports/RunDocument.h"

#include <optional>
#include <string>
#include <vector>

struct FleetRun {
    std::string host;
    RunDocument run;
};

// Averages over a run's zones (or the random or surface test's speeds), MB/s.
struct FleetFigures {
    double readAverage = 0.0;
    double readMinimum = 0.0;  // 0 for the random test
    std::optional<double> writeAverage;
    std::optional<double> writeMinimum;
    // The surface test's only: the speed 99 % of the transfers reach, and the sectors that could not be read.
    std::optional<double> readOnePercentLow;
    std::optional<double> writeOnePercentLow;
    std::optional<uint64_t> unreadableSectors;
};
FleetFigures FleetFiguresOf(const RunDocument& run);

// "standard", "random" or "surface".
std::string FleetTestName(const RunDocument& run);

// What the fleet's picture draws of a run: the read (and write) average of
// each zone of a standard run; of a surface run, the average of each of
// kFleetSurfaceParts equal parts of the span it covered (bytes over time);
// nothing for a random run.
struct FleetBar {
    double read = 0.0;
    std::optional<double> write;
};
inline constexpr int kFleetSurfaceParts = 10;
std::vector<FleetBar> FleetBarsOf(const RunDocument& run);
