// One run of kestrelia-cli: check the input, open the target, run the test on
// the worker, and print the results.
#pragma once

#include "cli/CliOptions.h"

#include <functional>
#include <ostream>
#include <string>

inline constexpr int kExitDone = 0;
inline constexpr int kExitTestFailed = 1;
inline constexpr int kExitBadInput = 2;

// Runs the test the options describe; returns the exit status. afterTest,
// when given, runs once a test has ended well, before the results are
// printed, and returns more members for the JSON output (or "").
int RunBenchmark(const CliOptions& options, std::ostream& out, std::ostream& err,
                 const std::function<std::string(const std::string& target)>& afterTest = {});

// Set from a signal handler: the run stops between transfers and ends.
void RequestBenchmarkInterrupt();
