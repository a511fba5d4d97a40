// Block devices stacked on others (device-mapper for LUKS and LVM, md RAID,
// bcache) and the whole drives beneath them, read from sysfs; and what the
// udev database knows of a device, where a udev daemon keeps one.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// The kernel name of the block device with that number ("dm-2"), from
// sysRoot/dev/block/MAJOR:MINOR; "" when there is none.
std::string KernelNameOfDevNumber(dev_t device, const std::string& sysRoot = "/sys");

// The kernel name of a device node path, following symlinks such as
// /dev/mapper/vg-root or /dev/disk/by-label/data to the node and its number;
// "" when the path is not a block device node.
std::string KernelNameOfNodePath(const std::string& path, const std::string& sysRoot = "/sys");

// The device itself, then everything it is built on: the devices in its
// slaves/ folder (recursively) and the whole disk of every partition met on
// the way. Each name once, in walk order.
std::vector<std::string> StackBelow(const std::string& name, const std::string& sysRoot = "/sys");

// The whole drives at the bottom of the stack (those without slaves that are
// not partitions), in walk order.
std::vector<std::string> WholeDrivesBelow(const std::string& name, const std::string& sysRoot = "/sys");

// The device-mapper name of a dm device ("vg-root"); "" for other devices.
std::string MapperNameOf(const std::string& name, const std::string& sysRoot = "/sys");

// One property of a device in the udev database (/run/udev/data/bMAJOR:MINOR,
// its "E:KEY=value" lines); "" when there is no database or no such key.
std::string UdevDataProperty(dev_t device, const std::string& key, const std::string& udevDataDir = "/run/udev/data");

// udev's encoded strings (ID_MODEL_ENC, ID_FS_LABEL_ENC) with their "\x20"
// escapes turned back into bytes.
std::string DecodeUdevString(const std::string& encoded);
