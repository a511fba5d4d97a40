// Start-up of the desktop program: the system check, the privileged
// relaunch, the starting values of the globals and the resources folder.
#pragma once

#include <string>

// True when the kernel is new enough for what the program uses (direct I/O
// on block devices, exclusive opens, the per-process mount table).
bool KernelIsRecentEnough(const std::string& release);

// The starting values of the program-wide globals.
void Initialize();

// Finds fileName in the resources folder of the running executable; true with
// its full path in path (1024 bytes) when the file exists.
bool FindResourceFile(const char* fileName, char* path);
