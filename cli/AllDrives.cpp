#include "cli/AllDrives.h"

#include "devices/DriveList.h"
#include "devices/MountTable.h"
#include "format/Utf8Text.h"

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace fs = std::filesystem;

namespace {
// The kernel names of the whole drives under a block device (sysfs folder):
// the drive of a partition, the members of a device-mapper or md device.
void AddDrivesUnder(const fs::path& device, std::set<std::string>* drives, int depth = 0)
{
    std::error_code error;
    if (depth > 8 || !fs::is_directory(device, error))
        return;
    const fs::path whole = fs::exists(device / "partition", error) ? device.parent_path() : device;
    drives->insert(whole.filename().string());
    for (const auto& member : fs::directory_iterator(device / "slaves", error))
        AddDrivesUnder(fs::canonical(member.path(), error), drives, depth + 1);
}

std::set<std::string> DrivesHoldingRoot()
{
    std::set<std::string> drives;
    struct stat status {};
    if (stat("/", &status) != 0)
        return drives;
    std::error_code error;
    const fs::path device = fs::canonical(
        "/sys/dev/block/" + std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev)), error);
    if (!error)
        AddDrivesUnder(device, &drives);
    return drives;
}
}  // namespace

std::vector<std::string> UnmountedListedDrives()
{
    ClearDriveList();
    WatchDeviceEvents();
    const std::set<std::string> holdingRoot = DrivesHoldingRoot();
    std::vector<std::string> drives;
    for (const DriveRecord& drive : Devices().drives) {
        const std::string name = fs::path(drive.devicePath).filename().string();
        if (drive.volumes.empty() && !holdingRoot.contains(name) && DescribeMountsOn(drive.devicePath).empty())
            drives.push_back(drive.devicePath);
    }
    return drives;
}

int ConfirmAllDrives(const std::vector<std::string>& drives, bool yes, std::istream& in, bool inIsTerminal,
                     std::ostream& err)
{
    if (drives.empty()) {
        err << "kestrelia-cli: " << kAllOption << ": no listed drive is free of mounted volumes; nothing to test\n";
        return 2;
    }
    err << kAllOption << " tests these drives:\n";
    for (const std::string& drive : drives) {
        const int slot = FindListedDrive(drive);
        err << "  " << ShownText(drive) << "  " << (slot < 0 ? "" : ShownText(ListedDriveItemText(slot))) << '\n';
    }
    if (yes)
        return 0;
    if (!inIsTerminal) {
        err << "kestrelia-cli: " << kAllOption << " asks before testing, and there is no terminal to ask on: give "
            << kYesOption << " to test these drives without asking\n";
        return kExitNotConfirmed;
    }
    err << "Test these " << drives.size() << " drives? [y/N] " << std::flush;
    std::string answer;
    std::getline(in, answer);
    if (answer == "y" || answer == "Y" || answer == "yes")
        return 0;
    err << "kestrelia-cli: nothing tested\n";
    return kExitNotConfirmed;
}
