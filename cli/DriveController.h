// Which controller a drive hangs on: drives on one controller (an AHCI or
// NVMe function, a USB host) share its bandwidth, so figures measured at the
// same time on them are lower than alone.
#pragma once

#include <string>

// The controller in a drive's sysfs device path: its last PCI function
// ("0000:00:1f.2" in /sys/devices/pci0000:00/0000:00:1f.2/ata1/host0/...);
// "" for a device of no bus (loop, ram, device-mapper).
std::string ControllerInDevicePath(const std::string& sysfsPath);

// The controller of the drive or volume at a device node; "" when it has none.
std::string DriveController(const std::string& devicePath, const std::string& sysRoot = "/sys");
