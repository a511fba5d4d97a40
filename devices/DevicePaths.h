// Rules for Linux device node paths: which partition lies on which drive.
#pragma once

#include <string>

// True when volumePath is drivePath itself or one of its partitions:
// "/dev/sdb" holds "/dev/sdb1" but not "/dev/sdbb"; a drive name ending in
// a digit takes "p" before the partition number ("/dev/nvme0n1p2",
// "/dev/mmcblk0p1", "/dev/loop3p1"), so "/dev/loop3" does not hold "/dev/loop30".
bool DevicePathIsOnDrive(const std::string& volumePath, const std::string& drivePath);

// The whole drive a device node belongs to, from sysfs ("/dev/sdb1" gives
// "/dev/sdb"); a whole drive gives itself, an unknown node "".
std::string DrivePathForDevicePath(const std::string& devicePath, const std::string& sysRoot = "/sys");

// The kernel name of a node path ("/dev/sdb1" gives "sdb1"); "" when the
// path does not lie directly in /dev.
std::string KernelNameOfDevicePath(const std::string& devicePath);
