#include "devices/VolumeRecords.h"

#include "devices/DevicePaths.h"
#include "devices/FuseHelpers.h"
#include "format/ByteText.h"
#include "format/FileSystemText.h"
#include "format/Utf8Text.h"
#include "platform/BlockStack.h"

#include <blkid/blkid.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

constexpr int16_t kNoSuchVolume = -35;

std::string gMountInfoPath = "/proc/self/mountinfo";
std::string gSysRoot = "/sys";

bool IsNetworkSource(const std::string& source)
{
    return source.find(":/") != std::string::npos || source.rfind("//", 0) == 0;
}

// The last part of a mount point, the name of a volume without a label.
std::string MountPointName(const std::string& mountPoint)
{
    if (mountPoint == "/")
        return "Root";
    const std::size_t slash = mountPoint.find_last_of('/');
    return slash == std::string::npos ? mountPoint : mountPoint.substr(slash + 1);
}

// The file system's label, asked of the mounted file system itself (so no
// device is opened), else from the udev database.
std::string FileSystemLabel(const MountTableEntry& mount, dev_t device)
{
    char label[FSLABEL_MAX] = {};
    const int folder = open(mount.target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (folder >= 0) {
        const int status = ioctl(folder, FS_IOC_GETFSLABEL, label);
        close(folder);
        if (status == 0) {
            label[FSLABEL_MAX - 1] = '\0';
            return label;
        }
    }
    return device != 0 ? DecodeUdevString(UdevDataProperty(device, "ID_FS_LABEL_ENC")) : std::string();
}

// The device number of a mount's block device: the table's, except where
// the file system reports one of its own (btrfs), then the source node's.
dev_t BlockDevNumber(const MountTableEntry& mount)
{
    if (major(mount.devNumber) != 0)
        return mount.devNumber;
    struct stat status {};
    const std::string& node = mount.device.empty() ? mount.source : mount.device;
    if (node.rfind("/dev/", 0) == 0 && stat(node.c_str(), &status) == 0 && S_ISBLK(status.st_mode))
        return status.st_rdev;
    return 0;
}

// A volume is named by its file system's label, else by its mount point; a
// btrfs subvolume adds its own name to the label ("fedora/home").
std::string VolumeNameOf(const MountTableEntry& mount)
{
    const std::string label = FileSystemLabel(mount, BlockDevNumber(mount));
    if (label.empty())
        return MountPointName(mount.target);
    if (IsSubvolumeMount(mount))
        return label + "/" + mount.root.substr(mount.root.find_first_not_of('/'));
    return label;
}

// The type of the file system on a device as its superblock tells it
// ("vfat", "exfat"), for FUSE volumes, which hide it; "" when unknown.
std::string ProbedFileSystemType(dev_t device, const std::string& node)
{
    std::string type = device != 0 ? UdevDataProperty(device, "ID_FS_TYPE") : std::string();
    if (!type.empty() || node.empty())
        return type;
    const blkid_probe probe = blkid_new_probe_from_filename(node.c_str());
    if (!probe)
        return type;
    const char* value = nullptr;
    if (blkid_do_safeprobe(probe) == 0 && blkid_probe_lookup_value(probe, "TYPE", &value, nullptr) == 0 && value)
        type = value;
    blkid_free_probe(probe);
    return type;
}

std::string OptionValue(const std::string& options, const std::string& key)
{
    std::size_t start = 0;
    while (start <= options.size()) {
        const std::size_t comma = options.find(',', start);
        const std::string option = options.substr(start, comma == std::string::npos ? comma : comma - start);
        if (option.rfind(key + "=", 0) == 0)
            return option.substr(key.size() + 1);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return std::string();
}

}  // namespace

void SetVolumeSources(const std::string& mountInfoPath, const std::string& sysRoot)
{
    if (!mountInfoPath.empty())
        gMountInfoPath = mountInfoPath;
    if (!sysRoot.empty())
        gSysRoot = sysRoot;
}

std::string MountKernelName(const MountTableEntry& mount)
{
    if (major(mount.devNumber) != 0) {
        if (std::string name = KernelNameOfDevNumber(mount.devNumber, gSysRoot); !name.empty())
            return name;
    }
    return KernelNameOfNodePath(mount.device.empty() ? mount.source : mount.device, gSysRoot);
}

bool IsSubvolumeMount(const MountTableEntry& mount)
{
    return mount.type == "btrfs" && mount.root != "/" && OptionValue(mount.fsOptions, "subvol") == mount.root;
}

bool VolumeLiesOnDrive(const char* volumeNode, const char* drivePath)
{
    const std::string volume = KernelNameOfDevicePath(volumeNode ? volumeNode : "");
    const std::string drive = KernelNameOfDevicePath(drivePath ? drivePath : "");
    if (volume.empty() || drive.empty())
        return false;
    const std::vector<std::string> stack = StackBelow(volume, gSysRoot);
    return std::find(stack.begin(), stack.end(), drive) != stack.end();
}

std::string VolumeItemText(const std::vector<VolumeRecord>& volumes, std::size_t index)
{
    if (index >= volumes.size())
        return std::string();
    const VolumeRecord& volume = volumes[index];
    for (const VolumeRecord& other : volumes) {
        if (&other != &volume && other.name == volume.name)
            return volume.name + " (" + volume.devicePath.substr(volume.devicePath.rfind('/') + 1) + ")";
    }
    return volume.name;
}

std::vector<MountTableEntry> ReadMountTable(const char* mountInfoPath)
{
    std::vector<MountTableEntry> mounts = ReadMountLines(mountInfoPath != nullptr ? mountInfoPath : gMountInfoPath.c_str());
    mounts.erase(std::remove_if(mounts.begin(), mounts.end(),
                                [](const MountTableEntry& mount) {
                                    return mount.device.empty() && mount.source.rfind("/", 0) != 0 &&
                                           !IsNetworkSource(mount.source);
                                }),
                 mounts.end());
    return mounts;
}

namespace {

// A record of a mount: its mount, device path, mapper name and volume name.
VolumeRecord VolumeOfMount(const MountTableEntry& mount)
{
    VolumeRecord record;
    record.mount = mount;
    const std::string node = MountKernelName(mount);
    if (!node.empty()) {
        // The device as the kernel names it, whatever path the mount used.
        record.devicePath = "/dev/" + node;
        record.mapperName = MapperNameOf(node, gSysRoot);
    }
    record.devNumber = BlockDevNumber(mount);
    const std::string name = node.empty() ? MountPointName(mount.target) : VolumeNameOf(mount);
    record.name = name.substr(0, TextCutLength(name, 255));
    return record;
}

// Checks the mounted volume (statvfs) and keeps its device path: 0; -35 when
// the volume has no local device node (devicePath is then ""); -1 for a null record.
int16_t ReadVolumeParams(VolumeRecord* record)
{
    if (!record) {
        std::fputs("GetVolvMDeviceID SavedVolInfo pointer was nil\n", stderr);
        return -1;
    }
    struct statvfs info {};
    if (statvfs(record->mount.target.c_str(), &info) != 0) {
        std::fputs("PBHGetVolParmsSync failed\n", stderr);
    } else {
        record->params.blockBytes = info.f_frsize;
        record->params.totalBytes = static_cast<uint64_t>(info.f_blocks) * info.f_frsize;
        record->params.freeBytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
        if (!record->devicePath.empty())
            return 0;
    }
    std::fputs("vMDeviceID == nil\n", stderr);
    record->devicePath.clear();
    return kNoSuchVolume;
}

// Completes a record whose mount is set: device path, name, file system,
// sizes. mountIndex is its position in the mount table.
void FillVolumeRecord(VolumeRecord* record, int mountIndex, bool longLabels)
{
    record->mountIndex = mountIndex;
    if (ReadVolumeParams(record) == kNoSuchVolume)
        return;
    // FUSE hides which file system it serves; udev's probe or the superblock knows.
    const std::string probed = IsFuseType(record->mount.type)
                                   ? ProbedFileSystemType(static_cast<dev_t>(record->devNumber), record->devicePath)
                                   : std::string();
    char text[256];
    FileSystemNameForType(probed.empty() ? record->mount.type.c_str() : probed.c_str(), text);
    record->fileSystemName = text;
    record->totalBytes = record->params.totalBytes;
    FormatByteSize(static_cast<int64_t>(record->params.totalBytes), text, longLabels);
    record->totalSizeLabel = text;
    FormatByteSize(static_cast<int64_t>(record->params.freeBytes), text, longLabels);
    record->freeSizeLabel = text;
}

}  // namespace

std::vector<VolumeRecord> DriveVolumes(const std::string& drivePath, bool longLabels)
{
    std::vector<VolumeRecord> volumes;
    const std::string driveName = KernelNameOfDevicePath(drivePath);
    if (driveName.empty())
        return volumes;
    const std::vector<MountTableEntry> mounts = ReadMountTable();
    for (std::size_t index = 0; index < mounts.size() && volumes.size() < kMaxVolumeCount; ++index) {
        // Only the device decides: other devices' and network volumes are not
        // read. A volume on LVM over LUKS lies on the drive of the partition
        // at the bottom of its stack.
        const std::string node = MountKernelName(mounts[index]);
        if (node.empty())
            continue;
        std::vector<std::string> members{node};
        if (mounts[index].type == "btrfs")
            members = FileSystemMembers(node, gSysRoot);
        bool onDrive = false;
        for (const std::string& member : members) {
            const std::vector<std::string> stack = StackBelow(member, gSysRoot);
            onDrive = onDrive || std::find(stack.begin(), stack.end(), driveName) != stack.end();
        }
        if (!onDrive)
            continue;
        VolumeRecord record = VolumeOfMount(mounts[index]);
        FillVolumeRecord(&record, static_cast<int>(index + 1), longLabels);
        if (!record.devicePath.empty())
            volumes.push_back(std::move(record));
    }
    return volumes;
}

std::vector<VolumeRecord> ListTestableVolumes(bool longLabels)
{
    std::vector<VolumeRecord> volumes;
    std::vector<std::pair<std::string, std::string>> shown;
    const std::vector<MountTableEntry> mounts = ReadMountTable();
    for (std::size_t index = 0; index < mounts.size() && volumes.size() < kMaxVolumeCount; ++index) {
        const MountTableEntry& mount = mounts[index];
        const std::string node = MountKernelName(mount);
        const std::pair<std::string, std::string> key{node, mount.root};
        if (node.empty() || (mount.root != "/" && !IsSubvolumeMount(mount)) ||
            std::find(shown.begin(), shown.end(), key) != shown.end())
            continue;
        // The mount that is visible at its mount point now.
        VolumeRecord record;
        if (FindMountedVolume(mount.target, &record, longLabels) != 0 || record.devicePath != "/dev/" + node ||
            mount.root != record.mount.root)
            continue;
        shown.push_back(key);
        volumes.push_back(std::move(record));
    }
    return volumes;
}

int16_t FindMountedVolume(const std::string& mountPoint, VolumeRecord* record, bool longLabels)
{
    const std::vector<MountTableEntry> mounts = ReadMountTable();
    // The last mount on a path is the one visible there.
    for (std::size_t index = mounts.size(); index-- > 0;) {
        if (mounts[index].target != mountPoint)
            continue;
        *record = VolumeOfMount(mounts[index]);
        FillVolumeRecord(record, static_cast<int>(index + 1), longLabels);
        return !record->devicePath.empty() ? 0 : kNoSuchVolume;
    }
    return kNoSuchVolume;
}
