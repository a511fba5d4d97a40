#include "devices/DevicePaths.h"

#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
bool AllDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (const unsigned char c : text) {
        if (!std::isdigit(c))
            return false;
    }
    return true;
}
}  // namespace

bool DevicePathIsOnDrive(const std::string& volumePath, const std::string& drivePath)
{
    if (drivePath.empty() || volumePath.compare(0, drivePath.size(), drivePath) != 0)
        return false;
    const std::string rest = volumePath.substr(drivePath.size());
    if (rest.empty())
        return true;
    if (std::isdigit(static_cast<unsigned char>(drivePath.back())))
        return rest[0] == 'p' && AllDigits(rest.substr(1));
    return AllDigits(rest);
}

std::string KernelNameOfDevicePath(const std::string& devicePath)
{
    const std::string prefix = "/dev/";
    if (devicePath.compare(0, prefix.size(), prefix) != 0)
        return std::string();
    const std::string name = devicePath.substr(prefix.size());
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return std::string();
    return name;
}

std::string DrivePathForDevicePath(const std::string& devicePath, const std::string& sysRoot)
{
    const std::string name = KernelNameOfDevicePath(devicePath);
    if (name.empty())
        return std::string();
    std::error_code error;
    const fs::path node = fs::canonical(fs::path(sysRoot) / "class" / "block" / name, error);
    if (error)
        return std::string();
    if (fs::exists(node / "partition", error))
        return "/dev/" + node.parent_path().filename().string();
    return "/dev/" + name;
}
