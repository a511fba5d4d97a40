// Writing a results report file: the report assembled, converted to Mac OS
// Roman and written in one piece.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kReportOpenFailedMessage = "Error: Unable to open test results file.";

// The report format a file name asks for: ".xls" the spreadsheet report,
// anything else the text report.
int32_t ReportFormatForFileName(const std::string& path);

// Writes the report of the current results in `format` to path, with the
// current date and time. The file appears complete or not at all: the text
// goes to a new file beside it that then replaces path, and on any failure
// that new file is removed and an existing file at path stays as it was.
// Returns 0 or -errno.
int WriteResultsReportFile(const std::string& path, int32_t format);
