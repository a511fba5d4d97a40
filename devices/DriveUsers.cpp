#include "devices/DriveUsers.h"

#include "devices/DevicePaths.h"
#include "devices/MountTable.h"
#include "platform/ProcessList.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// How long a user must last to count (udev's probe lets go well within it).
constexpr std::chrono::milliseconds kConfirmDelay{200};

// The nodes of the drive and where its volumes are mounted.
struct DriveNodes {
    std::map<dev_t, std::string> nodes;    // device number → "/dev/sdb1"
    std::map<dev_t, std::string> volumes;  // file-system device number → a mount point
    std::set<dev_t> fuseSources;           // nodes that a FUSE helper serves here (ntfs-3g)
};

std::string FirstLine(const fs::path& path)
{
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The kernel's device number of a block device name ("8:17" in sysfs), 0 when unknown.
dev_t NodeNumber(const std::string& name, const std::string& sysRoot)
{
    unsigned major = 0;
    unsigned minor = 0;
    const std::string text = FirstLine(fs::path(sysRoot) / "class/block" / name / "dev");
    if (std::sscanf(text.c_str(), "%u:%u", &major, &minor) == 2)
        return makedev(major, minor);
    struct stat status {};
    if (stat(("/dev/" + name).c_str(), &status) == 0 && S_ISBLK(status.st_mode))
        return status.st_rdev;
    return 0;
}

// What a path or a /proc link names, without waiting on the file system
// (a stuck FUSE or network file system answers from its cache).
bool QuickStat(const std::string& path, struct statx* status)
{
    return statx(AT_FDCWD, path.c_str(), AT_STATX_DONT_SYNC, STATX_TYPE, status) == 0;
}

dev_t DeviceOf(const struct statx& status)
{
    return makedev(status.stx_dev_major, status.stx_dev_minor);
}

dev_t RawDeviceOf(const struct statx& status)
{
    return makedev(status.stx_rdev_major, status.stx_rdev_minor);
}

bool IsPartitionName(const std::string& name, const std::string& sysRoot)
{
    std::error_code error;
    return fs::exists(fs::path(sysRoot) / "class/block" / name / "partition", error);
}

// Adds the device and everything stacked on it; a device stacked directly on
// one of the drive's own nodes is a kernel user.
void AddWithStacked(const std::string& name, bool own, const std::string& sysRoot, DriveNodes& drive,
                    std::vector<DriveUser>& users)
{
    const dev_t number = NodeNumber(name, sysRoot);
    if (number != 0 && !drive.nodes.emplace(number, "/dev/" + name).second)
        return;
    std::error_code error;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(sysRoot) / "class/block" / name / "holders", error)) {
        const std::string holder = entry.path().filename().string();
        if (own) {
            const std::string mapped = FirstLine(fs::path(sysRoot) / "class/block" / holder / "dm/name");
            users.push_back({0, "/dev/" + name + " is in use by " +
                                    (mapped.empty() ? "/dev/" + holder : "/dev/mapper/" + mapped) + "."});
        }
        AddWithStacked(holder, false, sysRoot, drive, users);
    }
}

// The node, its partitions (of a drive) or its drive (of a partition), and what is stacked on them.
DriveNodes NodesOfDrive(const std::string& node, const std::string& sysRoot, std::vector<DriveUser>& users)
{
    DriveNodes drive;
    const std::string name = KernelNameOfDevicePath(node);
    AddWithStacked(name, true, sysRoot, drive, users);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(sysRoot) / "class/block" / name, error)) {
        const std::string part = entry.path().filename().string();
        if (IsPartitionName(part, sysRoot))
            AddWithStacked(part, true, sysRoot, drive, users);
    }
    if (IsPartitionName(name, sysRoot)) {
        const std::string whole = KernelNameOfDevicePath(DrivePathForDevicePath(node, sysRoot));
        if (!whole.empty())
            AddWithStacked(whole, true, sysRoot, drive, users);
    }
    return drive;
}

// One process of every mount namespace, this process's own first.
std::vector<pid_t> OneProcessPerNamespace(const std::vector<pid_t>& pids)
{
    std::vector<pid_t> chosen{getpid()};
    std::set<ino_t> seen;
    struct stat own {};
    if (stat("/proc/self/ns/mnt", &own) == 0)
        seen.insert(own.st_ino);
    for (const pid_t pid : pids) {
        struct stat ns {};
        if (stat(("/proc/" + std::to_string(pid) + "/ns/mnt").c_str(), &ns) == 0 && seen.insert(ns.st_ino).second)
            chosen.push_back(pid);
    }
    return chosen;
}

bool OnDrive(const MountTableEntry& mount, const DriveNodes& drive)
{
    if (drive.nodes.count(mount.devNumber) != 0)
        return true;
    // btrfs and FUSE show an anonymous device number: the node it lives on tells.
    const std::string& source = mount.device;
    return std::any_of(drive.nodes.begin(), drive.nodes.end(),
                       [&source](const auto& node) { return !source.empty() && node.second == source; });
}

// The peer groups a mount propagates from ("shared:3", "master:3" give 3).
std::set<std::string> PeerGroups(const std::string& propagation, bool withMaster)
{
    std::set<std::string> groups;
    std::istringstream tags(propagation);
    for (std::string tag; tags >> tag;) {
        if (tag.rfind("shared:", 0) == 0)
            groups.insert(tag.substr(7));
        else if (withMaster && tag.rfind("master:", 0) == 0)
            groups.insert(tag.substr(7));
    }
    return groups;
}

// Notes where the drive's volumes are mounted; a mount in another namespace
// that this namespace's unmount does not take away is a user.
void FindMounts(const std::vector<pid_t>& namespaces, DriveNodes& drive, std::vector<DriveUser>& users)
{
    std::set<std::string> ownGroups;
    FuseHelperCache helpers;
    for (const pid_t pid : namespaces) {
        const bool own = pid == getpid();
        const std::string table = own ? "/proc/self/mountinfo" : "/proc/" + std::to_string(pid) + "/mountinfo";
        for (const MountTableEntry& mount : ReadMountLines(table.c_str(), &helpers)) {
            if (!OnDrive(mount, drive))
                continue;
            drive.volumes.emplace(mount.devNumber, mount.target);
            // btrfs gives its files other device numbers than the mount table shows.
            struct statx root {};
            const std::string seen = own ? mount.target : "/proc/" + std::to_string(pid) + "/root" + mount.target;
            if (QuickStat(seen, &root))
                drive.volumes.emplace(DeviceOf(root), mount.target);
            if (own && IsFuseType(mount.type)) {
                struct stat source {};
                if (stat(mount.device.c_str(), &source) == 0)
                    drive.fuseSources.insert(source.st_rdev);
            }
            if (own) {
                const std::set<std::string> groups = PeerGroups(mount.propagation, false);
                ownGroups.insert(groups.begin(), groups.end());
                continue;
            }
            const std::set<std::string> groups = PeerGroups(mount.propagation, true);
            if (std::any_of(groups.begin(), groups.end(),
                            [&ownGroups](const std::string& group) { return ownGroups.count(group) != 0; }))
                continue;  // unmounted along with this namespace's mount
            users.push_back({pid, "The volume " + mount.source + " is mounted at " + mount.target +
                                      " in the mount namespace of process " + DescribeProcess(pid) + "."});
        }
    }
}

// The sentence for a file or node the process uses, "" when it is not the drive's.
std::string Use(const struct statx& status, pid_t pid, const DriveNodes& drive)
{
    if (S_ISBLK(status.stx_mode)) {
        const auto node = drive.nodes.find(RawDeviceOf(status));
        return node == drive.nodes.end() ? std::string()
                                         : node->second + " is in use by " + DescribeProcess(pid) + ".";
    }
    const auto volume = drive.volumes.find(DeviceOf(status));
    return volume == drive.volumes.end() ? std::string()
                                         : "The volume at " + volume->second + " is in use by " + DescribeProcess(pid) + ".";
}

// Memory maps: files of the volumes by the device column, device nodes through map_files.
std::string MappedUse(const std::string& process, pid_t pid, const DriveNodes& drive)
{
    std::ifstream maps(process + "/maps");
    for (std::string line; std::getline(maps, line);) {
        char range[64];
        unsigned major = 0;
        unsigned minor = 0;
        unsigned long inode = 0;
        int pathStart = 0;
        if (std::sscanf(line.c_str(), "%63s %*s %*s %x:%x %lu %n", range, &major, &minor, &inode, &pathStart) < 4 ||
            inode == 0)
            continue;
        const auto volume = drive.volumes.find(makedev(major, minor));
        if (volume != drive.volumes.end())
            return "The volume at " + volume->second + " is in use by " + DescribeProcess(pid) + ".";
        struct statx status {};
        if (line.compare(static_cast<std::size_t>(pathStart), 5, "/dev/") == 0 &&
            QuickStat(process + "/map_files/" + range, &status)) {
            if (std::string use = Use(status, pid, drive); !use.empty())
                return use;
        }
    }
    return std::string();
}

// How the process uses the drive, "" when it does not.
std::string ProcessUse(pid_t pid, const DriveNodes& drive)
{
    const std::string process = "/proc/" + std::to_string(pid);
    std::unique_ptr<DIR, int (*)(DIR*)> fds(opendir((process + "/fd").c_str()), closedir);
    if (!fds) {
        if (errno == ENOENT || errno == ESRCH)
            return std::string();  // it has ended
        return "The open files of process " + DescribeProcess(pid) + " cannot be read (" + std::strerror(errno) +
               "), so it may be using the drive.";
    }
    // The helper of a FUSE volume mounted here has its node open: it goes
    // with the volume's unmount.
    const dev_t fuseDevice = makedev(10, 229);
    bool fuseHelper = false;
    std::string servedNode;
    struct statx status {};
    while (const dirent* entry = readdir(fds.get())) {
        if (entry->d_name[0] == '.' || !QuickStat(process + "/fd/" + entry->d_name, &status))
            continue;
        fuseHelper = fuseHelper || (S_ISCHR(status.stx_mode) && RawDeviceOf(status) == fuseDevice);
        std::string use = Use(status, pid, drive);
        if (!use.empty() && S_ISBLK(status.stx_mode) && drive.fuseSources.count(RawDeviceOf(status)) != 0)
            servedNode = use;
        else if (!use.empty())
            return use;
    }
    if (!servedNode.empty() && !fuseHelper)
        return servedNode;
    for (const char* link : {"/cwd", "/root", "/exe"}) {
        if (!QuickStat(process + link, &status))
            continue;
        if (std::string use = Use(status, pid, drive); !use.empty())
            return use;
    }
    return MappedUse(process, pid, drive);
}

std::vector<std::string> SwapAreas()
{
    std::vector<std::string> areas;
    std::ifstream swaps("/proc/swaps");
    std::string line;
    std::getline(swaps, line);  // the heading
    while (std::getline(swaps, line))
        areas.push_back(line.substr(0, line.find_first_of(" \t")));
    return areas;
}

// A file or node that the kernel uses for "what", when it is the drive's.
void AddKernelUse(const std::string& path, const std::string& what, const DriveNodes& drive,
                  std::vector<DriveUser>& users)
{
    struct statx status {};
    if (!QuickStat(path, &status))
        return;
    if (S_ISBLK(status.stx_mode)) {
        if (const auto node = drive.nodes.find(RawDeviceOf(status)); node != drive.nodes.end())
            users.push_back({0, node->second + what});
    } else if (const auto volume = drive.volumes.find(DeviceOf(status)); volume != drive.volumes.end()) {
        users.push_back({0, "The volume at " + volume->second + " is in use: " + path + what});
    }
}

void FindKernelUsers(const std::string& sysRoot, const DriveNodes& drive, std::vector<DriveUser>& users)
{
    for (const std::string& area : SwapAreas())
        AddKernelUse(area, " is used as swap space.", drive, users);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(sysRoot) / "class/block", error)) {
        const std::string backing = FirstLine(entry.path() / "loop/backing_file");
        if (!backing.empty())
            AddKernelUse(backing, " is the backing file of /dev/" + entry.path().filename().string() + ".", drive,
                         users);
    }
}

std::vector<DriveUser> LookOnce(const std::string& node, const std::string& sysRoot)
{
    std::vector<DriveUser> users;
    DriveNodes drive = NodesOfDrive(node, sysRoot, users);
    const std::vector<pid_t> pids = RunningProcessIds();
    FindMounts(OneProcessPerNamespace(pids), drive, users);
    FindKernelUsers(sysRoot, drive, users);
    const pid_t self = getpid();
    for (const pid_t pid : pids) {
        if (pid == self)
            continue;
        if (std::string use = ProcessUse(pid, drive); !use.empty())
            users.push_back({pid, use});
    }
    return users;
}
}  // namespace

std::vector<DriveUser> FindDriveUsers(const std::string& devicePath, const std::string& sysRoot)
{
    struct stat status {};
    char resolved[PATH_MAX];
    if (!realpath(devicePath.c_str(), resolved) || stat(resolved, &status) != 0 || !S_ISBLK(status.st_mode))
        return {};
    const std::vector<DriveUser> first = LookOnce(resolved, sysRoot);
    if (first.empty())
        return first;
    std::this_thread::sleep_for(kConfirmDelay);
    std::vector<DriveUser> lasting = LookOnce(resolved, sysRoot);
    std::erase_if(lasting, [&first](const DriveUser& user) {
        return std::find(first.begin(), first.end(), user) == first.end();
    });
    return lasting;
}

pid_t FirstNamedProcess(const std::vector<DriveUser>& users)
{
    for (const DriveUser& user : users) {
        if (user.pid != 0)
            return user.pid;
    }
    return 0;
}

std::string DescribeDriveUsers(const std::vector<DriveUser>& users)
{
    std::string text;
    for (const DriveUser& user : users)
        text += (text.empty() ? "" : "\n") + user.what;
    return text;
}

std::string DescribeProcess(pid_t pid)
{
    if (pid <= 0)
        return std::string();
    const std::string command = FirstLine("/proc/" + std::to_string(pid) + "/comm");
    return std::to_string(pid) + (command.empty() ? "" : " (" + command + ")");
}
