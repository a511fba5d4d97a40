// The drive and volume records, the lists the menus show, and what is chosen
// on each tab. A choice names its drive or volume by identity (device node,
// mount point), never by a position or a pointer, so a drive that comes or
// goes while another is chosen leaves the choice as it was, and a chosen
// drive that goes leaves nothing chosen.
#pragma once

#include "devices/MountTable.h"

#include <cstdint>
#include <string>
#include <vector>

// At most this many drives are listed, and this many volumes per drive and
// on the volume tab.
inline constexpr int kMaxDriveCount = 64;
inline constexpr int kMaxVolumeCount = 64;

// The volume-parameter answer of a mounted volume (from statvfs).
struct VolumeParams {
    uint64_t totalBytes = 0;
    uint64_t freeBytes = 0;
    uint64_t blockBytes = 0;
};

struct VolumeRecord {
    std::string devicePath;      // "/dev/" + kernel name; "" without a local device
    std::string name;            // label, else the mount point's last part ("Root" for /)
    std::string fileSystemName;  // e.g. "Linux Extended File System 4"
    std::string totalSizeLabel;
    std::string freeSizeLabel;
    MountTableEntry mount;       // how it is mounted, so it can be mounted back the same way
    VolumeParams params;
    uint64_t totalBytes = 0;
    int mountIndex = 0;          // 1-based position in the mount table
    uint64_t devNumber = 0;      // the mount's block device number (0 when unknown)
    std::string mapperName;      // device-mapper name ("vg-root"), "" for other devices
};

struct DriveRecord {
    std::string devicePath;     // "/dev/" + kernel name: the drive's identity
    std::string name;           // the model, '/' and '-' made '_'
    std::string interfaceText;  // how it is attached ("NVMe:  Namespace = 1")
    std::string iconPath;       // icon file path or icon-theme name
    std::string sizeLabel;
    std::vector<VolumeRecord> volumes;  // at most kMaxVolumeCount
    int64_t sizeBytes = 0;
    uint64_t maxTransferBytes = 0;      // the largest transfer plus one, 0 for no known limit
    bool writable = false;
};

// The drive menu's records and the volume menu's, in menu order (record k is
// item k + 3), and the choice on each tab.
struct DeviceLists {
    std::vector<DriveRecord> drives;    // at most kMaxDriveCount
    std::vector<VolumeRecord> volumes;  // at most kMaxVolumeCount
    std::string chosenDrive;            // its device path; "" when none is chosen
    struct VolumeKey {
        std::string devicePath;
        std::string mountPoint;
        bool operator==(const VolumeKey&) const = default;
    } chosenVolume;                     // empty when none is chosen

    // Position of the drive with that device path, or -1.
    int DriveSlot(const std::string& devicePath) const;
    // Position of the listed volume mounted at mountPoint, or -1.
    int VolumeSlot(const std::string& mountPoint) const;
    // The chosen records; nullptr when none is chosen or it is no longer listed.
    const DriveRecord* ChosenDrive() const;
    const VolumeRecord* ChosenVolume() const;
    void ChooseVolume(const VolumeRecord& volume) { chosenVolume = {volume.devicePath, volume.mount.target}; }
};

// The program's lists (the window's and the CLI's listing).
DeviceLists& Devices();
const DriveRecord* ChosenDrive();
const VolumeRecord* ChosenVolume();

// The drive/volume tab last chosen: 1 = drives, 2 = volumes.
extern int32_t gDVLastTabIndex;
// The application's icon folder, ending in "/".
inline constexpr int kPathBytes = 1024;
extern char gPathToAllIcons[kPathBytes];
