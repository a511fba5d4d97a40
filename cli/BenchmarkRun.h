// One run of kestrelia-cli: check the input, open the target, run the test on
// the worker, and print the results.
#pragma once

#include "cli/CliOptions.h"
#include "engine/Run.h"
#include "engine/RunPreparation.h"

#include <csignal>
#include <functional>
#include <ostream>
#include <string>

class RunObserver;
class TestRun;

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

// The steps of RunBenchmark, for runners of several targets at once.
// The run on target with the checks of both programs, or a refusal.
PreparedRun PrepareCliRun(const CliOptions& options, const std::string& target);
// "kestrelia-cli: target: why" on err.
void PrintRefusal(std::ostream& err, const Refusal& refusal, const std::string& target);
// Starts the worker with the stop signals blocked in it, so that they are
// always taken by the main thread, which stops the runs.
bool StartWorkerWithoutSignals(TestRun& testRun, RunObserver& observer);
// Holds SIGINT, SIGTERM and SIGHUP back from the calling thread while it
// lives, so that the threads it starts meanwhile never take them.
class StopSignalsHeld {
public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
    sigset_t previous_;
};
// 130 after SIGINT, 143 after SIGTERM or SIGHUP, 0 while no signal came.
int InterruptExitStatus();
// Prints the results of a run that has ended (its table, or its JSON object)
// and says why it failed; the exit status. afterTest as for RunBenchmark.
int PresentEndedRun(const CliOptions& options, const TestRun& testRun, const std::string& target, std::ostream& out,
                    std::ostream& err, const std::function<std::string(const Run& run)>& afterTest);

// Why the target given cannot be tested at all: it is a folder, or it does
// not exist. Empty when it can be tried, or when no target was given.
std::string TargetPathProblem(const CliOptions& options);

// Called from the handler of SIGINT, SIGTERM and SIGHUP: the run stops at
// the next chunk of the scratch file or between transfers, and ends through
// the ordinary clean-up (every block put back, the scratch file removed).
void RequestBenchmarkInterrupt(int signalNumber);

