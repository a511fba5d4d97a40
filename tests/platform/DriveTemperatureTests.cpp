// Drive temperatures from a fake sysfs laid out as the kernel lays it out:
// NVMe under its controller or under a multipath subsystem's controller,
// SATA through drivetemp, a partition reporting its drive's, and none.
#include "platform/DriveTemperature.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(DriveTemperature, FoundWhereEachKindOfDriveReportsIt)
{
    const fs::path root = fs::temp_directory_path() / ("kestrelia-sysfs-" + std::to_string(getpid()));
    const auto drive = [&](const std::string& name, const std::string& hwmon, const char* millidegrees) {
        const fs::path device = root / "devices" / name;
        fs::create_directories(device / "device" / hwmon);
        if (millidegrees != nullptr)
            std::ofstream(device / "device" / hwmon / "temp1_input") << millidegrees << '\n';
        fs::create_directories(root / "class" / "block");
        fs::create_directory_symlink(device, root / "class" / "block" / name);
        return device;
    };
    drive("nvme0n1", "hwmon3", "45850");
    drive("nvme1n1", "nvme2/hwmon7", "38000");  // the namespace under its subsystem
    const fs::path sata = drive("sda", "hwmon/hwmon2", "-1000");
    fs::create_directories(sata / "sda1");
    std::ofstream(sata / "sda1" / "partition") << "1\n";
    fs::create_directory_symlink(sata / "sda1", root / "class" / "block" / "sda1");
    drive("vda", "power", nullptr);

    const std::string sysfs = root.string();
    EXPECT_EQ(sysfs + "/class/block/nvme0n1/device/hwmon3/temp1_input", FindDriveTemperatureFile(sysfs, "/dev/nvme0n1"));
    EXPECT_EQ(45.85, ReadCelsius(FindDriveTemperatureFile(sysfs, "/dev/nvme0n1")));
    EXPECT_EQ(38.0, ReadCelsius(FindDriveTemperatureFile(sysfs, "/dev/nvme1n1")));
    EXPECT_EQ(-1.0, ReadCelsius(FindDriveTemperatureFile(sysfs, "/dev/sda")));
    EXPECT_EQ(sysfs + "/class/block/sda/device/hwmon/hwmon2/temp1_input", FindDriveTemperatureFile(sysfs, "/dev/sda1"));
    EXPECT_EQ("", FindDriveTemperatureFile(sysfs, "/dev/vda"));
    EXPECT_EQ("", FindDriveTemperatureFile(sysfs, "/tmp/a-file"));
    EXPECT_EQ(std::nullopt, ReadCelsius(sysfs + "/class/block/vda/device/power/temp1_input"));
    fs::remove_all(root);
}

}  // namespace
