// A drive's temperature from hwmon, where the drive reports one: NVMe drives
// under their controller (/sys/class/block/nvme0n1/device/hwmon3/temp1_input,
// or, where the namespace hangs under its subsystem for multipath, under one
// of the subsystem's controllers: device/nvme0/hwmon3/temp1_input), SATA and
// SAS drives through the drivetemp module
// (/sys/class/block/sda/device/hwmon/hwmon2/temp1_input). A partition
// reports its drive's.
#pragma once

#include <optional>
#include <string>

// The temperature file of the drive that carries devicePath (a node in
// /dev, symbolic links followed), below a sysfs root ("/sys", or a fake one
// in tests); "" when it reports none.
std::string FindDriveTemperatureFile(const std::string& sysfsRoot, const std::string& devicePath);

// Degrees Celsius from a temp*_input file (millidegrees), or nothing when it
// cannot be read.
std::optional<double> ReadCelsius(const std::string& file);
