#include "devices/VolumeRecords.h"

#include "devices/DevicePaths.h"
#include "format/ByteText.h"
#include "format/FileSystemText.h"

#include <libmount/libmount.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace {

constexpr int16_t kNoSuchVolume = -35;

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

void CopyText(const std::string& source, char* text, std::size_t capacity)
{
    std::snprintf(text, capacity, "%s", source.c_str());
}

std::string Text(const char* value)
{
    return value ? value : "";
}

bool IsNetworkSource(const std::string& source)
{
    return source.find(":/") != std::string::npos || source.rfind("//", 0) == 0;
}

// The real node of a block device source (following /dev symlinks); "" for
// sources that are not block devices.
std::string BlockNodeOf(const std::string& source)
{
    if (source.rfind("/dev/", 0) != 0)
        return std::string();
    char resolved[PATH_MAX];
    if (!realpath(source.c_str(), resolved))
        return std::string();
    struct stat status {};
    if (stat(resolved, &status) != 0 || !S_ISBLK(status.st_mode))
        return std::string();
    return resolved;
}

// The name shown for a volume: the last part of its mount point.
std::string VolumeNameOf(const std::string& mountPoint)
{
    if (mountPoint == "/")
        return "Root";
    const std::size_t slash = mountPoint.find_last_of('/');
    return slash == std::string::npos ? mountPoint : mountPoint.substr(slash + 1);
}

std::string RootOf(libmnt_fs* fs)
{
    const char* root = mnt_fs_get_root(fs);
    return std::string(root && root[0] ? root : "/");
}

}  // namespace

std::vector<MountTableEntry> ReadMountTable(const char* mountInfoPath)
{
    std::vector<MountTableEntry> mounts;
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table());
    std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!table || !iter || mnt_table_parse_file(table.get(), mountInfoPath) != 0)
        return mounts;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        MountTableEntry mount{Text(mnt_fs_get_source(fs)), Text(mnt_fs_get_target(fs)),
                              Text(mnt_fs_get_fstype(fs)), Text(mnt_fs_get_vfs_options(fs)),
                              Text(mnt_fs_get_fs_options(fs)), RootOf(fs)};
        if (mount.source.rfind("/", 0) == 0 || IsNetworkSource(mount.source))
            mounts.push_back(mount);
    }
    return mounts;
}

void SetVolumeMountFields(VolInfoRec* record, const MountTableEntry& mount)
{
    std::memset(record, 0, sizeof *record);
    CopyText(mount.source, record->mountSourceCStr, sizeof record->mountSourceCStr);
    CopyText(mount.target, record->rootRef, sizeof record->rootRef);
    CopyText(mount.type, record->fileSystemTypeCStr, sizeof record->fileSystemTypeCStr);
    CopyText(mount.vfsOptions, record->vfsOptionsCStr, sizeof record->vfsOptionsCStr);
    CopyText(mount.fsOptions, record->fsOptionsCStr, sizeof record->fsOptionsCStr);
    CopyText(mount.root, record->fsRootCStr, sizeof record->fsRootCStr);
    const std::string name = VolumeNameOf(mount.target);
    CopyCStrToPStr(name.c_str(), record->volNamePStr);
}

int16_t GetVolvMDeviceID(VolInfoRec* record)
{
    if (!record) {
        std::fputs("GetVolvMDeviceID SavedVolInfo pointer was nil\n", stderr);
        return -1;
    }
    struct statvfs info {};
    if (statvfs(record->rootRef, &info) != 0) {
        std::fputs("PBHGetVolParmsSync failed\n", stderr);
    } else {
        record->volParms.blockBytes = info.f_frsize;
        record->volParms.totalBytes = static_cast<uint64_t>(info.f_blocks) * info.f_frsize;
        record->volParms.freeBytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
        const std::string node = BlockNodeOf(record->mountSourceCStr);
        if (!node.empty()) {
            CopyText(node, record->rawDevicePathCStr, sizeof record->rawDevicePathCStr);
            CopyText(node, record->blockDevicePathCStr, sizeof record->blockDevicePathCStr);
            CopyPStrToCStr(record->volNamePStr, record->volNameCStr);
            return 0;
        }
    }
    std::fputs("vMDeviceID == nil\n", stderr);
    record->rawDevicePathCStr[0] = '\0';
    record->blockDevicePathCStr[0] = '\0';
    return kNoSuchVolume;
}

void FillInVolInfoStruct(VolInfoRec* record, int16_t vRefNum, bool longLabels)
{
    record->vRefNum = vRefNum;
    if (GetVolvMDeviceID(record) == kNoSuchVolume)
        return;
    LinuxFileSystemTypeToCString(record->fileSystemTypeCStr, record->fileSystemNameCStr);
    record->totalBytes64 = record->volParms.totalBytes;
    BytesSInt64ToCStrWLabel(static_cast<int64_t>(record->volParms.totalBytes), record->totalSizeLabelCStr,
                            longLabels);
    BytesSInt64ToCStrWLabel(static_cast<int64_t>(record->volParms.freeBytes), record->freeSizeLabelCStr,
                            longLabels);
}

int16_t GetBSDDrivesVolumes(const char* drivePath, VolInfoRec* table, bool longLabels)
{
    std::memset(table, 0, sizeof(VolInfoRec) * kMaxVolumeCount);
    int16_t count = 0;
    const std::vector<MountTableEntry> mounts = ReadMountTable();
    for (std::size_t index = 0; index < mounts.size() && count < kMaxVolumeCount; ++index) {
        // Only the node decides: other devices' and network volumes are not read.
        const std::string node = BlockNodeOf(mounts[index].source);
        if (node.empty() || !DevicePathIsOnDrive(node, drivePath))
            continue;
        VolInfoRec* record = &table[count];
        SetVolumeMountFields(record, mounts[index]);
        FillInVolInfoStruct(record, static_cast<int16_t>(index + 1), longLabels);
        if (record->rawDevicePathCStr[0] != '\0')
            ++count;
        else
            std::memset(record, 0, sizeof *record);
    }
    return count;
}

int16_t FindMountedVolume(const char* mountPoint, VolInfoRec* record, bool longLabels)
{
    const std::vector<MountTableEntry> mounts = ReadMountTable();
    // The last mount on a path is the one visible there.
    for (std::size_t index = mounts.size(); index-- > 0;) {
        if (mounts[index].target != mountPoint)
            continue;
        SetVolumeMountFields(record, mounts[index]);
        FillInVolInfoStruct(record, static_cast<int16_t>(index + 1), longLabels);
        return record->rawDevicePathCStr[0] != '\0' ? 0 : kNoSuchVolume;
    }
    return kNoSuchVolume;
}
