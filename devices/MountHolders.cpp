#include "devices/MountHolders.h"

#include "devices/DevicePaths.h"
#include "devices/MountTable.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
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

std::string FindWriteBlocker(const std::string& devicePath, pid_t* holder, const std::string& sysRoot)
{
    if (holder)
        *holder = 0;
    const std::string node = RealNode(devicePath);
    if (node.empty())
        return std::string();  // a file, or a node that is gone: the open will tell
    const std::vector<DriveUser> users = FindDriveUsers(node, sysRoot);
    if (!users.empty()) {
        if (holder)
            *holder = FirstNamedProcess(users);
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
