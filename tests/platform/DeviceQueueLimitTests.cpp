// The request limit found through a sysfs tree built here: a regular file's
// is that of the disk its file system lies on, a partition's its disk's.
#include "platform/DeviceQueueLimit.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(DeviceQueueLimit, FileOnAPartitionOrAWholeDiskOrNoDevice)
{
    const fs::path root = fs::temp_directory_path() / ("kestrelia-sysfs-" + std::to_string(getpid()));
    const fs::path file = root / "target";
    fs::create_directories(root / "devices/vdz/vdz1");
    std::ofstream(file) << "data";
    const int descriptor = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_LE(0, descriptor);
    struct stat status {};
    ASSERT_EQ(0, fstat(descriptor, &status));
    EXPECT_EQ(0u, DeviceQueueLimit(descriptor, root)) << "no such device in this sysfs";

    fs::create_directories(root / "dev/block");
    fs::create_symlink("../../devices/vdz/vdz1",
                       root / "dev/block" / (std::to_string(major(status.st_dev)) + ":" +
                                             std::to_string(minor(status.st_dev))));
    fs::create_directories(root / "devices/vdz/queue");
    std::ofstream(root / "devices/vdz/queue/nr_requests") << "64\n";
    std::ofstream(root / "devices/vdz/vdz1/partition") << "1\n";
    EXPECT_EQ(0u, DeviceQueueLimit(descriptor, root)) << "a disk without a request queue limits nothing";
    fs::create_directories(root / "devices/vdz/mq");
    // A whole disk's own limit is read on a real loop device (QueueDepthLoopTests).
    EXPECT_EQ(64u, DeviceQueueLimit(descriptor, root)) << "a partition has its disk's limit";
    for (const auto& [text, limit] : {std::pair{"4294967295", 4294967295u}, {"4294967297", 0u}}) {
        std::ofstream(root / "devices/vdz/queue/nr_requests") << text;
        EXPECT_EQ(limit, DeviceQueueLimit(descriptor, root)) << text << " requests";
    }

    close(descriptor);
    fs::remove_all(root);
}
