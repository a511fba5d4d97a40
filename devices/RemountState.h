// What a write test must mount back, kept in a small root-owned state file
// under /run while the volumes are unmounted, so that a process that dies
// mid-test (SIGKILL, power cut of the session) leaves enough behind for the
// next start to put every volume back.
#pragma once

#include "devices/MountTable.h"

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// One unmounted volume: its line of the mount table as it was (the state
// file keeps device, source, target, type, options, root and helper), and
// what the unmount learned.
struct RememberedMount : MountTableEntry {
    int order = 0;           // position in the mount table when it was unmounted
    // The mount point folder itself (under the mount), to make it again
    // where a desktop removed it; known once the volume is unmounted.
    bool folderKnown = false;
    uint32_t folderMode = 0755;
    uint32_t folderOwner = 0;
    uint32_t folderGroup = 0;
};

// The folder of the state files: $KESTRELIA_RUN_DIR when set, else /run/kestrelia.
std::string StateDirectory();

// This process's state file (in StateDirectory()).
std::string OwnStateFile();

// Replaces this process's state file atomically with the volumes given;
// removes it when there are none. False when it could not be written.
bool SaveRememberedMounts(const std::vector<RememberedMount>& mounts);

// A state file left by a process that no longer runs.
struct LeftMounts {
    std::string file;
    pid_t pid = 0;
    std::vector<RememberedMount> mounts;
};

// The state files of processes that no longer run (a pid now used by
// another process counts as ended: its start time differs).
std::vector<LeftMounts> FindLeftMounts();

// The text of a state file and back; nothing when the text is not one.
std::string StateText(pid_t pid, uint64_t startTime, const std::vector<RememberedMount>& mounts);
bool ParseStateText(const std::string& text, pid_t* pid, uint64_t* startTime, std::vector<RememberedMount>* mounts);

// A process's start time since boot (field 22 of /proc/PID/stat); 0 when it does not run.
uint64_t ProcessStartTime(pid_t pid);
