#include "devices/DriveRecords.h"

int32_t gDVLastTabIndex = 1;
char gPathToAllIcons[kPathBytes] = "";

int DeviceLists::DriveSlot(const std::string& devicePath) const
{
    for (std::size_t slot = 0; slot < drives.size(); ++slot) {
        if (drives[slot].devicePath == devicePath)
            return static_cast<int>(slot);
    }
    return -1;
}

int DeviceLists::VolumeSlot(const std::string& mountPoint) const
{
    for (std::size_t slot = 0; slot < volumes.size(); ++slot) {
        if (volumes[slot].mount.target == mountPoint)
            return static_cast<int>(slot);
    }
    return -1;
}

const DriveRecord* DeviceLists::ChosenDrive() const
{
    const int slot = chosenDrive.empty() ? -1 : DriveSlot(chosenDrive);
    return slot >= 0 ? &drives[static_cast<std::size_t>(slot)] : nullptr;
}

const VolumeRecord* DeviceLists::ChosenVolume() const
{
    for (const VolumeRecord& volume : volumes) {
        if (!chosenVolume.mountPoint.empty() && volume.mount.target == chosenVolume.mountPoint &&
            volume.devicePath == chosenVolume.devicePath)
            return &volume;
    }
    return nullptr;
}

DeviceLists& Devices()
{
    static DeviceLists lists;
    return lists;
}

const DriveRecord* ChosenDrive()
{
    return Devices().ChosenDrive();
}

const VolumeRecord* ChosenVolume()
{
    return Devices().ChosenVolume();
}
