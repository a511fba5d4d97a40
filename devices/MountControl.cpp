#include "devices/MountControl.h"

#include "devices/DevicePaths.h"
#include "devices/VolumeRecords.h"

#include <libmount/libmount.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

bool gIgnoreRemountVol = false;

namespace {

std::vector<VolInfoRec> gUnmountedVolumes;

bool IsBelow(const std::string& path, const std::string& mountPoint)
{
    if (mountPoint == "/")
        return true;
    return path == mountPoint ||
           (path.compare(0, mountPoint.size(), mountPoint) == 0 && path[mountPoint.size()] == '/');
}

bool ProcessHolds(const fs::path& process, const std::string& mountPoint)
{
    std::error_code error;
    for (const char* link : {"cwd", "root", "exe"}) {
        const fs::path target = fs::read_symlink(process / link, error);
        if (!error && IsBelow(target.string(), mountPoint))
            return true;
    }
    for (const fs::directory_entry& fd : fs::directory_iterator(process / "fd", error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(fd.path(), linkError);
        if (!linkError && IsBelow(target.string(), mountPoint))
            return true;
    }
    return false;
}

// The mount flags and file-system data of a remembered volume.
bool MountArguments(const VolInfoRec& volume, unsigned long* flags, std::string* data)
{
    unsigned long vfsFlags = 0;
    if (mnt_optstr_get_flags(volume.vfsOptionsCStr, &vfsFlags, mnt_get_builtin_optmap(MNT_LINUX_MAP)) != 0)
        return false;
    *flags = vfsFlags;
    // "rw"/"ro" of the super block are already in the flags.
    std::string options;
    const std::string all = volume.fsOptionsCStr;
    std::size_t start = 0;
    while (start <= all.size()) {
        const std::size_t comma = all.find(',', start);
        const std::string option = all.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!option.empty() && option != "rw" && option != "ro")
            options += (options.empty() ? "" : ",") + option;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    *data = options;
    return true;
}

bool IsBindMount(const VolInfoRec& volume)
{
    return volume.fsRootCStr[0] != '\0' && std::strcmp(volume.fsRootCStr, "/") != 0;
}

// A bind mount shows a folder of a file system mounted elsewhere: it is
// made again from a mount of the whole file system on the same device.
int MountBindAgain(const VolInfoRec& volume, unsigned long flags)
{
    auto mounted = std::make_unique<VolInfoRec[]>(kMaxVolumeCount);
    const int16_t count = GetBSDDrivesVolumes(volume.blockDevicePathCStr, mounted.get(), false);
    for (int16_t index = 0; index < count; ++index) {
        const VolInfoRec& whole = mounted[index];
        if (IsBindMount(whole) || std::strcmp(whole.blockDevicePathCStr, volume.blockDevicePathCStr) != 0)
            continue;
        const std::string folder = std::string(whole.rootRef == std::string("/") ? "" : whole.rootRef) + volume.fsRootCStr;
        if (mount(folder.c_str(), volume.rootRef, nullptr, MS_BIND, nullptr) != 0)
            return -errno;
        // A bind mount takes its own flags (read-only, noexec, ...) only through a remount.
        const unsigned long own = flags & (MS_RDONLY | MS_NOSUID | MS_NODEV | MS_NOEXEC | MS_NOATIME |
                                           MS_NODIRATIME | MS_RELATIME);
        if (own != 0 && mount(nullptr, volume.rootRef, nullptr, MS_REMOUNT | MS_BIND | own, nullptr) != 0)
            return -errno;
        return 0;
    }
    return -ENOENT;
}

int UnmountRecorded(const VolInfoRec& volume, pid_t* outDissenter)
{
    if (umount2(volume.rootRef, 0) != 0) {
        const int error = errno;
        if (outDissenter)
            *outDissenter = FindMountHolder(volume.rootRef);
        return -error;
    }
    gUnmountedVolumes.push_back(volume);
    return 0;
}

}  // namespace

pid_t FindMountHolder(const std::string& mountPoint)
{
    std::error_code error;
    const pid_t self = getpid();
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        if (pid != self && ProcessHolds(entry.path(), mountPoint))
            return pid;
    }
    return 0;
}

std::string DescribeProcess(pid_t pid)
{
    if (pid <= 0)
        return std::string();
    std::string command;
    if (FILE* file = std::fopen(("/proc/" + std::to_string(pid) + "/comm").c_str(), "r")) {
        char line[256] = {};
        if (std::fgets(line, sizeof line, file))
            command = line;
        std::fclose(file);
    }
    while (!command.empty() && command.back() == '\n')
        command.pop_back();
    return std::to_string(pid) + (command.empty() ? "" : " (" + command + ")");
}

int UnMountAllDriveVolumesSync(const char* drivePath, pid_t* outDissenter)
{
    if (outDissenter)
        *outDissenter = 0;
    if (!drivePath || drivePath[0] == '\0')
        return 0;
    // Enumerated afresh: volumes mounted since the drive was listed count too.
    auto scratch = std::make_unique<VolInfoRec[]>(kMaxVolumeCount);
    const int16_t count = GetBSDDrivesVolumes(drivePath, scratch.get(), false);
    // A volume mounted inside another must go first: a mount point below
    // another is always the longer path.
    std::stable_sort(scratch.get(), scratch.get() + count, [](const VolInfoRec& a, const VolInfoRec& b) {
        return std::strlen(a.rootRef) > std::strlen(b.rootRef);
    });
    for (int16_t index = 0; index < count; ++index) {
        if (const int status = UnmountRecorded(scratch[index], outDissenter); status != 0)
            return status;
    }
    return 0;
}

int UnMountThisVolumeSync(const VolInfoRec& volume, pid_t* outDissenter)
{
    if (outDissenter)
        *outDissenter = 0;
    return UnmountRecorded(volume, outDissenter);
}

int RemountThisVolumeSync(const VolInfoRec& volume, int16_t* outVRefNum)
{
    if (KernelNameOfDevicePath(volume.blockDevicePathCStr).empty())
        return -1;
    unsigned long flags = 0;
    std::string data;
    if (!MountArguments(volume, &flags, &data))
        return -1;
    if (IsBindMount(volume)) {
        if (const int status = MountBindAgain(volume, flags); status != 0)
            return status;
    } else if (mount(volume.mountSourceCStr, volume.rootRef, volume.fileSystemTypeCStr, flags,
                     data.empty() ? nullptr : data.c_str()) != 0) {
        return -errno;
    }
    for (auto it = gUnmountedVolumes.begin(); it != gUnmountedVolumes.end(); ++it) {
        if (std::strcmp(it->rootRef, volume.rootRef) == 0 &&
            std::strcmp(it->blockDevicePathCStr, volume.blockDevicePathCStr) == 0) {
            gUnmountedVolumes.erase(it);
            break;
        }
    }
    if (outVRefNum) {
        auto record = std::make_unique<VolInfoRec>();
        *outVRefNum = FindMountedVolume(volume.rootRef, record.get(), false) == 0 ? record->vRefNum : 0;
    }
    return 0;
}

int RemountThisDrivesVolsSync(const DriveInfoRec& drive)
{
    std::vector<VolInfoRec> toMount;
    for (const VolInfoRec& volume : gUnmountedVolumes) {
        if (VolumeLiesOnDrive(volume.blockDevicePathCStr, drive.devicePathCStr))
            toMount.push_back(volume);
    }
    // Outer mount points before those inside them, and whole file systems
    // before the bind mounts made from them.
    std::stable_sort(toMount.begin(), toMount.end(), [](const VolInfoRec& a, const VolInfoRec& b) {
        return std::strlen(a.rootRef) < std::strlen(b.rootRef);
    });
    std::stable_partition(toMount.begin(), toMount.end(), [](const VolInfoRec& volume) { return !IsBindMount(volume); });
    int status = 0;
    for (const VolInfoRec& volume : toMount)
        status = RemountThisVolumeSync(volume, nullptr);
    return status;
}

int RememberedUnmountCount()
{
    return static_cast<int>(gUnmountedVolumes.size());
}
