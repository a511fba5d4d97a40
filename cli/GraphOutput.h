// kestrelia-cli --graph FILE.png: the zone graph of a finished standard test,
// drawn offscreen into a PNG file.
#pragma once

#include "cli/CliOptions.h"
#include "cli/FleetRun.h"
#include "engine/Run.h"

#include <ostream>
#include <string>
#include <vector>

inline constexpr const char* kGraphOption = "--graph";

// The --graph path given, or empty.
std::string GraphPathOption(const CliOptions& options);

// Refuses a graph that cannot be drawn or stored, before any test runs: the
// random test has no zone graph, and the path must be one where a regular
// file may be saved by the user who started the program (CheckFileDestination).
// Empty when fine.
std::string CheckGraphOption(const CliOptions& options);

// Draws the zone graph of run and saves the PNG through a new file beside the
// destination; returns false with a message on err.
bool WriteResultGraph(const std::string& path, const Run& run, const CliOptions& options, std::ostream& err);

// kestrelia-cli --merge --graph FILE.png: draws the fleet's zone averages side
// by side and saves the PNG the same way; false with a message on err.
bool WriteFleetGraph(const std::string& path, const std::vector<FleetRun>& runs, std::ostream& err);
