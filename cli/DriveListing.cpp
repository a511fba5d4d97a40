#include "cli/DriveListing.h"

#include "cli/ResultsOutput.h"
#include "devices/DriveList.h"
#include "format/Utf8Text.h"

#include <string>

namespace {

void PrintVolumeText(std::ostream& out, const VolumeRecord& volume)
{
    const std::string mapper = volume.mapperName.empty() ? "" : " (/dev/mapper/" + ShownText(volume.mapperName) + ")";
    out << "       " << ShownText(volume.name) << ": " << ShownText(volume.devicePath) << mapper << ", "
        << volume.fileSystemName << ", " << volume.totalSizeLabel << " (" << volume.freeSizeLabel
        << " free), mounted at " << ShownText(volume.mount.target) << '\n';
}

void PrintDriveText(std::ostream& out, int slot, const DriveRecord& drive)
{
    // The interface text shows a loop device's backing path already escaped.
    out << "  " << slot + 1 << ". " << ShownText(ListedDriveItemText(slot)) << '\n'
        << "     Device:    " << ShownText(drive.devicePath) << '\n'
        << "     Size:      " << drive.sizeLabel << " (" << drive.sizeBytes << " bytes)\n"
        << "     Interface: " << drive.interfaceText << '\n'
        << "     Writable:  " << (drive.writable ? "yes" : "no") << '\n'
        << "     Volumes:   " << drive.volumes.size() << (drive.volumes.empty() ? " mounted\n" : "\n");
    for (const VolumeRecord& volume : drive.volumes)
        PrintVolumeText(out, volume);
}

void PrintVolumeJson(std::ostream& out, const VolumeRecord& volume)
{
    out << "{\"name\": " << JsonQuoted(volume.name) << ", \"device\": " << JsonQuoted(volume.devicePath)
        << ", \"mount_point\": " << JsonQuoted(volume.mount.target) << ", \"type\": " << JsonQuoted(volume.mount.type)
        << ", \"file_system\": " << JsonQuoted(volume.fileSystemName) << ", \"total_bytes\": " << volume.totalBytes
        << ", \"free_bytes\": " << volume.params.freeBytes << ", \"size\": " << JsonQuoted(volume.totalSizeLabel)
        << ", \"free\": " << JsonQuoted(volume.freeSizeLabel) << ", \"mapper_name\": " << JsonQuoted(volume.mapperName)
        << "}";
}

void PrintDriveJson(std::ostream& out, const DriveRecord& drive)
{
    out << "{\"name\": " << JsonQuoted(drive.name) << ", \"device\": " << JsonQuoted(drive.devicePath)
        << ", \"size_bytes\": " << drive.sizeBytes << ", \"size\": " << JsonQuoted(drive.sizeLabel)
        << ", \"interface\": " << JsonQuoted(drive.interfaceText) << ", \"writable\": " << (drive.writable ? "true" : "false")
        << ", \"max_transfer_bytes\": " << drive.maxTransferBytes << ", \"icon\": " << JsonQuoted(drive.iconPath)
        << ", \"volumes\": [";
    for (std::size_t index = 0; index < drive.volumes.size(); ++index) {
        out << (index ? ", " : "");
        PrintVolumeJson(out, drive.volumes[index]);
    }
    out << "]}";
}

}  // namespace

bool ListOptionGiven(const CliOptions& options)
{
    for (const auto& [option, value] : options.extras) {
        if (option == kListOption)
            return true;
    }
    return false;
}

int PrintDriveList(std::ostream& out, bool json)
{
    ClearDriveList();
    WatchDeviceEvents();
    const int count = ListedDriveCount();
    if (json) {
        out << "{\"drives\": [";
        for (int slot = 0; slot < count; ++slot) {
            out << (slot ? ",\n  " : "\n  ");
            PrintDriveJson(out, Devices().drives[static_cast<std::size_t>(slot)]);
        }
        out << (count ? "\n" : "") << "], \"left_out\": " << DrivesLeftOutCount() << "}\n";
        return count;
    }
    if (count == 0) {
        out << "No drives to test: only whole drives larger than 1 GiB with a known interface are listed.\n";
        return 0;
    }
    out << "Drives:\n";
    for (int slot = 0; slot < count; ++slot)
        PrintDriveText(out, slot, Devices().drives[static_cast<std::size_t>(slot)]);
    if (const int leftOut = DrivesLeftOutCount(); leftOut > 0)
        out << leftOut << (leftOut == 1 ? " more drive was" : " more drives were")
            << " left out: the list holds " << kMaxDriveCount << " drives, loop devices last.\n";
    return count;
}
