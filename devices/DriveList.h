// The table of drives that can be tested, filled at start-up and kept up to
// date from kernel device events.
//
// The interface owns the drive menu; it learns of changes through a
// DriveListHost and watches DeviceMonitorDescriptor() on its event loop,
// calling ProcessDeviceEvents() whenever the descriptor is readable.
#pragma once

#include "devices/DriveRecords.h"
#include "platform/DeviceMonitor.h"
#include "platform/Registry.h"

#include <cstdint>
#include <string>

inline constexpr int64_t kMinimumListedDriveBytes = 1073741824;  // a drive must be larger

class DriveListHost {
public:
    virtual ~DriveListHost() = default;
    // Drive record `slot` was appended (its menu item is slot + 3).
    virtual void DriveAppended(int /*slot*/) {}
    // Drive record `slot` was refilled in place (for example a new size).
    virtual void DriveChanged(int /*slot*/) {}
    // The drive at `slot` left; later records moved down by one.
    virtual void DriveRemoved(int /*slot*/) {}
    // The chosen drive left while the drive tab is shown.
    virtual void ResetDrivesPopupMenu() {}
    // The chosen drive moved to `slot` after a removal above it.
    virtual void SelectDriveItem(int /*slot*/) {}
    virtual void DrawTestResults() {}
};

// The host told of changes (nullptr: nobody). Not owned.
void SetDriveListHost(DriveListHost* host);

// The sysfs root read for devices ("/sys"; tests point it at a fake tree).
void SetDeviceSysRoot(const std::string& sysRoot);

// Lists the media present and opens the udev device monitor. Returns the
// monitor's descriptor, or -1 when the kernel offers no device events (the
// list is still filled; it just does not follow hot-plug).
int WatchDeviceEvents();

int DeviceMonitorDescriptor();

// Reads the pending device events and updates the list.
void ProcessDeviceEvents();

// Brings the list in line with the devices present (after lost events).
void RescanDriveList();

// Applies one device event: arrivals, departures, and size changes (loop
// devices announce attach and detach as "change" with the new size) that
// take a medium across the acceptance rule.
void HandleBlockDeviceEvent(const BlockDeviceEvent& event);

// Removes the listed drive with that device path, keeping the selection
// on the same drive. False when no drive has that path.
bool RemoveListedDrive(const std::string& devicePath);

// Number of listed drives (records 0 .. count-1).
int32_t ListedDriveCount();

// Slot of the listed drive with that path, or -1.
int FindListedDrive(const std::string& devicePath);

// Media that passed the rule but found no room in the table at the last
// full listing (loop devices, which come last).
int DrivesLeftOutCount();

// The text of drive `slot`'s menu item: its name, with the kernel name added
// ("Samsung SSD 970 EVO Plus 1TB (nvme1n1)") when another listed drive has
// the same name.
std::string ListedDriveItemText(int slot);

// Empties the table and forgets the chosen drive (start-up state).
void ClearDriveList();
