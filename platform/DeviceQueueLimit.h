// How many requests the block device under an open descriptor takes at once:
// its disk's queue/nr_requests in sysfs. Queue depths above it only wait in
// the kernel, so a test runs at this limit instead.
#pragma once

#include <cstdint>
#include <string>

// The limit for the descriptor: for a block device its disk's (a partition's
// is its parent disk's), for a regular file that of the disk its file system
// lies on. 0 when there is none to be found (a file system on no block
// device, a device without a request queue of its own such as device mapper
// or md, or sysfs says nothing). sysfsRoot stands for /sys.
uint32_t DeviceQueueLimit(int descriptor, const std::string& sysfsRoot = "/sys");
