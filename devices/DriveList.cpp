#include "devices/DriveList.h"

#include "devices/DevicePaths.h"
#include "devices/RegistryQueries.h"
#include "devices/VolumeRecords.h"
#include "format/ByteText.h"
#include "format/Utf8Text.h"
#include "platform/SysfsRegistry.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

DriveListHost* gDriveListHost = nullptr;
std::string gSysRoot = "/sys";
int32_t gListedDriveCount = 0;
int gDrivesLeftOut = 0;
BlockDeviceMonitor gDeviceMonitor;

void CopyText(const std::string& source, char (&text)[kPathBytes])
{
    CopyCutText(source, text, sizeof text);
}

DriveListHost& Host()
{
    static DriveListHost nobody;
    return gDriveListHost ? *gDriveListHost : nobody;
}

void CopyName(const char* name, DriveInfoRec& record)
{
    CopyCutText(name, record.driveNameCStr, sizeof record.driveNameCStr);
    for (char* c = record.driveNameCStr; *c; ++c) {
        if (*c == '/' || *c == '-')
            *c = '_';
    }
    CopyCStrToPStr(record.driveNameCStr, record.driveNamePStr);
}

// Drive media: false when the medium is not offered (optical disc, disk image,
// no product name).
bool FillDriveMedium(const RegistryEntry& medium, DriveInfoRec& record)
{
    if (IOKitUtilsMediaHasTOC(medium))
        return false;
    char product[kTextBytes];
    IOKitUtilsGetDeviceProductNameCStr(medium, product);
    CopyName(product, record);
    if (record.driveNameCStr[0] == '\0' || std::strstr(record.driveNameCStr, "Disk Image"))
        return false;
    IOKitUtilsGetDeviceInterfaceInfo(medium, record.interfaceInfoPStr);
    IOKitGetMediaIconFullPath(medium, record.iconPathCStr);
    record.writable = IOKitUtilsIsDeviceWritable(medium);
    return true;
}

void FillCompositeMedium(const RegistryEntry& medium, DriveInfoRec& record)
{
    CopyCutText(medium.Name(), record.driveNameCStr, sizeof record.driveNameCStr);
    CopyCStrToPStr(record.driveNameCStr, record.driveNamePStr);
    char text[kTextBytes];
    IOKitUtilsGetNonMediaDeviceInterfaceInfo(medium, text);
    CopyCStrToPStr(text, record.interfaceInfoPStr);
    if (std::strstr(text, "RAID"))
        CopyText(std::string(gPathToAllIcons) + "MultiDisk.icns", record.iconPathCStr);
    else
        IOKitGetMediaIconFullPath(medium, record.iconPathCStr);
    // An md array assembled read-only says so; composite media without the
    // property are taken as writable.
    const RegistryValue* writable = medium.Own("Writable");
    record.writable = writable == nullptr || IOKitUtilsIsDeviceWritable(medium);
}

bool IsWholeDiskEvent(const BlockDeviceEvent& event)
{
    return event.devtype.empty() || event.devtype == "disk";
}

// Fills a drive record from a medium, all but its volumes; false when the
// medium is not offered.
bool FillDriveRecord(const RegistryEntry& medium, DriveInfoRec& record)
{
    std::memset(&record, 0, sizeof record);
    IOKitUtilsGetBDSName(medium, record.devicePathCStr);
    const bool listedKind = medium.Name().find("Media") != std::string::npos;
    if (listedKind) {
        if (!FillDriveMedium(medium, record))
            return false;
    } else {
        FillCompositeMedium(medium, record);
    }
    IOKitGetMaxSegmenByteCountSize(medium, &record.maxSegmentBytes64);
    IOKitUtilsGetDeviceSizeInBytes(medium, &record.sizeInBytes64);
    return record.interfaceInfoPStr[0] != 0 && record.sizeInBytes64 > kMinimumListedDriveBytes;
}

// Lists the media of the registry that are not listed yet and pass the rule.
// The registry comes in drive list order, so when the table is full the
// media left out are the loop devices at its end; they are counted.
void AppendUnlistedMedia(const MediaRegistry& registry)
{
    gDrivesLeftOut = 0;
    auto scratch = std::make_unique<DriveInfoRec>();
    for (const RegistryEntry* medium : registry.media) {
        char path[kPathBytes];
        IOKitUtilsGetBDSName(*medium, path);
        if (FindListedDrive(path) >= 0)
            continue;
        if (gListedDriveCount >= kMaxDriveCount) {
            gDrivesLeftOut += FillDriveRecord(*medium, *scratch) ? 1 : 0;
            continue;
        }
        if (InsertMediaInfo(*medium, gListedDriveCount)) {
            ++gListedDriveCount;
            Host().DriveAppended(gListedDriveCount - 1);
        }
    }
    if (gListedDriveCount < kMaxDriveCount)
        std::memset(&gSavedDriveInfoArray[gListedDriveCount], 0, sizeof(DriveInfoRec));
}

// A drive that is not a loop device arriving at a full table takes the
// place of the last listed loop device that is not the chosen one.
void MakeRoomForDrive(const RegistryEntry& medium)
{
    auto scratch = std::make_unique<DriveInfoRec>();
    if (!FillDriveRecord(medium, *scratch))
        return;
    for (int slot = gListedDriveCount - 1; slot >= 0; --slot) {
        const DriveInfoRec& drive = gSavedDriveInfoArray[slot];
        if (&drive != gActiveDrive && KernelNameOfDevicePath(drive.devicePathCStr).rfind("loop", 0) == 0) {
            const std::string path = drive.devicePathCStr;
            RemoveListedDrive(path.c_str());
            ++gDrivesLeftOut;
            return;
        }
    }
}

}  // namespace

void SetDriveListHost(DriveListHost* host)
{
    gDriveListHost = host;
}

void SetDeviceSysRoot(const std::string& sysRoot)
{
    gSysRoot = sysRoot;
    SetVolumeSources("", sysRoot);
}

int32_t ListedDriveCount()
{
    return gListedDriveCount;
}

void ClearDriveList()
{
    std::memset(gSavedDriveInfoArray, 0, sizeof gSavedDriveInfoArray);
    gListedDriveCount = 0;
    gDrivesLeftOut = 0;
    gActiveDrive = nullptr;
}

int FindListedDrive(const char* devicePath)
{
    for (int slot = 0; slot < gListedDriveCount; ++slot) {
        if (std::strcmp(gSavedDriveInfoArray[slot].devicePathCStr, devicePath) == 0)
            return slot;
    }
    return -1;
}

int DrivesLeftOutCount()
{
    return gDrivesLeftOut;
}

std::string ListedDriveItemText(int slot)
{
    if (slot < 0 || slot >= gListedDriveCount)
        return std::string();
    const DriveInfoRec& drive = gSavedDriveInfoArray[slot];
    for (int other = 0; other < gListedDriveCount; ++other) {
        if (other != slot && std::strcmp(gSavedDriveInfoArray[other].driveNameCStr, drive.driveNameCStr) == 0)
            return std::string(drive.driveNameCStr) + " (" + KernelNameOfDevicePath(drive.devicePathCStr) + ")";
    }
    return drive.driveNameCStr;
}

bool InsertMediaInfo(const RegistryEntry& medium, int slot)
{
    if (slot < 0 || slot >= kMaxDriveCount)
        return false;
    DriveInfoRec& record = gSavedDriveInfoArray[slot];
    if (!FillDriveRecord(medium, record))
        return false;
    record.volumeCount = GetBSDDrivesVolumes(record.devicePathCStr, record.volumes, false);
    BytesSInt64ToCStrWLabel(record.sizeInBytes64, record.sizeLabelCStr, true);
    return true;
}

bool RemoveListedDrive(const char* devicePath)
{
    const int slot = FindListedDrive(devicePath);
    if (slot < 0)
        return false;
    const int selected = gActiveDrive ? static_cast<int>(gActiveDrive - gSavedDriveInfoArray) : -1;
    std::memmove(&gSavedDriveInfoArray[slot], &gSavedDriveInfoArray[slot + 1],
                 sizeof(DriveInfoRec) * static_cast<std::size_t>(gListedDriveCount - slot - 1));
    --gListedDriveCount;
    std::memset(&gSavedDriveInfoArray[gListedDriveCount], 0, sizeof(DriveInfoRec));
    Host().DriveRemoved(slot);
    if (selected == slot) {
        // The chosen drive is gone: nothing may point at its old record.
        gActiveDrive = nullptr;
        if (gDVLastTabIndex == 1) {
            Host().ResetDrivesPopupMenu();
            Host().DrawTestResults();
        }
    } else if (selected > slot) {
        gActiveDrive = &gSavedDriveInfoArray[selected - 1];
        if (gDVLastTabIndex == 1)
            Host().SelectDriveItem(selected - 1);
    }
    return true;
}

void HandleBlockDeviceEvent(const BlockDeviceEvent& event)
{
    if (!IsWholeDiskEvent(event))
        return;
    const std::string path = "/dev/" + event.name;
    const int listed = FindListedDrive(path.c_str());
    if (event.action == "remove") {
        RemoveListedDrive(path.c_str());
        return;
    }
    if (event.action != "add" && event.action != "change")
        return;
    const MediaRegistry registry = BuildMediaRegistryFor(event.name, gSysRoot);
    if (listed >= 0) {
        // Refill in place; a medium that no longer passes the rule leaves.
        if (!registry.media.empty() && InsertMediaInfo(*registry.media.front(), listed)) {
            Host().DriveChanged(listed);
        } else {
            CopyText(path, gSavedDriveInfoArray[listed].devicePathCStr);
            RemoveListedDrive(path.c_str());
        }
        return;
    }
    if (!registry.media.empty() && gListedDriveCount >= kMaxDriveCount && event.name.rfind("loop", 0) != 0)
        MakeRoomForDrive(*registry.media.front());
    if (!registry.media.empty() && gListedDriveCount < kMaxDriveCount &&
        InsertMediaInfo(*registry.media.front(), gListedDriveCount)) {
        ++gListedDriveCount;
        Host().DriveAppended(gListedDriveCount - 1);
    } else if (gListedDriveCount < kMaxDriveCount) {
        std::memset(&gSavedDriveInfoArray[gListedDriveCount], 0, sizeof(DriveInfoRec));
    }
}

int IOKitRegisterForDeviceArrivalsRemovals()
{
    // Open the monitor first, so no arrival between the listing and the
    // first event is missed.
    if (!gDeviceMonitor.IsOpen())
        gDeviceMonitor.Open();
    AppendUnlistedMedia(BuildMediaRegistry(gSysRoot));
    return gDeviceMonitor.Descriptor();
}

int DeviceMonitorDescriptor()
{
    return gDeviceMonitor.Descriptor();
}

void ProcessDeviceEvents()
{
    for (const BlockDeviceEvent& event : gDeviceMonitor.ReadPending())
        HandleBlockDeviceEvent(event);
    if (gDeviceMonitor.TakeLostEvents())
        RescanDriveList();
}

void RescanDriveList()
{
    // Listed drives first (gone or changed), last slot first so the
    // removals do not move the drives still to be looked at.
    for (int slot = gListedDriveCount - 1; slot >= 0; --slot) {
        const std::string name = KernelNameOfDevicePath(gSavedDriveInfoArray[slot].devicePathCStr);
        HandleBlockDeviceEvent({"change", name, "disk"});
    }
    AppendUnlistedMedia(BuildMediaRegistry(gSysRoot));
}
