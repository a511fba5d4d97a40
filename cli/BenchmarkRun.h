// One run of kestrelia-cli: check the input, open the target, run the test on
// the worker, and print the results.
#pragma once

#include "cli/CliOptions.h"
#include "engine/Run.h"

#include <functional>
#include <ostream>
#include <string>

inline constexpr int kExitDone = 0;
inline constexpr int kExitTestFailed = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitInterrupted = 130;  // SIGINT (Ctrl-C)
inline constexpr int kExitTerminated = 143;   // SIGTERM or SIGHUP

// Runs the test the options describe; returns the exit status. afterTest,
// when given, gets the run once it has ended well, before the results are
// printed, and returns more members for the JSON output (or ""). A stop
// signal is heeded up to the test's end: 130 or 143, with nothing printed
// and afterTest not run. One that comes later is not: the caller writes
// every output and the exit status stays as returned.
int RunBenchmark(const CliOptions& options, std::ostream& out, std::ostream& err,
                 const std::function<std::string(const Run& run)>& afterTest = {});

// Why the target given cannot be tested at all: it is a folder, or it does
// not exist. Empty when it can be tried, or when no target was given.
std::string TargetPathProblem(const CliOptions& options);

// Called from the handler of SIGINT, SIGTERM and SIGHUP: the run stops at
// the next chunk of the scratch file or between transfers, and ends through
// the ordinary clean-up (every block put back, the scratch file removed).
void RequestBenchmarkInterrupt(int signalNumber);

