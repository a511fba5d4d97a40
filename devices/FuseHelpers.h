// The processes that serve FUSE file systems from block devices (ntfs-3g,
// exfat-fuse, fusefat), found by what they have open: /dev/fuse and a block
// device node. Their mounts name the device only sometimes ("fusefat" is a
// source too), so the helper is what ties such a volume to its drive, and
// what mounts it back.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct FuseHelper {
    pid_t pid = 0;
    std::string program;                 // "/usr/bin/fusefat", from /proc/PID/exe
    std::vector<std::string> arguments;  // its command line
    int connection = -1;                 // the FUSE connection it serves, where the kernel tells (fdinfo)
    std::vector<dev_t> devices;          // the block devices it has open
    std::vector<std::string> nodes;      // their node paths, in the same order
};

// Every process that has /dev/fuse and at least one block device open.
std::vector<FuseHelper> FindFuseHelpers();

// The helpers, looked for once when first asked and kept: a look reads every
// process's descriptors, so a check that reads many mount tables (one per
// mount namespace) asks once.
class FuseHelperCache {
public:
    const std::vector<FuseHelper>& Helpers();

private:
    bool found_ = false;
    std::vector<FuseHelper> helpers_;
};

// True for the types FUSE mounts carry: "fuseblk", "fuse", "fuse.NAME".
bool IsFuseType(const std::string& type);

// The helper serving the FUSE mount with that device number at target:
//  - a "fuseblk" mount's number (major not 0) is its block device: the
//    helper with that device open;
//  - any other FUSE mount's number is 0:N with N its connection: the helper
//    whose /dev/fuse descriptor names connection N (fdinfo's fuse_connection,
//    shown by recent kernels);
//  - on kernels that do not show it: the helper whose command line names the
//    mount point.
// nullptr when none matches.
const FuseHelper* FuseHelperOfMount(const std::vector<FuseHelper>& helpers, dev_t mountDevice,
                                    const std::string& target);

// True for the options FUSE itself puts on a mount (user_id=, fd=, ...),
// which a helper must not be given.
bool FuseSetsOption(const std::string& option);

// The options to give a FUSE helper so that the volume comes back as the
// mount table showed it: the mount's own flags (relatime, the kernel's
// default, left out: libfuse 2 refuses it) with suid/dev spelled out where
// the mount had them, and the file system's options without what FUSE sets
// itself. fusefat serves a volume writable only with "rw+" and refuses "rw".
std::string FuseHelperOptions(const std::string& helper, const std::string& vfsOptions, const std::string& fsOptions);

// Mounts source at target by running the helper the way mount.fuse does
// ("HELPER SOURCE TARGET -o OPTIONS"), so the volume gets the same helper and
// type it had, never a type probed again. 0, or -errno (-EIO when the
// helper failed) with the reason in *reason: the last line the helper wrote
// to its error stream, else its exit status.
int RunFuseHelper(const std::string& helper, const std::string& source, const std::string& target,
                  const std::string& options, std::string* reason);

// Waits up to timeoutMs for a process that is not this one's child to end
// (a FUSE helper lets go of its device only after the unmount returned).
void WaitForProcessEnd(pid_t pid, int timeoutMs);
