#include "FakeSysfs.h"

#include "devices/DriveList.h"

#include <fstream>
#include <stdlib.h>

namespace fs = std::filesystem;

FakeSysfs::FakeSysfs()
{
    // In memory: the folders double as mount points whose file system has no label.
    std::string pattern = "/dev/shm/kestrelia-sysfs-XXXXXX";
    if (::mkdtemp(pattern.data()))
        root_ = pattern;
    for (const char* folder : {"block", "class/block", "devices", "dev/block"})
        fs::create_directories(root_ / folder);
    SetDeviceSysRoot(root_.string());
    ClearDriveList();
}

FakeSysfs::~FakeSysfs()
{
    ClearDriveList();
    SetDeviceSysRoot("/sys");
    std::error_code error;
    fs::remove_all(root_, error);
}

void FakeSysfs::Write(const std::string& folder, const std::map<std::string, std::string>& attributes)
{
    for (const auto& [attribute, text] : attributes) {
        const fs::path file = root_ / "devices" / folder / attribute;
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text << '\n';
    }
}

void FakeSysfs::AddDisk(const std::string& devicePath, const std::string& name, uint64_t sectors,
                        const std::map<std::string, std::string>& attributes)
{
    const std::string disk = devicePath + "/" + name;
    Write(disk, {{"size", std::to_string(sectors)}, {"ro", "0"}, {"removable", "0"}});
    Write(disk, attributes);
    fs::create_symlink(root_ / "devices" / disk, root_ / "block" / name);
    fs::create_symlink(root_ / "devices" / disk, root_ / "class" / "block" / name);
}

void FakeSysfs::AddPartition(const std::string& devicePath, const std::string& disk, const std::string& name)
{
    const std::string partition = devicePath + "/" + disk + "/" + name;
    Write(partition, {{"partition", "1"}});
    fs::create_symlink(root_ / "devices" / partition, root_ / "class" / "block" / name);
}

void FakeSysfs::RemoveDisk(const std::string& name)
{
    const fs::path target = fs::read_symlink(root_ / "block" / name);
    fs::remove(root_ / "block" / name);
    fs::remove(root_ / "class" / "block" / name);
    fs::remove_all(target);
}

void FakeSysfs::AddSlave(const std::string& holder, const std::string& slave)
{
    const fs::path folder = fs::canonical(root_ / "class" / "block" / holder) / "slaves";
    fs::create_directories(folder);
    fs::create_symlink(fs::canonical(root_ / "class" / "block" / slave), folder / slave);
}

void FakeSysfs::SetDevNumber(const std::string& name, const std::string& number)
{
    fs::create_symlink(fs::canonical(root_ / "class" / "block" / name), root_ / "dev" / "block" / number);
}
