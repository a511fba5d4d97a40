// The mount table, one reader for every question about it: each line with
// the block device the volume lives on, whatever its source says (a FUSE
// volume's source may be "fusefat"; a btrfs file system over several devices
// names only one of them).
#pragma once

#include "devices/FuseHelpers.h"

#include <string>
#include <sys/types.h>
#include <vector>

struct MountTableEntry {
    std::string source;      // "/dev/sdb2", "/dev/mapper/x", "fusefat", "server:/export", "proc", ...
    std::string target;      // mount point
    std::string type;        // "ext4", "fuseblk", "fuse.fusefat", ...
    std::string vfsOptions;  // the mount's own options
    std::string fsOptions;   // the file system's options
    std::string root = "/";  // the folder of the file system shown there ("/" unless a bind mount or subvolume)
    dev_t devNumber = 0;     // as the table gives it (btrfs: a number of its own; FUSE: 0:connection)
    std::string propagation{};  // "shared:2 master:1", "" for a private mount
    std::string device{};    // the real block node it lives on ("/dev/sdb2"); "" for none
    std::string helper{};    // the FUSE helper program serving it ("/usr/bin/fusefat"); "" for a kernel file system
    pid_t helperPid = 0;     // and its process
};

// The lines of the table in order, with device and helper resolved; empty
// when it cannot be read.
// helpers: where FUSE helpers are looked for, when the table has FUSE mounts
// (nullptr: a look of its own).
std::vector<MountTableEntry> ReadMountLines(const char* mountInfoPath = "/proc/self/mountinfo",
                                            FuseHelperCache* helpers = nullptr);

// The options of a comma-separated list ("rw,noatime"), empty ones left out.
std::vector<std::string> SplitMountOptions(const std::string& options);

// The real node of a block device source (following /dev symlinks); "" for
// a source that is not a block device.
std::string BlockDeviceNode(const std::string& source);

// The kernel names of every device a block device carries a file system
// with: itself, and for btrfs over several devices every member
// (sysRoot/fs/btrfs/UUID/devices/).
std::vector<std::string> FileSystemMembers(const std::string& kernelName, const std::string& sysRoot = "/sys");

// The nodes of every device the mount's file system lies on: its device and,
// for btrfs over several devices, every other member; none without a device.
std::vector<std::string> MountDeviceNodes(const MountTableEntry& mount, const std::string& sysRoot = "/sys");

// True when the mount's file system lies on devicePath: on the drive or
// partition itself, one of its partitions, or (btrfs) a member of the same
// file system that does.
bool MountLiesOn(const MountTableEntry& mount, const std::string& devicePath, const std::string& sysRoot = "/sys");

// "/dev/sdb2 at /media/me/Photos, ..." for the mounts that lie on devicePath; "" for none.
std::string DescribeMountsOn(const std::string& devicePath);
