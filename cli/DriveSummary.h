// The summary of a run of several targets: one line per drive (read and
// write average and minimum, the slowest zone, pass or fail against the
// target rate), and whether the drives ran at the same time on a shared
// controller.
#pragma once

#include "engine/Run.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// One target of a run of several, once its test is over.
struct DriveOutcome {
    std::string target;      // as given
    std::string name;        // its short name ("sdb"), distinct within the run
    std::string controller;  // where it hangs ("" for none; see DriveController.h)
    int status = 0;          // its exit status
    std::optional<Run> run;  // the run, when it ended well and was kept
};

// The runs that ended well, in the order of the targets.
std::vector<const Run*> KeptRuns(const std::vector<DriveOutcome>& outcomes);

struct DriveFigures {
    double readAverage = 0.0;   // MB/s, over the zones (the random test: its one speed)
    double readMinimum = 0.0;
    double writeAverage = 0.0;  // 0 without writes
    double writeMinimum = 0.0;
    bool writes = false;
    int slowestZone = 0;        // 1-based, the zone of the lowest minimum; 0 without zones
    double slowestSpeed = 0.0;  // that minimum
};

DriveFigures FiguresOf(const Run& run);

// Every zone's minimum, read and write, reaches the rate (MB/s).
bool ReachesTargetRate(const DriveFigures& figures, double rate);

// With --json: one object with the "runs" array (the drives' JSON objects,
// each as for one target, one a line) and "drives" (every target's name,
// controller, exit status and whether it reaches the target rate).
void PrintDrivesJson(std::ostream& out, const std::vector<DriveOutcome>& outcomes,
                     const std::vector<std::string>& runObjects, double targetRate, bool concurrent);

// The summary table and the lines on how the drives ran. targetRate 0: no
// pass or fail column. concurrent: the drives ran at the same time.
void PrintDriveSummary(std::ostream& out, const std::vector<DriveOutcome>& outcomes, double targetRate,
                       bool concurrent);
