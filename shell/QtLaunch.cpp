#include "shell/QtLaunch.h"

#include "devices/DevicePaths.h"
#include "devices/DriveList.h"
#include "devices/MountControl.h"
#include "display/ResultPanes.h"
#include "shell/Alerts.h"
#include "shell/Preferences.h"
#include "shell/ProgressTimer.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QApplication>
#include <QMessageBox>

#include <cerrno>
#include <cstring>

namespace {
constexpr int32_t kVolumeGone = -35;

bool OnVolumeTab()
{
    return gDVLastTabIndex == 2;
}

// The drive record that carries a device node, or null.
const DriveInfoRec* DriveCarrying(const char* devicePath)
{
    const std::string drivePath = DrivePathForDevicePath(devicePath);
    const int slot = drivePath.empty() ? -1 : FindListedDrive(drivePath.c_str());
    return slot >= 0 ? &gSavedDriveInfoArray[slot] : nullptr;
}

// A device that has gone away has nothing left to mount.
int32_t RemountStatus(int status)
{
    if (status == -ENOENT || status == -ENXIO || status == -ENODEV)
        return kVolumeGone;
    return status;
}
}  // namespace

int32_t QtLaunchInterface::ZoneCount() const
{
    return GetThisWindowControlValue32(gSettingsSheetWindow, "popb", 3);
}

int32_t QtLaunchInterface::CycleCount() const
{
    return GetThisWindowControlValue32(gSettingsSheetWindow, "popb", 4);
}

uint32_t QtLaunchInterface::QueueDepth() const
{
    return SheetQueueDepth();
}

std::string QtLaunchInterface::TransferSizeText() const
{
    char text[256];
    GetEditTextControlCStr(gSettingsSheetWindow, 1, text);
    return text;
}

std::optional<LaunchTarget> QtLaunchInterface::CurrentTarget() const
{
    LaunchTarget target;
    const DriveInfoRec* drive = nullptr;
    if (OnVolumeTab()) {
        if (gActiveVolume == nullptr || gActiveVolume->rawDevicePathCStr[0] == '\0')
            return std::nullopt;
        target.devicePath = gActiveVolume->rawDevicePathCStr;
        target.isVolume = true;
        drive = DriveCarrying(gActiveVolume->rawDevicePathCStr);
    } else {
        if (gActiveDrive == nullptr || gActiveDrive->devicePathCStr[0] == '\0')
            return std::nullopt;
        drive = gActiveDrive;
        target.devicePath = drive->devicePathCStr;
        target.writable = drive->writable;
    }
    target.hasDrive = drive != nullptr;
    if (drive != nullptr) {
        char interfaceText[256];
        CopyPStrToCStr(drive->interfaceInfoPStr, interfaceText);
        target.interfaceText = interfaceText;
        target.maxSegmentBytes = drive->maxSegmentBytes64;
    }
    return target;
}

int32_t QtLaunchInterface::UnmountTarget()
{
    pid_t holder = 0;
    int status = 0;
    if (OnVolumeTab())
        status = gActiveVolume != nullptr ? UnMountThisVolumeSync(*gActiveVolume, &holder) : kVolumeGone;
    else
        status = gActiveDrive != nullptr ? UnMountAllDriveVolumesSync(gActiveDrive->devicePathCStr, &holder)
                                         : kVolumeGone;
    if (status != 0 && holder != 0)
        std::fprintf(stderr, "kestrelia: unmount refused, volume in use by %s\n", DescribeProcess(holder).c_str());
    return status;
}

int32_t QtLaunchInterface::RemountTarget()
{
    if (!OnVolumeTab())
        return gActiveDrive != nullptr ? RemountStatus(RemountThisDrivesVolsSync(*gActiveDrive)) : 0;
    if (gActiveVolume == nullptr || RememberedUnmountCount() == 0)
        return 0;  // nothing of it was unmounted
    gIgnoreRemountVol = true;
    int16_t vRefNum = 0;
    const int32_t status = RemountStatus(RemountThisVolumeSync(*gActiveVolume, &vRefNum));
    if (status != 0)
        gIgnoreRemountVol = false;
    else if (volumeRemounted)
        volumeRemounted(vRefNum);
    return status;
}

void QtLaunchInterface::SetStartButtonRunning(bool running)
{
    if (running)
        TurnOffControl("tabs", 0);
    else
        TurnOnControl("tabs", 0);
    ChangePushButtonNameCFStr(1, running ? "Stop" : "Start");
    ChangePushButtonDefault(1, !running);
}

void QtLaunchInterface::SetOptionsButtonVisible(bool visible)
{
    if (visible)
        ShowThisWindowControl(gMainWindowRef, "bevl", 9);
    else
        HideThisWindowControl(gMainWindowRef, "bevl", 9);
}

void QtLaunchInterface::SetSaveMenuEnabled(bool enabled)
{
    if (enabled)
        TurnOnSubMenuItem(1, 1, 0);
    else
        TurnOffSubMenuItem(1, 1, 0);
}

void QtLaunchInterface::ShowArrowCursor()
{
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ShowArrowCursor();
}

void QtLaunchInterface::ShowReadOnlySheet()
{
    if (gMessageSheetWindow != nullptr)
        gMessageSheetWindow->open();
}

void QtLaunchInterface::StartProgressTimer()
{
    StartUpdateTimer();
}

void QtLaunchInterface::StopProgressTimer()
{
    CancelUpdateTimer();
}

void QtLaunchInterface::RedrawResults()
{
    DrawTestResults();
}

void QtLaunchInterface::ShowErrorAlert(const std::string& message, const std::string& explanation)
{
    DoStandardLocalizedAlert(message.c_str(), explanation.empty() ? nullptr : explanation.c_str(),
                             kAlertStopAlert);
}

void QtLaunchInterface::SetStatusText(const std::string& text)
{
    SetStatTextControlWCStr(gMainWindowRef, 5, text.c_str(), false);
}

QtLaunchInterface& WindowLaunch()
{
    static QtLaunchInterface launch;
    return launch;
}

bool ActiveVolumeIsLocked()
{
    if (!OnVolumeTab() || gActiveVolume == nullptr)
        return false;
    const std::string options = gActiveVolume->vfsOptionsCStr;
    return options == "ro" || options.rfind("ro,", 0) == 0 || options.find(",ro,") != std::string::npos ||
           (options.size() > 3 && options.compare(options.size() - 3, 3, ",ro") == 0);
}
