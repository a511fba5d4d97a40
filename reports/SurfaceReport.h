// The report sections of a surface run: its speeds over the surface, where
// sustained writes fell off, the slow and unreadable blocks, the drive's
// temperature, and how much was covered. Lines end in a carriage return, as
// the rest of the report's.
#pragma once

#include "engine/Run.h"

#include <string>


// "0.2 GB of 0.4 GB covered (stopped)", for a run that ended before its span did; "" else.
std::string SurfaceCoveredText(const Run& run);

// The text report's and the spreadsheet report's body of a surface run
// (empty without samples). The spreadsheet's ends in one row per sample.
std::string SurfaceTextReportBody(const Run& run);
std::string SurfaceSpreadsheetReportBody(const Run& run);
