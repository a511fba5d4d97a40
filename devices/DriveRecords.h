// The drive and volume records and their program-wide tables.
#pragma once

#include "engine/TestModel.h"

#include <cstdint>

inline constexpr int kMaxDriveCount = 64;
inline constexpr int kMaxVolumeCount = 64;
inline constexpr int kPathBytes = 1024;
inline constexpr int kTextBytes = 256;

// The volume-parameter answer of a mounted volume (from statvfs).
struct VolumeParams {
    uint64_t totalBytes;
    uint64_t freeBytes;
    uint64_t blockBytes;
};

struct VolInfoRec {
    char rawDevicePathCStr[kPathBytes];    // "/dev/" + device name; "" without a local device
    char blockDevicePathCStr[kPathBytes];  // the same node (Linux has no separate raw node)
    char totalSizeLabelCStr[kTextBytes];
    char freeSizeLabelCStr[kTextBytes];
    char fileSystemNameCStr[kTextBytes];   // e.g. "Linux Extended File System 4"
    Str255 volNamePStr;
    char volNameCStr[kTextBytes];
    // How the volume is mounted, so it can be mounted back the same way.
    char mountSourceCStr[kPathBytes];      // as the mount table gives it
    char fileSystemTypeCStr[kTextBytes];   // "ext4", "xfs", ...
    char vfsOptionsCStr[kPathBytes];       // "rw,relatime", ...
    char fsOptionsCStr[kPathBytes];        // the file system's own options
    char fsRootCStr[kPathBytes];           // folder of the file system mounted there: "/", or a bind mount's
    VolumeParams volParms;
    uint64_t totalBytes64;
    char rootRef[kPathBytes];              // the mount point (root directory of the volume)
    const void* iconRef;                   // set by the interface, when it has one
    int16_t vRefNum;                       // 1-based position in the mount table
    uint64_t devNumber;                    // the mount's device number (0 when unknown)
    char mapperNameCStr[kTextBytes];       // device-mapper name ("vg-root"), "" for other devices
    char mountHelperCStr[kPathBytes];      // the FUSE helper program serving it, "" for a kernel file system
};

struct DriveInfoRec {
    char devicePathCStr[kPathBytes];  // "/dev/" + kernel name
    char iconPathCStr[kPathBytes];    // icon file path or icon-theme name
    char sizeLabelCStr[kTextBytes];
    Str255 driveNamePStr;
    char driveNameCStr[kTextBytes];
    Str255 interfaceInfoPStr;
    VolInfoRec volumes[kMaxVolumeCount];
    int64_t sizeInBytes64;
    uint64_t maxSegmentBytes64;
    int16_t volumeCount;
    bool writable;
};

extern DriveInfoRec gSavedDriveInfoArray[kMaxDriveCount];
extern VolInfoRec gSavedVolInfoArray[kMaxVolumeCount];
extern DriveInfoRec* gActiveDrive;   // nullptr when no drive is chosen
extern VolInfoRec* gActiveVolume;    // nullptr when no volume is chosen
// The drive/volume tab last chosen: 1 = drives, 2 = volumes.
extern int32_t gDVLastTabIndex;
// The application's icon folder, ending in "/".
extern char gPathToAllIcons[kPathBytes];

// Copies a NUL-terminated text into a length-prefixed string (at most 255).
void CopyCStrToPStr(const char* text, unsigned char* pascal);
// The text of a length-prefixed string.
void CopyPStrToCStr(const unsigned char* pascal, char* text);
