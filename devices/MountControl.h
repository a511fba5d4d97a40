// Unmounting a drive's volumes before a write test and mounting them back
// afterwards, exactly where and how they were mounted.
//
// Nothing is unmounted while anything else holds the drive (see
// MountHolders.h). Every volume unmounted here is remembered with its
// source, type, options, file-system folder and mount point folder, in
// memory and in this process's state file under /run (RemountState.h),
// written before the first unmount. Volumes are mounted back through
// libmount, FUSE volumes by running the helper that served them (with the
// type it gives them, never a probed one). Runs on the interface thread
// only; calls block until the kernel has answered.
#pragma once

#include "devices/MountHolders.h"
#include "devices/RemountState.h"

#include <string>
#include <sys/types.h>
#include <vector>

// Status of a volume whose device node no longer exists.
inline constexpr int kVolumeGoneStatus = -35;

// A volume that could not be mounted back, and why.
struct RemountFailure {
    std::string device;
    std::string mountPoint;
    std::string reason;  // the error's text
    bool operator==(const RemountFailure&) const = default;
};

// The volumes one write test unmounted, owned by the launch that unmounted
// them. MountBack() mounts them back; an object that ends still holding
// volumes mounts them back itself, so a launch that ends in any way leaves
// nothing unmounted. Until then they are also written down in this process's
// state file, for a run that is killed.
class UnmountedVolumes {
public:
    UnmountedVolumes() = default;
    ~UnmountedVolumes();
    UnmountedVolumes(UnmountedVolumes&& other) noexcept;
    UnmountedVolumes& operator=(UnmountedVolumes&& other) noexcept;
    UnmountedVolumes(const UnmountedVolumes&) = delete;
    UnmountedVolumes& operator=(const UnmountedVolumes&) = delete;

    bool Holds() const { return !mounts_.empty(); }
    // Mounts back every volume held and lets go of them: the volumes not
    // mounted back, a volume whose device node no longer exists not counted.
    // A volume that is already mounted where it was is left as it is.
    std::vector<RemountFailure> MountBack();

private:
    friend int UnmountForWriteTest(const std::string&, UnmountedVolumes*, std::string*, pid_t*);
    std::vector<RememberedMount> mounts_;
};

// Unmounts for a write test every volume whose device is devicePath or lies
// on it (a drive: all its partitions; a partition: its own mounts, bind
// mounts included), innermost mount points first, and hands them to
// *unmounted (which first mounts back what it held). When anything else holds
// the drive nothing is unmounted; when an unmount still fails, the volumes
// already unmounted are mounted back at once. 0 when nothing of it is
// mounted any more; otherwise -errno with *whyNot saying which volume or
// holder stands in the way (in the user's words) and *holder the process
// named, when there is one.
int UnmountForWriteTest(const std::string& devicePath, UnmountedVolumes* unmounted, std::string* whyNot, pid_t* holder);

// Number of volumes unmounted here and not yet mounted back or reported.
int RememberedUnmountCount();

// Mounts back the volumes a process that ended left unmounted; its state
// file is removed once each volume is mounted or reported.
std::vector<RemountFailure> RemountLeftMounts(const LeftMounts& left);

// One line per volume: "/dev/sdb2 at /media/me/Photos: Not a directory".
std::string DescribeRemountFailures(const std::vector<RemountFailure>& failures);
