#include "devices/MountControl.h"

#include "devices/DevicePaths.h"
#include "devices/FuseHelpers.h"
#include "devices/MountTable.h"
#include "devices/VolumeRecords.h"

#include <libmount/libmount.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What this process has unmounted and not yet mounted back or reported.
std::vector<RememberedMount> gRemembered;

struct ContextDeleter {
    void operator()(libmnt_context* context) const { mnt_free_context(context); }
};

std::string RealNode(const std::string& path)
{
    char resolved[PATH_MAX];
    struct stat status {};
    if (!realpath(path.c_str(), resolved) || stat(resolved, &status) != 0 || !S_ISBLK(status.st_mode))
        return std::string();
    return resolved;
}

bool SameMount(const RememberedMount& a, const RememberedMount& b)
{
    return a.device == b.device && a.target == b.target && a.root == b.root;
}

void Forget(const RememberedMount& mount)
{
    gRemembered.erase(std::remove_if(gRemembered.begin(), gRemembered.end(),
                                     [&mount](const RememberedMount& m) { return SameMount(m, mount); }),
                      gRemembered.end());
    SaveRememberedMounts(gRemembered);
}

std::string OptionValue(const std::string& options, const std::string& name)
{
    for (const std::string& option : SplitMountOptions(options)) {
        if (option.compare(0, name.size() + 1, name + "=") == 0)
            return option.substr(name.size() + 1);
    }
    return std::string();
}

// A view of a folder of a file system mounted elsewhere. A btrfs subvolume
// mounted by its subvol= option shows its own folder but is no bind mount.
bool IsBindMount(const RememberedMount& mount)
{
    if (mount.root.empty() || mount.root == "/")
        return false;
    return !(mount.type == "btrfs" && OptionValue(mount.fsOptions, "subvol") == mount.root);
}

// The options a mount is made with: the mount's own (vfs) flags and the file
// system's options, without the super block's rw/ro and, for FUSE, without
// what the helper sets itself.
std::string MountOptions(const RememberedMount& mount)
{
    std::vector<std::string> options = SplitMountOptions(mount.vfsOptions);
    for (const std::string& option : SplitMountOptions(mount.fsOptions)) {
        if (option == "rw" || option == "ro")
            continue;
        if (IsFuseType(mount.type) && FuseSetsOption(option))
            continue;
        if (std::find(options.begin(), options.end(), option) == options.end())
            options.push_back(option);
    }
    std::string text;
    for (const std::string& option : options)
        text += (text.empty() ? "" : ",") + option;
    return text;
}

struct MountResult {
    int status = 0;  // 0, kVolumeGoneStatus or -errno
    std::string reason;
};

MountResult Failed(int errorNumber, const std::string& reason = std::string())
{
    return {-errorNumber, reason.empty() ? std::strerror(errorNumber) : reason};
}

// One mount through libmount, which runs /sbin/mount.TYPE helpers where they exist.
MountResult MountWithLibmount(const std::string& source, const std::string& target, const std::string& type,
                              const std::string& options)
{
    std::unique_ptr<libmnt_context, ContextDeleter> context(mnt_new_context());
    if (!context)
        return Failed(ENOMEM);
    mnt_context_set_optsmode(context.get(), MNT_OMODE_IGNORE);  // never fstab's options
    mnt_context_disable_canonicalize(context.get(), 1);
    mnt_context_set_source(context.get(), source.c_str());
    mnt_context_set_target(context.get(), target.c_str());
    if (!type.empty())
        mnt_context_set_fstype(context.get(), type.c_str());
    if (!options.empty())
        mnt_context_set_options(context.get(), options.c_str());
    const int status = mnt_context_mount(context.get());
    if (status == 0 && mnt_context_get_status(context.get()) == 1)
        return {};
    const int syscallError = mnt_context_syscall_called(context.get()) ? mnt_context_get_syscall_errno(context.get()) : 0;
    char text[1024] = {};
    mnt_context_get_excode(context.get(), status, text, sizeof text);
    const int errorNumber = syscallError != 0 ? syscallError : status < 0 ? -status : EIO;
    return Failed(errorNumber, syscallError != 0 || text[0] == '\0' ? std::string() : text);
}

bool IsMountedNow(const RememberedMount& mount)
{
    for (const MountTableEntry& entry : ReadMountLines()) {
        if (entry.target == mount.target && entry.root == mount.root && entry.device == mount.device)
            return true;
    }
    return false;
}

// The folder a bind mount shows, from a mount of the same file system that
// is mounted now; "" when there is none.
std::string BindSourceFolder(const RememberedMount& mount)
{
    std::string best;
    std::size_t bestRootLength = 0;
    bool found = false;
    for (const MountTableEntry& entry : ReadMountLines()) {
        if (entry.device != mount.device)
            continue;
        const std::string& root = entry.root;
        const bool contains = root == "/" || mount.root == root ||
                              (mount.root.compare(0, root.size(), root) == 0 && mount.root[root.size()] == '/');
        if (!contains || (found && root.size() <= bestRootLength) || entry.target == mount.target)
            continue;
        const std::string rest = root == "/" ? mount.root : mount.root.substr(root.size());
        best = (entry.target == "/" ? "" : entry.target) + rest;
        bestRootLength = root.size();
        found = true;
    }
    return best;
}

// A bind mount whose file system is mounted nowhere else: the file system
// is mounted on a private folder for as long as the bind takes.
MountResult BindFromPrivateMount(const RememberedMount& mount, const std::string& bindOptions)
{
    std::string folder = StateDirectory() + "/bind-XXXXXX";
    mkdir(StateDirectory().c_str(), 0700);
    if (!mkdtemp(folder.data()))
        return Failed(errno);
    // Read-only or not as the file system itself was; the bind sets its own flags.
    const std::vector<std::string> own = SplitMountOptions(mount.fsOptions);
    std::string options = std::find(own.begin(), own.end(), "ro") != own.end() ? "ro" : "rw";
    for (const std::string& option : own) {
        if (option.rfind("subvol=", 0) != 0 && option.rfind("subvolid=", 0) != 0 && option != "rw" && option != "ro")
            options += "," + option;
    }
    if (mount.type == "btrfs")
        options += ",subvolid=5";
    MountResult result = MountWithLibmount(mount.source, folder, IsFuseType(mount.type) ? "" : mount.type, options);
    if (result.status == 0) {
        result = MountWithLibmount(folder + mount.root, mount.target, "", bindOptions);
        umount2(folder.c_str(), MNT_DETACH);
    }
    rmdir(folder.c_str());
    return result;
}

// Makes the mount point folder again where it was removed; the folders made,
// deepest last, in *made.
MountResult EnsureMountPoint(const RememberedMount& mount, std::vector<std::string>* made)
{
    struct stat status {};
    if (lstat(mount.target.c_str(), &status) == 0 || errno != ENOENT)
        return {};
    std::vector<std::string> missing;
    for (std::string path = mount.target; !path.empty() && path != "/";) {
        if (lstat(path.c_str(), &status) == 0)
            break;
        missing.push_back(path);
        path = path.substr(0, path.find_last_of('/'));
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        const bool leaf = *it == mount.target;
        if (mkdir(it->c_str(), leaf && mount.folderKnown ? mount.folderMode & 07777 : 0755) != 0)
            return Failed(errno);
        made->push_back(*it);
        if (leaf && mount.folderKnown) {
            if (chown(it->c_str(), mount.folderOwner, mount.folderGroup) != 0 ||
                chmod(it->c_str(), mount.folderMode & 07777) != 0)
                return Failed(errno);
        }
    }
    return {};
}

MountResult MountBackOne(const RememberedMount& mount)
{
    struct stat status {};
    if (stat(mount.device.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return {kVolumeGoneStatus, "the device is gone"};
    if (IsMountedNow(mount))
        return {};
    std::vector<std::string> made;
    MountResult result = EnsureMountPoint(mount, &made);
    if (result.status == 0) {
        if (IsBindMount(mount)) {
            const std::string options = "bind" + (mount.vfsOptions.empty() ? "" : "," + mount.vfsOptions);
            const std::string folder = BindSourceFolder(mount);
            result = folder.empty() ? BindFromPrivateMount(mount, options)
                                    : MountWithLibmount(folder, mount.target, "", options);
        } else if (!mount.helper.empty()) {
            // Through the helper that served it: probing the type again could
            // pick a kernel driver this kernel lacks, or another helper.
            std::string reason;
            const std::string source = mount.source.rfind("/", 0) == 0 ? mount.source : mount.device;
            result.status = RunFuseHelper(mount.helper, source, mount.target,
                                          FuseHelperOptions(mount.helper, mount.vfsOptions, mount.fsOptions), &reason);
            result.reason = reason;
        } else {
            // A FUSE volume whose helper was not found: its type is probed again.
            result = MountWithLibmount(mount.source, mount.target, IsFuseType(mount.type) ? "" : mount.type,
                                       MountOptions(mount));
        }
    }
    if (result.status != 0) {
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            rmdir(it->c_str());
    }
    return result;
}

// Mounts back in mount-table order, again and again while that makes
// progress (a bind mount may need its file system first, a nested volume the
// one around it). Every volume is forgotten; those not mounted are returned.
std::vector<RemountFailure> MountBack(std::vector<RememberedMount> pending, std::vector<int>* statuses = nullptr)
{
    std::stable_sort(pending.begin(), pending.end(),
                     [](const RememberedMount& a, const RememberedMount& b) { return a.order < b.order; });
    std::vector<MountResult> last(pending.size());
    std::vector<bool> done(pending.size(), false);
    for (bool progress = true; progress;) {
        progress = false;
        for (std::size_t index = 0; index < pending.size(); ++index) {
            if (done[index])
                continue;
            last[index] = MountBackOne(pending[index]);
            if (last[index].status == 0 || last[index].status == kVolumeGoneStatus) {
                done[index] = true;
                progress = true;
                Forget(pending[index]);
            }
        }
    }
    std::vector<RemountFailure> failures;
    for (std::size_t index = 0; index < pending.size(); ++index) {
        if (statuses)
            statuses->push_back(last[index].status);
        if (done[index])
            continue;
        failures.push_back({pending[index].device, pending[index].target, last[index].reason});
        Forget(pending[index]);
    }
    return failures;
}

void WaitUntilUnclaimed(const std::string& node)
{
    for (int attempt = 0; attempt < 60; ++attempt) {
        const int fd = open(node.c_str(), O_RDONLY | O_EXCL | O_CLOEXEC);
        if (fd >= 0) {
            close(fd);
            return;
        }
        if (errno != EBUSY)
            return;
        usleep(50000);
    }
}

RememberedMount RememberedFromTable(const MountTableEntry& entry, int order)
{
    RememberedMount mount{entry};
    mount.order = order;
    return mount;
}

}  // namespace

int UnmountForWriteTest(const std::string& devicePath, UnmountedVolumes* unmounted, std::string* whyNot, pid_t* holder)
{
    *unmounted = UnmountedVolumes();
    if (whyNot)
        whyNot->clear();
    if (holder)
        *holder = 0;
    const std::string node = RealNode(devicePath);
    if (node.empty())
        return 0;  // a plain file, or a node that went away: nothing mounted from it
    const std::string blocker = FindWriteBlocker(node, holder);
    if (!blocker.empty()) {
        if (whyNot)
            *whyNot = blocker;
        return -EBUSY;
    }

    std::vector<RememberedMount> mine;
    std::vector<pid_t> helpers;
    const std::vector<MountTableEntry> table = ReadMountLines();
    for (std::size_t index = 0; index < table.size(); ++index) {
        if (!MountLiesOn(table[index], node))
            continue;
        mine.push_back(RememberedFromTable(table[index], static_cast<int>(index)));
        if (table[index].helperPid != 0)
            helpers.push_back(table[index].helperPid);
    }
    if (mine.empty())
        return 0;
    // A volume mounted inside another must go first: a mount point below
    // another is always the longer path.
    std::stable_sort(mine.begin(), mine.end(), [](const RememberedMount& a, const RememberedMount& b) {
        return a.target.size() > b.target.size();
    });

    // Written down before anything is unmounted, so that a crash leaves the list behind.
    const std::size_t before = gRemembered.size();
    gRemembered.insert(gRemembered.end(), mine.begin(), mine.end());
    if (!SaveRememberedMounts(gRemembered)) {
        gRemembered.resize(before);
        if (whyNot)
            *whyNot = "The list of volumes to mount back after the test could not be written to " + StateDirectory() + ".";
        return -EACCES;
    }
    std::vector<RememberedMount>& done = unmounted->mounts_;
    for (RememberedMount& mount : mine) {
        if (umount2(mount.target.c_str(), 0) != 0 && errno != EINVAL && errno != ENOENT) {
            const int error = errno;
            const pid_t process = FirstNamedProcess(FindDriveUsers(mount.device));
            if (holder)
                *holder = process;
            if (whyNot)
                *whyNot = "The volume at " + mount.target + " could not be unmounted (" + std::strerror(error) + ")" +
                          (process != 0 ? ": it is in use by " + DescribeProcess(process) : std::string()) + ".";
            // The ones not reached stay mounted; the ones unmounted come back now.
            for (const RememberedMount& other : mine) {
                if (std::none_of(done.begin(), done.end(),
                                 [&other](const RememberedMount& m) { return SameMount(m, other); }))
                    Forget(other);
            }
            const std::vector<RemountFailure> failures = unmounted->MountBack();
            if (whyNot && !failures.empty())
                *whyNot += " Not mounted back:\n" + DescribeRemountFailures(failures);
            return -error;
        }
        struct stat folder {};
        if (stat(mount.target.c_str(), &folder) == 0) {
            mount.folderKnown = true;
            mount.folderMode = folder.st_mode & 07777;
            mount.folderOwner = folder.st_uid;
            mount.folderGroup = folder.st_gid;
            for (RememberedMount& remembered : gRemembered) {
                if (SameMount(remembered, mount))
                    remembered = mount;
            }
            SaveRememberedMounts(gRemembered);
        }
        done.push_back(mount);
    }
    // A FUSE daemon lets go of its device (and writes what it kept) only
    // after the unmount has returned.
    for (const pid_t helper : helpers)
        WaitForProcessEnd(helper, 5000);
    for (const RememberedMount& mount : done) {
        if (IsFuseType(mount.type))
            WaitUntilUnclaimed(mount.device);
    }
    return 0;
}

UnmountedVolumes::~UnmountedVolumes()
{
    MountBack();
}

UnmountedVolumes::UnmountedVolumes(UnmountedVolumes&& other) noexcept : mounts_(std::move(other.mounts_))
{
    other.mounts_.clear();
}

UnmountedVolumes& UnmountedVolumes::operator=(UnmountedVolumes&& other) noexcept
{
    if (this != &other) {
        MountBack();
        mounts_ = std::move(other.mounts_);
        other.mounts_.clear();
    }
    return *this;
}

std::vector<RemountFailure> UnmountedVolumes::MountBack()
{
    std::vector<RememberedMount> pending;
    pending.swap(mounts_);
    return pending.empty() ? std::vector<RemountFailure>{} : ::MountBack(std::move(pending));
}

int RememberedUnmountCount()
{
    return static_cast<int>(gRemembered.size());
}

std::vector<RemountFailure> RemountLeftMounts(const LeftMounts& left)
{
    // Taken over as this process's own, so that a crash now still leaves them written down.
    for (const RememberedMount& mount : left.mounts) {
        if (std::none_of(gRemembered.begin(), gRemembered.end(),
                         [&mount](const RememberedMount& m) { return SameMount(m, mount); }))
            gRemembered.push_back(mount);
    }
    if (SaveRememberedMounts(gRemembered) || gRemembered.empty())
        unlink(left.file.c_str());
    const std::vector<RemountFailure> failures = MountBack(left.mounts);
    unlink(left.file.c_str());
    return failures;
}

std::string DescribeRemountFailures(const std::vector<RemountFailure>& failures)
{
    std::string text;
    for (const RemountFailure& failure : failures)
        text += failure.device + " at " + failure.mountPoint + ": " + failure.reason + "\n";
    return text;
}
