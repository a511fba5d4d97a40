// Writing a report file. The report is assembled completely first and saved
// in one piece through the program's file writer (a new file beside the
// destination, renamed over it), with the rights of the user who started the
// program, so a failed save never leaves a short report where a complete one was.
#pragma once

#include "platform/AtomicFileWriter.h"
#include "reports/ReportText.h"

#include <cstdint>
#include <ctime>
#include <string>

inline constexpr const char* kReportCreateFailedMessage = "Error: Unable to create test results file.";

// The report last assembled by SaveReportFile, in Mac OS Roman.
const std::string& CurrentReport();

using ReportSaveResult = FileWriteResult;

// Saves the report of a run in the given format to path, its "Test Date"
// the time testDate, replacing a file that is there (through a symbolic
// link, the file it names). A destination that is not a regular file is
// refused (see WriteFileAtomically).
ReportSaveResult SaveReportFile(const std::string& path, const Run& run, int32_t format, std::time_t testDate);

// The alert text for a failed save, with the step and the system's text of the error.
std::string ReportSaveFailureText(const ReportSaveResult& result);
