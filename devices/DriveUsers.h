// Who else uses a drive. A write test puts back every block it overwrites,
// so whatever reads or writes the drive meanwhile reads half-tested data or
// loses its own writes. The users are
// - processes that have the drive's node, one of its partitions or a device
//   stacked on them open or mapped, or a file or folder of one of its
//   volumes in use (open, mapped, current or root folder), in any mount
//   namespace;
// - volumes of the drive mounted in another mount namespace (a container, a
//   service with its own /tmp, a sandboxed program), named by a process of
//   that namespace; a mount that goes away with this namespace's unmount
//   (a propagation peer or slave) does not count;
// - the kernel: devices stacked on it (device-mapper, md, bcache), loop
//   devices over it or over a file of its volumes, swap on it or on its volumes.
// This process itself is no user: its own descriptors and lock are the test's.
// Asked before anything is unmounted for a write test, again just before the
// first write and, while the test writes, between zones.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct DriveUser {
    pid_t pid = 0;     // the process named, 0 for the kernel
    std::string what;  // one sentence: "/dev/sdb2 is in use by 1234 (dd)."
    bool operator==(const DriveUser&) const = default;
};

// The users of the drive or partition at devicePath (for a partition, its
// whole drive too), in the order found. Volumes mounted in this process's
// own mount namespace are not users themselves (a test unmounts them), the
// processes using them are. A user must still be there a moment later, so
// that a short look such as udev's probe does not count. A process whose
// open files cannot be read is named as such, never taken for nobody.
// Nothing for a path that is not a block device.
std::vector<DriveUser> FindDriveUsers(const std::string& devicePath, const std::string& sysRoot = "/sys");

// The first process among users; 0 when only the kernel is one.
pid_t FirstNamedProcess(const std::vector<DriveUser>& users);

// The users one sentence a line; "" for none.
std::string DescribeDriveUsers(const std::vector<DriveUser>& users);

// "1234 (bash)" for a process, "" for 0.
std::string DescribeProcess(pid_t pid);
