// kestrelia-cli with several targets (or --all): every drive tested at the
// same time on a worker of its own (or in turn with --one-at-a-time), each
// with its own run, history document, report and graph, every safety rule
// per drive; then one table per drive and a summary.
#pragma once

#include "cli/CliOptions.h"
#include "cli/DriveSummary.h"

#include <ostream>
#include <vector>

inline constexpr const char* kOneAtATimeOption = "--one-at-a-time";
inline constexpr const char* kTargetRateOption = "--target-rate";

// The options ask for this runner: several targets, --all or --target-rate.
bool ManyDrivesAsked(const CliOptions& options);

// Tests the drives and prints their results; the exit status, the worst of
// the drives' (a stop signal's, then 2, then 1, then 0). outcomes, when
// given, gets every drive's outcome, its run when it ended well.
int RunManyDrives(const CliOptions& options, std::ostream& out, std::ostream& err,
                  std::vector<DriveOutcome>* outcomes = nullptr);
