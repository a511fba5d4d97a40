// kestrelia-cli and the run history: --history TARGET lists a drive's runs,
// --compare FILE.json sets the results of a test beside an earlier run, and
// --save-json FILE writes the run document that the history keeps. Every
// finished test of a drive or volume is also kept in its history.
#pragma once

#include "cli/CliOptions.h"
#include "reports/RunDocument.h"

#include <optional>
#include <ostream>
#include <string>

inline constexpr const char* kHistoryOption = "--history";
inline constexpr const char* kCompareOption = "--compare";
inline constexpr const char* kSaveJsonOption = "--save-json";

// Prints the runs of TARGET's history, newest first (as JSON with --json).
// Returns the exit status.
int PrintRunHistory(const std::string& target, bool json, std::ostream& out, std::ostream& err);

// Refuses, before any test runs, a --save-json path that cannot be written and
// a --compare file that cannot be read or compared with the test asked for.
// Empty when fine; *earlier gets the --compare run.
std::string CheckHistoryOptions(const CliOptions& options, std::optional<RunDocument>* earlier);

// What a run of kestrelia-cli on target (a node or a file, sizeBytes long)
// tests: its identity, its name ("Scratch file" when no target was given)
// and its size label.
RunTarget CliRunTarget(const CliOptions& options, const std::string& target, uint64_t sizeBytes);

// Keeps the run in the target's history and writes --save-json; false with a
// message on err when --save-json could not be written (a history that cannot
// be kept is only noted).
bool KeepCliRun(const CliOptions& options, const RunDocument& run, std::ostream& err);

// The earlier run beside the new one: a table, or the "compared_with" JSON object.
void PrintComparisonTable(std::ostream& out, const RunDocument& earlier, const std::string& earlierPath,
                          const Run& now);
std::string ComparisonJson(const RunDocument& earlier, const std::string& earlierPath, const Run& now);
