#include "devices/DriveList.h"

#include "devices/DevicePaths.h"
#include "devices/RegistryQueries.h"
#include "devices/VolumeRecords.h"
#include "format/ByteText.h"
#include "format/Utf8Text.h"
#include "platform/SysfsRegistry.h"

#include <string>

namespace {

DriveListHost* gDriveListHost = nullptr;
std::string gSysRoot = "/sys";
int gDrivesLeftOut = 0;
BlockDeviceMonitor gDeviceMonitor;

std::vector<DriveRecord>& Drives()
{
    return Devices().drives;
}

DriveListHost& Host()
{
    static DriveListHost nobody;
    return gDriveListHost ? *gDriveListHost : nobody;
}

// A name of at most 255 bytes, cut between characters.
std::string CutName(const std::string& name)
{
    return name.substr(0, TextCutLength(name, 255));
}

// Drive media: false when the medium is not offered (optical disc, disk image,
// no product name).
bool FillDriveMedium(const RegistryEntry& medium, DriveRecord& record)
{
    if (HasTableOfContents(medium))
        return false;
    record.name = CutName(DeviceModelName(medium));
    for (char& c : record.name) {
        if (c == '/' || c == '-')
            c = '_';
    }
    if (record.name.empty() || record.name.find("Disk Image") != std::string::npos)
        return false;
    record.interfaceText = DeviceInterfaceText(medium);
    record.iconPath = DeviceIconPath(medium);
    record.writable = IsDeviceWritable(medium);
    return true;
}

void FillCompositeMedium(const RegistryEntry& medium, DriveRecord& record)
{
    record.name = CutName(medium.Name());
    record.interfaceText = CutName(CompositeDeviceInterfaceText(medium));
    if (record.interfaceText.find("RAID") != std::string::npos)
        record.iconPath = std::string(gPathToAllIcons) + "MultiDisk.icns";
    else
        record.iconPath = DeviceIconPath(medium);
    // An md array assembled read-only says so; composite media without the
    // property are taken as writable.
    const RegistryValue* writable = medium.Own("Writable");
    record.writable = writable == nullptr || IsDeviceWritable(medium);
}

bool IsWholeDiskEvent(const BlockDeviceEvent& event)
{
    return event.devtype.empty() || event.devtype == "disk";
}

// Fills a drive record from a medium, all but its volumes; false when the
// medium is not offered.
bool FillDriveFacts(const RegistryEntry& medium, DriveRecord& record)
{
    record = DriveRecord{};
    record.devicePath = DeviceNodePath(medium);
    const bool listedKind = medium.Name().find("Media") != std::string::npos;
    if (listedKind) {
        if (!FillDriveMedium(medium, record))
            return false;
    } else {
        FillCompositeMedium(medium, record);
    }
    record.maxTransferBytes = MaxTransferBytes(medium);
    record.sizeBytes = DeviceSizeBytes(medium);
    return !record.interfaceText.empty() && record.sizeBytes > kMinimumListedDriveBytes;
}

// The whole record of a medium that is listed, volumes included.
bool FillDriveRecord(const RegistryEntry& medium, DriveRecord& record)
{
    if (!FillDriveFacts(medium, record))
        return false;
    record.volumes = DriveVolumes(record.devicePath, false);
    char label[256];
    FormatByteSize(record.sizeBytes, label, true);
    record.sizeLabel = label;
    return true;
}

// Appends a medium that passes the rule to a list with room.
void AppendDrive(const RegistryEntry& medium)
{
    DriveRecord record;
    if (!FillDriveRecord(medium, record))
        return;
    Drives().push_back(std::move(record));
    Host().DriveAppended(ListedDriveCount() - 1);
}

// Lists the media of the registry that are not listed yet and pass the rule.
// The registry comes in drive list order, so when the list is full the
// media left out are the loop devices at its end; they are counted.
void AppendUnlistedMedia(const MediaRegistry& registry)
{
    gDrivesLeftOut = 0;
    for (const RegistryEntry* medium : registry.media) {
        if (FindListedDrive(DeviceNodePath(*medium)) >= 0)
            continue;
        if (ListedDriveCount() >= kMaxDriveCount) {
            DriveRecord scratch;
            gDrivesLeftOut += FillDriveFacts(*medium, scratch) ? 1 : 0;
            continue;
        }
        AppendDrive(*medium);
    }
}

// A drive that is not a loop device arriving at a full list takes the
// place of the last listed loop device that is not the chosen one.
void MakeRoomForDrive(const RegistryEntry& medium)
{
    DriveRecord scratch;
    if (!FillDriveFacts(medium, scratch))
        return;
    for (int slot = ListedDriveCount() - 1; slot >= 0; --slot) {
        const std::string path = Drives()[static_cast<std::size_t>(slot)].devicePath;
        if (path != Devices().chosenDrive && KernelNameOfDevicePath(path).rfind("loop", 0) == 0) {
            RemoveListedDrive(path);
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
    return static_cast<int32_t>(Drives().size());
}

void ClearDriveList()
{
    Drives().clear();
    Devices().chosenDrive.clear();
    gDrivesLeftOut = 0;
}

int FindListedDrive(const std::string& devicePath)
{
    return Devices().DriveSlot(devicePath);
}

int DrivesLeftOutCount()
{
    return gDrivesLeftOut;
}

std::string ListedDriveItemText(int slot)
{
    if (slot < 0 || slot >= ListedDriveCount())
        return std::string();
    const DriveRecord& drive = Drives()[static_cast<std::size_t>(slot)];
    for (const DriveRecord& other : Drives()) {
        if (&other != &drive && other.name == drive.name)
            return drive.name + " (" + KernelNameOfDevicePath(drive.devicePath) + ")";
    }
    return drive.name;
}

bool RemoveListedDrive(const std::string& devicePath)
{
    const int slot = FindListedDrive(devicePath);
    if (slot < 0)
        return false;
    const int selected = FindListedDrive(Devices().chosenDrive);
    Drives().erase(Drives().begin() + slot);
    Host().DriveRemoved(slot);
    if (selected == slot) {
        // The chosen drive is gone, and with it the choice.
        Devices().chosenDrive.clear();
        if (gDVLastTabIndex == 1) {
            Host().ResetDrivesPopupMenu();
            Host().DrawTestResults();
        }
    } else if (selected > slot && gDVLastTabIndex == 1) {
        Host().SelectDriveItem(selected - 1);
    }
    return true;
}

void HandleBlockDeviceEvent(const BlockDeviceEvent& event)
{
    if (!IsWholeDiskEvent(event))
        return;
    const std::string path = "/dev/" + event.name;
    const int listed = FindListedDrive(path);
    if (event.action == "remove") {
        RemoveListedDrive(path);
        return;
    }
    if (event.action != "add" && event.action != "change")
        return;
    const MediaRegistry registry = BuildMediaRegistryFor(event.name, gSysRoot);
    if (listed >= 0) {
        // Refill in place; a medium that no longer passes the rule leaves.
        DriveRecord record;
        if (!registry.media.empty() && FillDriveRecord(*registry.media.front(), record)) {
            Drives()[static_cast<std::size_t>(listed)] = std::move(record);
            Host().DriveChanged(listed);
        } else {
            RemoveListedDrive(path);
        }
        return;
    }
    if (registry.media.empty())
        return;
    if (ListedDriveCount() >= kMaxDriveCount && event.name.rfind("loop", 0) != 0)
        MakeRoomForDrive(*registry.media.front());
    if (ListedDriveCount() < kMaxDriveCount)
        AppendDrive(*registry.media.front());
}

int WatchDeviceEvents()
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
    for (int slot = ListedDriveCount() - 1; slot >= 0; --slot) {
        const std::string name = KernelNameOfDevicePath(Drives()[static_cast<std::size_t>(slot)].devicePath);
        HandleBlockDeviceEvent({"change", name, "disk"});
    }
    AppendUnlistedMedia(BuildMediaRegistry(gSysRoot));
}
