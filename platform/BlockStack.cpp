#include "platform/BlockStack.h"

#include "platform/SysfsRegistry.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace fs = std::filesystem;

namespace {

// The device's own folder in sysfs (partitions included).
fs::path DeviceFolder(const std::string& name, const std::string& sysRoot)
{
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return {};
    std::error_code error;
    const fs::path folder = fs::canonical(fs::path(sysRoot) / "class" / "block" / name, error);
    return error ? fs::path() : folder;
}

bool IsPartition(const fs::path& folder)
{
    std::error_code error;
    return fs::exists(folder / "partition", error);
}

std::vector<std::string> Slaves(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / "slaves", error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void Walk(const std::string& name, const std::string& sysRoot, std::vector<std::string>* seen,
          std::vector<std::string>* drives)
{
    if (std::find(seen->begin(), seen->end(), name) != seen->end())
        return;
    const fs::path folder = DeviceFolder(name, sysRoot);
    if (folder.empty())
        return;
    seen->push_back(name);
    const std::vector<std::string> slaves = Slaves(folder);
    if (IsPartition(folder)) {
        Walk(folder.parent_path().filename().string(), sysRoot, seen, drives);
    } else if (slaves.empty()) {
        if (std::find(drives->begin(), drives->end(), name) == drives->end())
            drives->push_back(name);
    }
    for (const std::string& slave : slaves)
        Walk(slave, sysRoot, seen, drives);
}

}  // namespace

std::string KernelNameOfDevNumber(dev_t device, const std::string& sysRoot)
{
    const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::error_code error;
    const fs::path folder = fs::canonical(fs::path(sysRoot) / "dev" / "block" / number, error);
    return error ? std::string() : folder.filename().string();
}

std::string KernelNameOfNodePath(const std::string& path, const std::string& sysRoot)
{
    if (path.rfind("/dev/", 0) != 0)
        return std::string();
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISBLK(status.st_mode))
        return std::string();
    return KernelNameOfDevNumber(status.st_rdev, sysRoot);
}

std::vector<std::string> StackBelow(const std::string& name, const std::string& sysRoot)
{
    std::vector<std::string> seen;
    std::vector<std::string> drives;
    Walk(name, sysRoot, &seen, &drives);
    return seen;
}

std::vector<std::string> WholeDrivesBelow(const std::string& name, const std::string& sysRoot)
{
    std::vector<std::string> seen;
    std::vector<std::string> drives;
    Walk(name, sysRoot, &seen, &drives);
    return drives;
}

std::string MapperNameOf(const std::string& name, const std::string& sysRoot)
{
    const fs::path folder = DeviceFolder(name, sysRoot);
    return folder.empty() ? std::string() : ReadSysfsText((folder / "dm" / "name").string());
}

std::string UdevDataProperty(dev_t device, const std::string& key, const std::string& udevDataDir)
{
    std::ifstream in(udevDataDir + "/b" + std::to_string(major(device)) + ":" + std::to_string(minor(device)));
    const std::string prefix = "E:" + key + "=";
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0)
            return line.substr(prefix.size());
    }
    return std::string();
}

std::string DecodeUdevString(const std::string& encoded)
{
    std::string text;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '\\' && i + 3 < encoded.size() && encoded[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(encoded[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(encoded[i + 3]))) {
            text += static_cast<char>(std::strtol(encoded.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else {
            text += encoded[i];
        }
    }
    return text;
}
