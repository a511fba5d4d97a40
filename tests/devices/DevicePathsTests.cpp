// Which device nodes lie on which drive, for the Linux naming schemes.
#include "devices/DevicePaths.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(DevicePaths, PartitionsBelongToTheirDriveOnlyAndKernelNames)
{
    const std::tuple<const char*, const char*, bool> onDrive[] = {
        {"/dev/sdb1", "/dev/sdb", true},
        {"/dev/sdb12", "/dev/sdb", true},
        {"/dev/sdb", "/dev/sdb", true},
        {"/dev/sdbb1", "/dev/sdb", false},
        {"/dev/sdb", "/dev/sdb1", false},
        {"/dev/nvme0n1p2", "/dev/nvme0n1", true},
        {"/dev/nvme0n10p1", "/dev/nvme0n1", false},
        {"/dev/nvme0n12", "/dev/nvme0n1", false},
        {"/dev/mmcblk0boot0", "/dev/mmcblk0", false},
        {"/dev/loop3p1", "/dev/loop3", true},
        {"/dev/loop3p", "/dev/loop3", false},
        {"/dev/sdb1", "", false},
        {"server:/export", "/dev/sdb", false},
    };
    for (const auto& [volume, drive, expected] : onDrive)
        EXPECT_EQ(expected, DevicePathIsOnDrive(volume, drive)) << volume << " on " << drive;
    // Kernel names only for nodes directly in /dev.
    const std::pair<const char*, const char*> rows[] = {
        {"/dev/sdb1", "sdb1"},     {"/dev/loop3", "loop3"}, {"/dev/mapper/root", ""},
        {"/dev/", ""},             {"/dev/..", ""},         {"/tmp/sdb", ""},
        {"sdb", ""},               {"/dev/nvme0n1p2", "nvme0n1p2"},
    };
    for (const auto& [path, name] : rows)
        EXPECT_EQ(name, KernelNameOfDevicePath(path)) << path;
}

}  // namespace
