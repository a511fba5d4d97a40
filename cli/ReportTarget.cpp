#include "cli/ReportTarget.h"

#include "devices/DevicePaths.h"
#include "devices/DriveList.h"
#include "devices/VolumeRecords.h"
#include "format/ByteText.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

DriveInfoRec gUnlistedTarget;

bool ChooseMountedVolume(const std::string& node)
{
    const std::string drivePath = DrivePathForDevicePath(node);
    if (drivePath.empty())
        return false;
    auto volumes = std::make_unique<VolInfoRec[]>(kMaxVolumeCount);
    const int16_t count = GetBSDDrivesVolumes(drivePath.c_str(), volumes.get(), true);
    for (int16_t index = 0; index < count; ++index) {
        if (node == volumes[index].blockDevicePathCStr) {
            gSavedVolInfoArray[0] = volumes[index];
            gActiveVolume = &gSavedVolInfoArray[0];
            gDVLastTabIndex = 2;
            return true;
        }
    }
    return false;
}

}  // namespace

void ChooseReportedDevice(const std::string& target, int64_t sizeBytes)
{
    std::error_code error;
    const fs::path resolved = target.empty() ? fs::path() : fs::canonical(target, error);
    const std::string node = error ? target : resolved.string();
    gDVLastTabIndex = 1;
    ClearDriveList();
    IOKitRegisterForDeviceArrivalsRemovals();
    if (const int slot = FindListedDrive(node.c_str()); slot >= 0 && !node.empty()) {
        gActiveDrive = &gSavedDriveInfoArray[slot];
        return;
    }
    if (!node.empty() && ChooseMountedVolume(node))
        return;
    gUnlistedTarget = DriveInfoRec{};
    const std::string name = node.empty() ? "Scratch File" : fs::path(node).filename().string();
    std::snprintf(gUnlistedTarget.devicePathCStr, sizeof gUnlistedTarget.devicePathCStr, "%s", node.c_str());
    std::snprintf(gUnlistedTarget.driveNameCStr, sizeof gUnlistedTarget.driveNameCStr, "%s", name.c_str());
    CopyCStrToPStr(gUnlistedTarget.driveNameCStr, gUnlistedTarget.driveNamePStr);
    gUnlistedTarget.sizeInBytes64 = sizeBytes;
    BytesSInt64ToCStrWLabel(sizeBytes, gUnlistedTarget.sizeLabelCStr, true);
    gActiveDrive = &gUnlistedTarget;
}
