#include "platform/DriveTemperature.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// dir/<prefix>*/temp1_input, the first that exists in name order.
std::string FirstTemperatureBelow(const fs::path& dir, const std::string& prefix)
{
    std::error_code error;
    std::string found;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
        const std::string name = entry.path().filename().string();
        const fs::path file = entry.path() / "temp1_input";
        if (name.rfind(prefix, 0) == 0 && fs::exists(file, error) && (found.empty() || file.string() < found))
            found = file.string();
    }
    return found;
}

// The drive's name in /sys/class/block: the node's own, or its parent's for a partition.
std::string DriveBlockName(const fs::path& classBlock, const std::string& devicePath)
{
    std::error_code error;
    const fs::path node = fs::weakly_canonical(devicePath, error);
    const std::string name = (error ? fs::path(devicePath) : node).filename().string();
    if (name.empty() || !fs::exists(classBlock / name, error))
        return {};
    if (!fs::exists(classBlock / name / "partition", error))
        return name;
    return fs::canonical(classBlock / name / "..", error).filename().string();
}
}  // namespace

std::string FindDriveTemperatureFile(const std::string& sysfsRoot, const std::string& devicePath)
{
    const fs::path classBlock = fs::path(sysfsRoot) / "class" / "block";
    const std::string drive = DriveBlockName(classBlock, devicePath);
    if (drive.empty())
        return {};
    const fs::path device = classBlock / drive / "device";
    for (const std::string& found : {FirstTemperatureBelow(device, "hwmon"),
                                     FirstTemperatureBelow(device / "hwmon", "hwmon")})
        if (!found.empty())
            return found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(device, error))
        if (entry.path().filename().string().rfind("nvme", 0) == 0)
            if (std::string found = FirstTemperatureBelow(entry.path(), "hwmon"); !found.empty())
                return found;
    return {};
}

std::optional<double> ReadCelsius(const std::string& file)
{
    std::ifstream in(file);
    std::string text;
    if (!(in >> text))
        return std::nullopt;
    long millidegrees = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), millidegrees);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return static_cast<double>(millidegrees) / 1000.0;
}
