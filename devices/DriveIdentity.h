// Who a drive is, independent of the name the kernel gave it this time: the
// key of its run history, so that the same drive finds its runs again after
// it is plugged in elsewhere or renamed.
#pragma once

#include <string>

struct DriveIdentityRoots {
    std::string sysRoot = "/sys";
    std::string udevData = "/run/udev/data";  // the udev database ("b<major>:<minor>" files)
};

// The identity of a whole drive or of a volume on it, by device node
// ("/dev/sdb", "/dev/sdb2", "/dev/loop3"):
//   "serial:<text>"  sysfs device/serial, wwid, device/wwid, device/vpd_pg80 or udev ID_SERIAL
//   "wwn:<text>"     udev ID_WWN
//   "model:<model>:<bytes>@<attachment>"  as a last resort, the drive's model
//                    and size and where it is attached (the controller port:
//                    its /dev/disk/by-path name, or its place in sysfs), so that
//                    two drives of one model and size keep apart; "@..." is left
//                    out when the place is unknown
//   "loop:<backing file>"    a loop device, by the file behind it
// A volume adds "#part<N>" (its partition number) to its drive's identity.
// A path that is no block device (a plain file) gives "file:<absolute path>".
// Empty when the node is unknown.
std::string DriveIdentityFor(const std::string& devicePath, const DriveIdentityRoots& roots = {});
