// The drive or volume the current results belong to, from the selection.
#pragma once

#include "reports/ReportText.h"

#include <cstdint>
#include <string>

// The active volume on the Volumes tab (gDVLastTabIndex 2), else the active
// drive; empty texts when nothing is chosen.
ReportSubject ActiveReportSubject();

// Results opened from a saved run report on that run's drive, for as long as
// the results are still those opened (fingerprint, CurrentResultsFingerprint).
void SetOpenedResultsSubject(const ReportSubject& subject, uint64_t fingerprint);

// The report format a file name asks for: ".xls" the spreadsheet report,
// anything else the text report.
int32_t ReportFormatForFileName(const std::string& path);

// Saves the report of the current results about the active drive or volume.
// 0 or -errno.
int WriteResultsReportFile(const std::string& path, int32_t format);
