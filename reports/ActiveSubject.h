// The drive or volume the current results belong to, from the selection.
#pragma once

#include "reports/ReportText.h"

#include <cstdint>
#include <string>

// The active volume on the Volumes tab (gDVLastTabIndex 2), else the active
// drive; empty texts when nothing is chosen.
ReportSubject ActiveReportSubject();

// The report format a file name asks for: ".xls" the spreadsheet report,
// anything else the text report.
int32_t ReportFormatForFileName(const std::string& path);

// Saves the report of the current results about the active drive or volume.
// 0 or -errno.
int WriteResultsReportFile(const std::string& path, int32_t format);
