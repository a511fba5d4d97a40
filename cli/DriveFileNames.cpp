#include "cli/DriveFileNames.h"

#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
std::string NodeName(const std::string& target)
{
    std::error_code error;
    const fs::path resolved = fs::canonical(target, error);
    return (error ? fs::path(target) : resolved).filename().string();
}
}  // namespace

std::vector<std::string> DriveNamesOf(const std::vector<std::string>& targets)
{
    std::vector<std::string> names;
    std::map<std::string, int> seen;
    for (const std::string& target : targets) {
        const std::string name = NodeName(target);
        const int count = ++seen[name];
        names.push_back(count == 1 ? name : name + "-" + std::to_string(count));
    }
    return names;
}

std::string PathForDrive(const std::string& path, const std::string& driveName)
{
    const fs::path given(path);
    const std::string stem = given.stem().string();
    const std::string named = (stem.empty() ? given.filename().string() : stem) + "-" + driveName +
                              (stem.empty() ? "" : given.extension().string());
    return (given.parent_path() / named).string();
}

std::string SameDriveTwice(const std::vector<std::string>& targets)
{
    std::map<std::pair<dev_t, ino_t>, std::string> seen;
    for (const std::string& target : targets) {
        struct stat status {};
        if (stat(target.c_str(), &status) != 0)
            continue;
        const auto key = S_ISBLK(status.st_mode) ? std::make_pair(status.st_rdev, ino_t{0})
                                                 : std::make_pair(status.st_dev, status.st_ino);
        const auto [at, added] = seen.emplace(key, target);
        if (!added)
            return at->second + " and " + target + " are the same drive";
    }
    return {};
}
