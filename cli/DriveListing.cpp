#include "cli/DriveListing.h"

#include "cli/ResultsOutput.h"
#include "devices/DriveList.h"
#include "format/Utf8Text.h"

#include <string>

namespace {

std::string PascalText(const unsigned char* pascal)
{
    return std::string(reinterpret_cast<const char*>(pascal + 1), pascal[0]);
}

void PrintVolumeText(std::ostream& out, const VolInfoRec& volume)
{
    const std::string mapper = volume.mapperNameCStr[0] ? " (/dev/mapper/" + ShownText(volume.mapperNameCStr) + ")" : "";
    out << "       " << ShownText(volume.volNameCStr) << ": " << ShownText(volume.blockDevicePathCStr) << mapper << ", "
        << volume.fileSystemNameCStr << ", " << volume.totalSizeLabelCStr << " (" << volume.freeSizeLabelCStr
        << " free), mounted at " << ShownText(volume.rootRef) << '\n';
}

void PrintDriveText(std::ostream& out, int slot, const DriveInfoRec& drive)
{
    // The interface text shows a loop device's backing path already escaped.
    out << "  " << slot + 1 << ". " << ShownText(ListedDriveItemText(slot)) << '\n'
        << "     Device:    " << ShownText(drive.devicePathCStr) << '\n'
        << "     Size:      " << drive.sizeLabelCStr << " (" << drive.sizeInBytes64 << " bytes)\n"
        << "     Interface: " << PascalText(drive.interfaceInfoPStr) << '\n'
        << "     Writable:  " << (drive.writable ? "yes" : "no") << '\n'
        << "     Volumes:   " << drive.volumeCount << (drive.volumeCount > 0 ? "\n" : " mounted\n");
    for (int index = 0; index < drive.volumeCount; ++index)
        PrintVolumeText(out, drive.volumes[index]);
}

void PrintVolumeJson(std::ostream& out, const VolInfoRec& volume)
{
    out << "{\"name\": " << JsonQuoted(volume.volNameCStr) << ", \"device\": " << JsonQuoted(volume.blockDevicePathCStr)
        << ", \"mount_point\": " << JsonQuoted(volume.rootRef) << ", \"type\": " << JsonQuoted(volume.fileSystemTypeCStr)
        << ", \"file_system\": " << JsonQuoted(volume.fileSystemNameCStr) << ", \"total_bytes\": " << volume.totalBytes64
        << ", \"free_bytes\": " << volume.volParms.freeBytes << ", \"size\": " << JsonQuoted(volume.totalSizeLabelCStr)
        << ", \"free\": " << JsonQuoted(volume.freeSizeLabelCStr) << ", \"mapper_name\": " << JsonQuoted(volume.mapperNameCStr)
        << "}";
}

void PrintDriveJson(std::ostream& out, const DriveInfoRec& drive)
{
    out << "{\"name\": " << JsonQuoted(PascalText(drive.driveNamePStr)) << ", \"device\": "
        << JsonQuoted(drive.devicePathCStr) << ", \"size_bytes\": " << drive.sizeInBytes64
        << ", \"size\": " << JsonQuoted(drive.sizeLabelCStr) << ", \"interface\": "
        << JsonQuoted(PascalText(drive.interfaceInfoPStr)) << ", \"writable\": " << (drive.writable ? "true" : "false")
        << ", \"max_transfer_bytes\": " << drive.maxSegmentBytes64 << ", \"icon\": " << JsonQuoted(drive.iconPathCStr)
        << ", \"volumes\": [";
    for (int index = 0; index < drive.volumeCount; ++index) {
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
    IOKitRegisterForDeviceArrivalsRemovals();
    const int count = ListedDriveCount();
    if (json) {
        out << "{\"drives\": [";
        for (int slot = 0; slot < count; ++slot) {
            out << (slot ? ",\n  " : "\n  ");
            PrintDriveJson(out, gSavedDriveInfoArray[slot]);
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
        PrintDriveText(out, slot, gSavedDriveInfoArray[slot]);
    if (const int leftOut = DrivesLeftOutCount(); leftOut > 0)
        out << leftOut << (leftOut == 1 ? " more drive was" : " more drives were")
            << " left out: the list holds " << kMaxDriveCount << " drives, loop devices last.\n";
    return count;
}
