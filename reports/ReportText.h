// The results report of a run, assembled in memory from its results and its
// settings as they were at Start: one header for both formats, then the text
// report's or the spreadsheet report's per-zone body. Lines end in a carriage return.
#pragma once

#include "engine/Run.h"

#include <cstdint>
#include <ctime>
#include <string>

class QLocale;

inline constexpr int32_t kTextReportFormat = 1;
inline constexpr int32_t kSpreadsheetReportFormat = 2;

// The long date ("Monday, December 7, 2026"; "Montag, 7. Dezember 2026" in
// German) and the time of day with seconds, for the "Test Date" line, in the
// locale's own order and words; in English when the locale's text has
// characters Mac OS Roman cannot hold (Japanese, Russian, ...).
struct ReportDate {
    std::string longDate;
    std::string timeOfDay;
};
ReportDate ReportDateFor(std::time_t when);  // the user's locale
ReportDate ReportDateFor(std::time_t when, const QLocale& locale);

// The common header (UTF-8 text), naming the run's target (its name and size
// label). A name with characters Mac OS Roman cannot hold is followed by a
// line saying they appear as "?".
std::string ReportHeader(const Run& run, const ReportDate& date);

// The per-zone bodies; empty when zone 1 has not been measured.
std::string TextReportBody(const Run& run);
std::string SpreadsheetReportBody(const Run& run);

// Header and the body of the format (1 text, 2 spreadsheet, else none),
// converted to the report's Mac OS Roman bytes.
std::string AssembleReport(const Run& run, int32_t format, const ReportDate& date);
