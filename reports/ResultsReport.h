// The two results reports, assembled in memory from the result records, the
// test settings and the chosen drive or volume: a text report to be read and
// a tab-separated report for spreadsheets. Lines end in a carriage return.
// The text is UTF-8 here; ReportFile converts it to Mac OS Roman.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

inline constexpr int32_t kTextReportFormat = 1;
inline constexpr int32_t kSpreadsheetReportFormat = 2;

// The report format of the next save: 1 = text, 2 = spreadsheet (any other
// value gives the header alone). Not kept with the preferences.
extern int32_t gSavedRestulsFileFormatS32;

// When the test results were saved, as the header shows it.
struct ReportDateTime {
    std::string date;  // long form: "Monday, December 7, 2026"
    std::string time;  // time of day with seconds: "05:42:17"
};

// The local date and time of `when` in the locale's long date and time forms.
ReportDateTime ReportDateTimeOf(std::time_t when);

// The common header: product and notice lines, date, the tested drive (drive
// tab) or volume (volume tab, gDVLastTabIndex 2), the random results, and the
// zone settings when zone 1 is measured. Replaces the report's contents.
void DoCommonSaveResults(std::string& report, const ReportDateTime& when);

// The per-zone bodies of the two formats; nothing when zone 1 is not measured.
void SaveTestResultsTEXT(std::string& report);
void SaveTestResultsXCEL(std::string& report);

// The whole report in the given format.
std::string AssembleResultsReport(int32_t format, const ReportDateTime& when);
