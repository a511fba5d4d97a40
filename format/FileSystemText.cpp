#include "format/FileSystemText.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "format/Localization.h"
#include "format/TextBuffer.h"

namespace {
constexpr uint16_t kAppleShareID = 0x6173;  // 'as'
constexpr uint16_t kNetworkID = 0x6375;     // 'cu'
constexpr uint16_t kDosID = 0x4953;         // 'IS'
constexpr uint16_t kAudioCDID = 0x4A48;     // 'JH'

constexpr uint16_t kSigBD = 0x4244;
constexpr uint16_t kSigCA = 0x4341;
constexpr uint16_t kSigKG = 0x4B47;
constexpr uint16_t kSigAG = 0x4147;
constexpr uint16_t kSigHPlus = 0x482B;
constexpr uint16_t kSigKH = 0x4B48;
constexpr uint16_t kSigNT = 0x4E54;
constexpr uint16_t kSigUDF = 0x75DF;

// Kind codes returned with the names.
constexpr int16_t kUnknownKind = 0;
constexpr int16_t kStandardKind = 1;
constexpr int16_t kExtendedKind = 2;
constexpr int16_t kUnixKind = 3;
constexpr int16_t kDosKind = 4;
constexpr int16_t kNTKind = 5;
constexpr int16_t kUDFKind = 6;
constexpr int16_t kAudioCDKind = 7;
constexpr int16_t kNoTextNetworkKind = 10;
constexpr int16_t kNetworkKind = 11;

struct Kind {
    const char* name;  // nullptr: no text is written
    int16_t code;
};

Kind KindOf(const VolumeSignatureInfo& info) {
    const uint16_t fsid = info.fileSystemID;
    const uint16_t sig = info.signatureWord;
    if (fsid == kAppleShareID) return {"AppleShare File System", kNetworkKind};
    if (fsid == kNetworkID) {
        if (sig == kSigBD) return {"Windows Sharing (SMB/CIFS)", kNetworkKind};
        if (sig == kSigCA) return {".Mac File System", kNetworkKind};
        if (sig == kSigKG) return {"Network File System (NFS)", kNetworkKind};
        if (sig == kSigAG) return {nullptr, kNoTextNetworkKind};
    }
    if (sig == kSigBD && fsid == kDosID) return {"PC DOS File System", kDosKind};
    if (sig == kSigBD && fsid == kAudioCDID) return {"Audio CD-ROM", kAudioCDKind};
    if (sig == kSigBD && fsid == 0) return {"MacOS Standard", kStandardKind};
    if (sig == kSigHPlus) return {"MacOS Extended", kExtendedKind};
    if (sig == kSigKH) return {"Unix File System", kUnixKind};
    if (sig == kSigNT) return {"NT File System", kNTKind};
    if (sig == kSigUDF) return {"Universal Disk Format", kUDFKind};
    return {"Unknown File System", fsid == kNetworkID ? kNetworkKind : kUnknownKind};
}

struct LinuxKind {
    const char* typeName;
    const char* name;
    int16_t code;
};

// Linux type names of the foreign file systems that have a kind of their own.
const LinuxKind kLinuxKinds[] = {
    {"hfs", "MacOS Standard", kStandardKind},
    {"hfsplus", "MacOS Extended", kExtendedKind},
    {"ufs", "Unix File System", kUnixKind},
    {"vfat", "PC DOS File System", kDosKind},
    {"msdos", "PC DOS File System", kDosKind},
    {"fat", "PC DOS File System", kDosKind},
    {"exfat", "exFAT File System", kDosKind},
    {"ntfs", "NT File System", kNTKind},
    {"ntfs3", "NT File System", kNTKind},
    {"fuseblk", "NTFS/exFAT (FUSE)", kNTKind},
    {"udf", "Universal Disk Format", kUDFKind},
    {"iso9660", "ISO 9660 (CD-ROM) File System", kUDFKind},
    {"squashfs", "SquashFS (compressed, read-only)", kUnixKind},
    {"f2fs", "Flash-Friendly File System (F2FS)", kUnixKind},
    {"zfs", "ZFS File System", kUnixKind},
    {"bcachefs", "bcachefs File System", kUnixKind},
    {"nilfs2", "NILFS2 File System", kUnixKind},
    {"nfs", "Network File System (NFS)", kNetworkKind},
    {"nfs4", "Network File System (NFS)", kNetworkKind},
    {"cifs", "Windows Sharing (SMB/CIFS)", kNetworkKind},
    {"smb3", "Windows Sharing (SMB/CIFS)", kNetworkKind},
    {"afpfs", "AppleShare File System", kNetworkKind},
};

// Linux's own disk file systems are Unix file systems, named with their type.
const char* const kLinuxNativeTypes[] = {
    "ext2", "ext3", "ext4", "xfs", "btrfs", "jfs", "reiserfs",
};
}  // namespace

int16_t FileSystemNameForSignature(const VolumeSignatureInfo& volumeInfo, char* text) {
    const Kind kind = KindOf(volumeInfo);
    if (kind.name != nullptr) LocalizedCString(kind.name, text);
    return kind.code;
}

int16_t FileSystemNameForType(const char* typeName, char* text) {
    const std::string type = typeName != nullptr ? typeName : "";
    for (const LinuxKind& kind : kLinuxKinds) {
        if (type == kind.typeName) {
            LocalizedCString(kind.name, text);
            return kind.code;
        }
    }
    for (const char* native : kLinuxNativeTypes) {
        if (type == native) {
            char label[256];
            if (LocalizedCString("Linux File System", label))
                CopyToText(std::string(label) + " (" + native + ")", text);
            return kUnixKind;
        }
    }
    LocalizedCString("Unknown File System", text);
    return kUnknownKind;
}
