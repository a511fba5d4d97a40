// Volume records for mounted volumes, from the mount table (libmount),
// statvfs and the file-system type.
#pragma once

#include "devices/DriveRecords.h"

#include <cstdint>
#include <string>
#include <vector>

// One line of the mount table.
struct MountTableEntry {
    std::string source;     // "/dev/loop3p1", "server:/export", ...
    std::string target;     // mount point
    std::string type;       // "ext4", ...
    std::string vfsOptions;
    std::string fsOptions;
    std::string root = "/";  // the folder of the file system shown there ("/" unless a bind mount)
};

// The mounts of this process's mount table that can be volumes (those with
// a device node or a network source; kernel pseudo file systems are left
// out), in table order. mountInfoPath is the table to read.
std::vector<MountTableEntry> ReadMountTable(const char* mountInfoPath = "/proc/self/mountinfo");

// Fills the table with the volumes whose device lies on the drive, in
// mount-table order, and returns their number (at most kMaxVolumeCount;
// further volumes are left out). Volumes without a local device are skipped.
int16_t GetBSDDrivesVolumes(const char* drivePath, VolInfoRec* table, bool longLabels);

// Completes a record whose mount fields are set: device paths, name, file
// system, sizes. vRefNum is its position in the mount table.
void FillInVolInfoStruct(VolInfoRec* record, int16_t vRefNum, bool longLabels);

// Fills the device paths and volNameCStr from the record's mount fields:
// 0; -35 when the volume has no local device node; -1 for a null record.
int16_t GetVolvMDeviceID(VolInfoRec* record);

// Copies a mount-table entry into a cleared record.
void SetVolumeMountFields(VolInfoRec* record, const MountTableEntry& mount);

// The volume mounted at mountPoint, or -35 (no such volume).
int16_t FindMountedVolume(const char* mountPoint, VolInfoRec* record, bool longLabels);
