// kestrelia-cli --all: every listed drive that nothing has mounted, shown
// and confirmed on the terminal (or by --yes) before any is tested.
#pragma once

#include "cli/CliOptions.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

inline constexpr const char* kAllOption = "--all";
inline constexpr const char* kYesOption = "--yes";
inline constexpr int kExitNotConfirmed = 3;  // --all without a yes

// The listed drives with no volume mounted (in this mount namespace; the
// preflight of a write test looks into the others) and never the one that
// holds /, also through device-mapper or md: their device paths.
std::vector<std::string> UnmountedListedDrives();

// Shows the drives on err and asks on in (the terminal) whether to test them,
// unless yes. 0 to go on; else the exit status after saying why on err: 2 for
// no drive, kExitNotConfirmed when in is no terminal or the answer is no.
int ConfirmAllDrives(const std::vector<std::string>& drives, bool yes, std::istream& in, bool inIsTerminal,
                     std::ostream& err);
