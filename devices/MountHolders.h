// What stands in the way of unmounting a drive's volumes for a write test:
// any user of the drive (DriveUsers.h), a volume mounted inside one of its
// volumes, or a partition claimed exclusively by something no process shows.
// Asked before anything is unmounted, so that a test that cannot write
// leaves every volume where it was.
#pragma once

#include "devices/DriveUsers.h"

#include <string>
#include <sys/types.h>

// Why the drive or partition at devicePath cannot be written while the
// volumes of this process's mount table are unmounted, one reason a line;
// "" when nothing stands in the way. *holder receives the first process
// named, when there is one.
std::string FindWriteBlocker(const std::string& devicePath, pid_t* holder = nullptr,
                             const std::string& sysRoot = "/sys");
