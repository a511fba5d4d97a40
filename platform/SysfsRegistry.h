// Fills the device registry from sysfs: one entry per directory on the
// device path of each whole block device (controller, bus, host, target,
// device), with the medium itself as the leaf. Works from sysfs alone; where
// the udev database exists, its vendor and model names are preferred.
#pragma once

#include "platform/Registry.h"

#include <memory>
#include <string>
#include <vector>

struct MediaRegistry {
    std::unique_ptr<RegistryEntry> root = std::make_unique<RegistryEntry>("Root");
    std::vector<const RegistryEntry*> media;  // whole media in drive list order
};

// Drive list order: by kind (the machine's own drives, then devices made of
// other devices, loop devices last), then naturally by kernel name:
// sdb before sdaa, nvme2n1 before nvme10n1, loop9 before loop10.
bool DriveNameComesBefore(const std::string& a, const std::string& b);

// All whole block devices of sysRoot ("/sys" on a live system; tests pass a
// fake tree laid out the same way), in drive list order.
MediaRegistry BuildMediaRegistry(const std::string& sysRoot = "/sys");

// One whole block device by kernel name (media empty when it is absent).
MediaRegistry BuildMediaRegistryFor(const std::string& name, const std::string& sysRoot = "/sys");

// The first line of a sysfs attribute file, without trailing spaces ("" when unreadable).
std::string ReadSysfsText(const std::string& path);
