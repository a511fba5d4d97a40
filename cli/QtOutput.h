// The outputs of kestrelia-cli that need Qt: the --graph picture (drawn with
// QtGui) and the --report text (its date in the user's language through
// QtCore's locale data). They live in a module beside the program
// (kestrelia-cli-qt.so) that is loaded only when one of them is asked for, so
// a run without them starts without loading Qt at all.
#pragma once

#include "cli/FleetRun.h"
#include "engine/Run.h"

#include <ostream>
#include <string>
#include <vector>

struct QtOutputFunctions {
    // Draws the zone graph of run under title and subtitle into *png; false
    // with the reason in *problem.
    bool (*drawGraph)(const Run& run, const std::string& title, const std::string& subtitle, std::string* png,
                      std::string* problem);
    // Saves the report of run to path in the format its name asks for; false
    // with the reason in *problem.
    bool (*saveReport)(const std::string& path, const Run& run, std::string* problem);
    // Draws the zone averages of the fleet's runs side by side into *png;
    // false with the reason in *problem.
    bool (*drawFleetGraph)(const std::vector<FleetRun>& runs, std::string* png, std::string* problem);
};

// The module's one entry point, looked up by this name.
inline constexpr const char* kQtOutputEntryPoint = "KestreliaCliQtOutput";
extern "C" const QtOutputFunctions* KestreliaCliQtOutput();

// Loads the module on first use; null with a message on err when it cannot be.
const QtOutputFunctions* LoadQtOutput(std::ostream& err);
