// Names for saved reports: the name the save dialog proposes and the suffix
// that follows the user's choice of format.
#pragma once

#include <cstdint>
#include <string>

// "<name> Results.txt" for the text report (1), "<name> Results.xls" for any
// other choice. name is the tested drive's or volume's name.
std::string SuggestedReportFileName(const std::string& name, int32_t format);

// The file name with the suffix of the format: for the text report a name
// ending in ".xls" has every ".xls" (in any case) turned into ".txt", and a
// name not ending in ".txt" gets ".txt" appended; the spreadsheet report the
// same with the suffixes exchanged. The endings are compared case-sensitively.
// Other formats and empty names come back unchanged.
std::string ChangeFileNameSuffix(const std::string& name, int32_t format);

// The report format a file name asks for: ".xls" the spreadsheet report,
// anything else the text report.
int32_t ReportFormatForFileName(const std::string& path);
