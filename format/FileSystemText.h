// File-system kinds of mounted volumes.
#pragma once

#include <cstdint>

// The two 16-bit identification words of a mounted volume.
struct VolumeSignatureInfo {
    uint16_t fileSystemID;   // FSID
    uint16_t signatureWord;  // SIG
};

// Writes the localised file-system name and returns its kind code (see the table in the source).
int16_t FileSystemNameForSignature(const VolumeSignatureInfo& volumeInfo, char* text);

// The same for a Linux file-system type name as the mount table gives it
// ("ext4", "xfs", "btrfs", "vfat", "nfs4", ...). Unknown types fall back to
// "Unknown File System" with code 0. Linux's own disk file systems are
// Unix file systems (code 3) named "Linux File System (ext4)" and so on.
int16_t FileSystemNameForType(const char* typeName, char* text);
