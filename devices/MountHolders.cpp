#include "devices/MountHolders.h"

#include "devices/DevicePaths.h"
#include "devices/MountTable.h"
#include "platform/ProcessList.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool IsBelow(const std::string& path, const std::string& mountPoint)
{
    if (mountPoint == "/")
        return true;
    return path == mountPoint ||
           (path.compare(0, mountPoint.size(), mountPoint) == 0 && path[mountPoint.size()] == '/');
}

// The path a line of /proc/PID/maps maps, "" for anonymous memory.
std::string MappedPath(const std::string& line)
{
    const std::size_t slash = line.find('/');
    if (slash == std::string::npos)
        return std::string();
    std::string path = line.substr(slash);
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
        path.resize(path.size() - deleted.size());
    return path;
}

// True when the process has open, as a folder, or mapped, a path that matches.
bool ProcessUses(const fs::path& process, const std::function<bool(const std::string&)>& matches)
{
    std::error_code error;
    for (const char* link : {"cwd", "root", "exe"}) {
        const fs::path target = fs::read_symlink(process / link, error);
        if (!error && matches(target.string()))
            return true;
    }
    for (const fs::directory_entry& fd : fs::directory_iterator(process / "fd", error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(fd.path(), linkError);
        if (!linkError && matches(target.string()))
            return true;
    }
    std::ifstream maps(process / "maps");
    for (std::string line; std::getline(maps, line);) {
        const std::string path = MappedPath(line);
        if (!path.empty() && matches(path))
            return true;
    }
    return false;
}

pid_t FindProcessUsing(const std::function<bool(const std::string&)>& matches)
{
    const pid_t self = getpid();
    for (const pid_t pid : RunningProcessIds())
        if (pid != self && ProcessUses(fs::path("/proc") / std::to_string(pid), matches))
            return pid;
    return 0;
}

std::string RealNode(const std::string& path)
{
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved))
        return std::string();
    struct stat status {};
    if (stat(resolved, &status) != 0 || !S_ISBLK(status.st_mode))
        return std::string();
    return resolved;
}

// The node and, for a whole drive, its partitions.
std::vector<std::string> NodesOf(const std::string& node, const std::string& sysRoot)
{
    std::vector<std::string> nodes{node};
    const std::string name = KernelNameOfDevicePath(node);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(sysRoot) / "class/block" / name, error)) {
        std::error_code partError;
        if (fs::exists(entry.path() / "partition", partError))
            nodes.push_back("/dev/" + entry.path().filename().string());
    }
    return nodes;
}

}  // namespace

pid_t FindMountHolder(const std::string& mountPoint)
{
    return FindProcessUsing([&mountPoint](const std::string& path) { return IsBelow(path, mountPoint); });
}

std::string FindWriteBlocker(const std::string& devicePath, pid_t* holder, const std::string& sysRoot)
{
    if (holder)
        *holder = 0;
    const std::string node = RealNode(devicePath);
    if (node.empty())
        return std::string();  // a file, or a node that is gone: the open will tell
    const std::vector<DriveUser> users = FindDriveUsers(node, sysRoot);
    if (!users.empty()) {
        if (holder) {
            const auto named = std::find_if(users.begin(), users.end(), [](const DriveUser& user) { return user.pid != 0; });
            *holder = named != users.end() ? named->pid : 0;
        }
        return DescribeDriveUsers(users);
    }

    const std::vector<std::string> nodes = NodesOf(node, sysRoot);
    std::vector<std::string> mountedNodes;
    const std::vector<MountTableEntry> mounts = ReadMountLines();
    for (const MountTableEntry& mount : mounts) {
        if (!MountLiesOn(mount, node))
            continue;
        for (const std::string& source : MountDeviceNodes(mount))
            mountedNodes.push_back(source);
        for (const MountTableEntry& other : mounts) {
            if (other.target != mount.target && IsBelow(other.target, mount.target) && !MountLiesOn(other, node))
                return "The volume at " + mount.target + " has " + other.source + " mounted inside it, at " +
                       other.target + ".";
        }
    }

    for (const std::string& part : nodes) {
        bool mounted = false;
        for (const std::string& mountedNode : mountedNodes)
            mounted = mounted || DevicePathIsOnDrive(mountedNode, part);
        if (mounted)
            continue;  // its volumes go first; the test's own open tries the rest
        const int fd = open(part.c_str(), O_RDONLY | O_EXCL | O_CLOEXEC);
        if (fd >= 0) {
            close(fd);
            continue;
        }
        if (errno == EBUSY)
            return part + " is in use.";
    }
    return std::string();
}
