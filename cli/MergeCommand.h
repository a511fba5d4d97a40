// kestrelia-cli --merge DIR... [--csv] [--graph FILE.png]: the runs fetched
// from many machines (one folder per host, named after it, as docs/fleet's
// playbook fetches them) in one table, CSV or picture. A folder holds run
// documents (the history, --save-json) and --json outputs; the newest run of
// each drive and test of a host is shown once. Files that hold no run of
// this program are named and skipped.
#pragma once

#include "cli/FleetRun.h"

#include <ostream>
#include <string>
#include <vector>

// The arguments ask for --merge.
bool IsMergeCommand(const std::vector<std::string>& arguments);

// Reads the folders, prints the table (or CSV) and draws the picture. Exit
// status: 0, 1 when a file was skipped or the picture could not be saved,
// 2 for bad arguments or a folder that cannot be read.
int MergeFetchedRuns(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The runs as a table for people, and as CSV (RFC 4180: CRLF line ends,
// fields with a comma, quote or line break quoted, quotes doubled). When a
// surface run is among them, both end with its 1 % lows and unreadable sectors.
void PrintFleetTable(std::ostream& out, const std::vector<FleetRun>& runs);
void PrintFleetCsv(std::ostream& out, const std::vector<FleetRun>& runs);
