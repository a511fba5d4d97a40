// A surface run's results for kestrelia-cli: the table of figures and lists
// for people, the "surface" member of the JSON object for scripts.
#pragma once

#include "engine/Run.h"

#include <ostream>
#include <string>

void PrintSurfaceTable(std::ostream& out, const Run& run);

// {"span_sectors": ..., "samples": [...]}: the figures, lists, temperatures and samples.
std::string SurfaceJson(const Run& run);

