// Choosing what to test: the drive popup {'popb', 1} and the volume popup
// {'popb', 2} (two leading items, then one item per record), the chosen
// drive's or volume's description, the position labels along the drive, the
// tab switch between drives and volumes, volumes that come and go, and
// volumes dropped on the volume tab.
#pragma once

#include "engine/Run.h"

#include <QString>

#include <cstdint>

// Size of the drive or volume chosen, 0 when none is; the position labels are drawn from it.
extern int64_t gDriveSizeInBytes64;

void ResetDrivesPopupMenu();
void ResetVolumesPopupMenu();
void UpdateSelectedDriveInfo();
void ClearSelectedDriveInfo();
// The chosen drive's record was refilled (new medium, new size): its
// description, size and position labels are shown anew.
void RefreshChosenDrive();
void UpdateSelectedVolumeInfo();
void ClearSelectedVolumeInfo();
// The eleven position labels {'stxt', 21} .. {'stxt', 31}.
void InsertSizeIncrements();

// The drive (or volume) pane shows a run's own target, as an opened run
// names it: its name, size label, node and the positions along it.
void ShowRunTarget(const RunTarget& target);

// Rebuilds the volume list from the mount table: local volumes with a device
// node, each device once, at most 64. Returns the number listed.
int32_t AppendPopupWithVolumes();
// Adds one newly mounted volume at the end of the list; false when it is not a local volume.
bool AppendPopupWithThisVolume(const QString& mountPoint);

// A drive or volume item chosen in popup 1 or 2 (items below 3 change nothing).
void DoPopupMenuSelection(int popupId);
// The tab control changed to tab 1 (drives) or 2 (volumes).
void DriveVolTabChosen(int tab);
// The chosen volume, as a dropped volume or a popup choice completes it.
void ChooseListedVolume(int index);
// Chooses the listed volume mounted at mountPoint; false when none is.
bool ChooseVolumeAtMountPoint(const QString& mountPoint);

// Mount-table notices (ignored on the drive tab and while a test runs).
void VolumeMountedNotice(const QString& mountPoint);
void VolumeUnmountedNotice(const QString& mountPoint);

// The listed volume that holds path (the one whose file system contains it), or -1.
int ListedVolumeHolding(const QString& path);

// Installs drag and drop of one folder, file or mount point from a file
// manager onto the volume tab's pane.
void InstallVolumeDrops();
