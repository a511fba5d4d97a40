// Every line of this process's mount table, unfiltered: what unmounting for a
// write test must see, whatever the volume lists choose to show.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct MountLine {
    std::string source;      // "/dev/sdb2", "/dev/mapper/x", "proc", ...
    std::string target;      // mount point
    std::string type;
    std::string vfsOptions;  // the mount's own options
    std::string fsOptions;   // the file system's options
    std::string root;        // the folder of the file system shown there
    dev_t device = 0;        // the file system's device number (anonymous for btrfs, FUSE)
    std::string propagation; // "shared:2 master:1", "" for a private mount
};

// The lines of the table in order; empty when it cannot be read.
std::vector<MountLine> ReadMountLines(const char* mountInfoPath = "/proc/self/mountinfo");

// The real node of a block device source (following /dev symlinks); "" for
// a source that is not a block device.
std::string BlockDeviceNode(const std::string& source);
