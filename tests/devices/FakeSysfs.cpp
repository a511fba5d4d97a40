#include "FakeSysfs.h"

#include <fstream>
#include <stdlib.h>

namespace fs = std::filesystem;

FakeSysfs::FakeSysfs()
{
    std::string pattern = (fs::temp_directory_path() / "kestrelia-sysfs-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        root_ = pattern;
    fs::create_directories(root_ / "block");
    fs::create_directories(root_ / "class" / "block");
    fs::create_directories(root_ / "devices");
}

FakeSysfs::~FakeSysfs()
{
    std::error_code error;
    if (!root_.empty())
        fs::remove_all(root_, error);
}

void FakeSysfs::Write(const std::string& devicePath, const std::string& text)
{
    const fs::path file = root_ / "devices" / devicePath;
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << '\n';
}

void FakeSysfs::AddDisk(const std::string& devicePath, const std::string& name, uint64_t sectors,
                        const std::map<std::string, std::string>& attributes)
{
    const std::string disk = devicePath + "/" + name;
    Write(disk + "/size", std::to_string(sectors));
    Write(disk + "/ro", "0");
    Write(disk + "/removable", "0");
    for (const auto& [attribute, text] : attributes)
        Write(disk + "/" + attribute, text);
    fs::create_symlink(root_ / "devices" / disk, root_ / "block" / name);
    fs::create_symlink(root_ / "devices" / disk, root_ / "class" / "block" / name);
}

void FakeSysfs::AddPartition(const std::string& devicePath, const std::string& disk, const std::string& name)
{
    const std::string partition = devicePath + "/" + disk + "/" + name;
    Write(partition + "/partition", "1");
    fs::create_symlink(root_ / "devices" / partition, root_ / "class" / "block" / name);
}

void FakeSysfs::RemoveDisk(const std::string& name)
{
    const fs::path target = fs::read_symlink(root_ / "block" / name);
    fs::remove(root_ / "block" / name);
    fs::remove(root_ / "class" / "block" / name);
    fs::remove_all(target);
}
