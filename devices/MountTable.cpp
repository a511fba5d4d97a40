#include "devices/MountTable.h"

#include "devices/DevicePaths.h"
#include "devices/FuseHelpers.h"

#include <libmount/libmount.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

std::string Text(const char* value)
{
    return value ? value : "";
}
}  // namespace

std::vector<MountTableEntry> ReadMountLines(const char* mountInfoPath, FuseHelperCache* helpers)
{
    std::vector<MountTableEntry> lines;
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table());
    std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!table || !iter || mnt_table_parse_file(table.get(), mountInfoPath) != 0)
        return lines;
    libmnt_fs* fs = nullptr;
    bool fuse = false;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        const std::string root = Text(mnt_fs_get_root(fs));
        MountTableEntry line{Text(mnt_fs_get_source(fs)), Text(mnt_fs_get_target(fs)), Text(mnt_fs_get_fstype(fs)),
                             Text(mnt_fs_get_vfs_options(fs)), Text(mnt_fs_get_fs_options(fs)),
                             root.empty() ? "/" : root, mnt_fs_get_devno(fs),
                             Text(mnt_fs_get_optional_fields(fs))};
        line.device = BlockDeviceNode(line.source);
        fuse = fuse || IsFuseType(line.type);
        lines.push_back(std::move(line));
    }
    if (!fuse)
        return lines;
    FuseHelperCache ownLook;
    const std::vector<FuseHelper>& running = (helpers != nullptr ? helpers : &ownLook)->Helpers();
    for (MountTableEntry& line : lines) {
        const FuseHelper* helper = IsFuseType(line.type) ? FuseHelperOfMount(running, line.devNumber, line.target) : nullptr;
        if (!helper)
            continue;
        line.helper = helper->program;
        line.helperPid = helper->pid;
        if (line.device.empty())
            line.device = BlockDeviceNode(helper->nodes.front());
    }
    return lines;
}

std::vector<std::string> SplitMountOptions(const std::string& options)
{
    std::vector<std::string> list;
    std::size_t start = 0;
    while (start <= options.size()) {
        const std::size_t comma = options.find(',', start);
        const std::string option = options.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!option.empty())
            list.push_back(option);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return list;
}

std::string BlockDeviceNode(const std::string& source)
{
    if (source.rfind("/dev/", 0) != 0)
        return std::string();
    char resolved[PATH_MAX];
    struct stat status {};
    if (!realpath(source.c_str(), resolved) || stat(resolved, &status) != 0 || !S_ISBLK(status.st_mode))
        return std::string();
    return resolved;
}

std::vector<std::string> FileSystemMembers(const std::string& kernelName, const std::string& sysRoot)
{
    std::error_code error;
    for (const fs::directory_entry& fileSystem : fs::directory_iterator(fs::path(sysRoot) / "fs/btrfs", error)) {
        std::error_code memberError;
        if (!fs::exists(fileSystem.path() / "devices" / kernelName, memberError))
            continue;
        std::vector<std::string> members;
        for (const fs::directory_entry& member : fs::directory_iterator(fileSystem.path() / "devices", memberError))
            members.push_back(member.path().filename().string());
        std::sort(members.begin(), members.end());
        return members;
    }
    return {kernelName};
}

std::vector<std::string> MountDeviceNodes(const MountTableEntry& mount, const std::string& sysRoot)
{
    if (mount.device.empty() || mount.type != "btrfs")
        return mount.device.empty() ? std::vector<std::string>{} : std::vector<std::string>{mount.device};
    std::vector<std::string> nodes;
    for (const std::string& member : FileSystemMembers(KernelNameOfDevicePath(mount.device), sysRoot))
        nodes.push_back("/dev/" + member);
    return nodes;
}

bool MountLiesOn(const MountTableEntry& mount, const std::string& devicePath, const std::string& sysRoot)
{
    const std::vector<std::string> nodes = MountDeviceNodes(mount, sysRoot);
    return std::any_of(nodes.begin(), nodes.end(),
                       [&devicePath](const std::string& node) { return DevicePathIsOnDrive(node, devicePath); });
}

std::string DescribeMountsOn(const std::string& devicePath)
{
    const std::string node = BlockDeviceNode(devicePath);
    std::string text;
    for (const MountTableEntry& mount : ReadMountLines()) {
        if (!node.empty() && MountLiesOn(mount, node))
            text += (text.empty() ? "" : ", ") + mount.device + " at " + mount.target;
    }
    return text;
}
