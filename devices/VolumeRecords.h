// Volume records for mounted volumes, from the mount table (libmount),
// statvfs and the file-system type.
#pragma once

#include "devices/DriveRecords.h"
#include "devices/MountTable.h"

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// Where volumes are looked up: the mount table and the sysfs root ("" keeps
// the present one). Tests point them at fake tables and trees.
void SetVolumeSources(const std::string& mountInfoPath, const std::string& sysRoot);

// The kernel name of the block device a mount lives on ("dm-2" for a mount
// of /dev/mapper/vg-root or /dev/disk/by-label/root), from the table's
// device number or else the source node; "" for mounts without one.
std::string MountKernelName(const MountTableEntry& mount);

// A btrfs subvolume mounted on its own (its root is the subvol= option),
// unlike a bind mount of a folder.
bool IsSubvolumeMount(const MountTableEntry& mount);

// The text of volume `index`'s menu item: its name, with the kernel name of
// its device added ("data (sdb1)") when another listed volume has the same name.
std::string VolumeItemText(const std::vector<VolumeRecord>& volumes, std::size_t index);

// The mounts of this process's mount table that can be volumes (those on a
// block device, FUSE volumes served from one included, or with a network
// source; kernel pseudo file systems are left out), in table order. mountInfoPath is the table to read (nullptr: the one
// set above, normally /proc/self/mountinfo).
std::vector<MountTableEntry> ReadMountTable(const char* mountInfoPath = nullptr);

// True when the volume's node ("/dev/dm-2", "/dev/sdb1") is the drive
// ("/dev/sdb") or a partition of it, or is built on one of them.
bool VolumeLiesOnDrive(const char* volumeNode, const char* drivePath);

// The volumes whose device lies on the drive (a partition of it, or a
// device-mapper, md or bcache device built on it; a btrfs file system also
// under each other drive it spans), in mount-table order, at most
// kMaxVolumeCount (further volumes are left out). Volumes without a local
// device are skipped.
std::vector<VolumeRecord> DriveVolumes(const std::string& drivePath, bool longLabels);

// The volumes offered for a volume test, in mount-table order, at most
// kMaxVolumeCount: local file systems, each once at its first mount, and
// btrfs subvolumes mounted on their own; bind mounts of a folder are not.
std::vector<VolumeRecord> ListTestableVolumes(bool longLabels);

// The volume mounted at mountPoint, or -35 (no such volume).
int16_t FindMountedVolume(const std::string& mountPoint, VolumeRecord* record, bool longLabels);
