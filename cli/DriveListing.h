// kestrelia-cli --list: the drives that can be tested and their mounted
// volumes, with the texts the program shows for them.
#pragma once

#include "cli/CliOptions.h"

#include <ostream>

inline constexpr const char* kListOption = "--list";

bool ListOptionGiven(const CliOptions& options);

// Fills the drive list from the system and prints it; returns the number of drives.
int PrintDriveList(std::ostream& out, bool json);
