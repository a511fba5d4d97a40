// kestrelia-cli --report FILE: the text report of the test that just ended,
// or the spreadsheet report when FILE ends in ".xls".
#pragma once

#include "cli/CliOptions.h"
#include "engine/Run.h"

#include <ostream>
#include <string>

inline constexpr const char* kReportOption = "--report";

// The --report path given, or empty.
std::string ReportPathOption(const CliOptions& options);

// Refuses, before any test runs, a report that could not be stored: a path
// where no regular file may be saved, or where the user who started the
// program may not write (CheckFileDestination). Empty when fine.
std::string CheckReportOption(const CliOptions& options);

// Saves the report; false with a message on err. Under sudo or pkexec the
// file is written with the rights of the user who asked for it.
bool WriteRunReport(const std::string& path, const Run& run, std::ostream& err);
