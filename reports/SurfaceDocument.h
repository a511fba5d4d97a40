// The "surface" object of a run document (version 2): a surface run's span,
// how far it came and how it ended, its figures, lists and temperatures, and
// every sample as one row of numbers.
#pragma once

#include "engine/Run.h"

#include <nlohmann/json.hpp>

nlohmann::json SurfaceJson(const SurfaceResult& surface, RunEnd end, bool writes);

// Throws std::out_of_range on content no surface run can have and json
// exceptions on malformed content; sets end to how the run ended.
SurfaceResult SurfaceFromJson(const nlohmann::json& value, bool writes, RunEnd& end);

// Cuts the samples out of a run document's JSON text, leaving their list
// empty: what a list of runs needs, without reading (and keeping) the numbers
// of a big document. False, the text unchanged, when it has no such list.
bool LeaveOutSurfaceSamples(std::string& documentText);
