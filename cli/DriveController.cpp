#include "cli/DriveController.h"

#include <filesystem>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

std::string ControllerInDevicePath(const std::string& sysfsPath)
{
    static const std::regex pciFunction("[0-9a-f]{4}:[0-9a-f]{2}:[0-9a-f]{2}\\.[0-7]");
    std::string controller;
    std::stringstream parts(sysfsPath);
    for (std::string part; std::getline(parts, part, '/');)
        if (std::regex_match(part, pciFunction))
            controller = part;
    return controller;
}

std::string DriveController(const std::string& devicePath, const std::string& sysRoot)
{
    struct stat status {};
    if (stat(devicePath.c_str(), &status) != 0 || !S_ISBLK(status.st_mode))
        return {};
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(
        sysRoot + "/dev/block/" + std::to_string(major(status.st_rdev)) + ":" + std::to_string(minor(status.st_rdev)),
        error);
    return error ? std::string() : ControllerInDevicePath(device.string());
}
