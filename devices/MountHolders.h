// Who else holds a drive: processes with files, folders or mappings on its
// volumes or its nodes open, and kernel claims (device-mapper, md, bcache,
// swap, another program's exclusive open) on the drive or its partitions.
// Asked before anything is unmounted for a write test, so that a test that
// cannot write leaves every volume where it was.
#pragma once

#include <string>
#include <sys/types.h>

// A process that has a file, folder or memory mapping below mountPoint; 0 for none.
pid_t FindMountHolder(const std::string& mountPoint);

// A process that has the device node open or mapped; 0 for none.
pid_t FindNodeHolder(const std::string& devicePath);

// "1234 (bash)" for a process, "" for 0.
std::string DescribeProcess(pid_t pid);

// Why the drive or partition at devicePath cannot be written while the
// volumes of this process's mount table are unmounted: another device
// stacked on it (sysfs holders/), a partition that is not mounted but claimed
// exclusively (swap, another program), or a mounted volume that a process
// uses. "" when nothing stands in the way. *holder receives the process
// named, when there is one.
std::string FindWriteBlocker(const std::string& devicePath, pid_t* holder = nullptr,
                             const std::string& sysRoot = "/sys");
