#include "shell/QtLaunch.h"

#include "devices/DevicePaths.h"
#include "devices/DriveIdentity.h"
#include "devices/DriveList.h"
#include "devices/DriveUsers.h"
#include "devices/MountControl.h"
#include "devices/VolumeRecords.h"
#include "display/ResultPanes.h"
#include "engine/QueuedTransfers.h"
#include "shell/Alerts.h"
#include "shell/Preferences.h"
#include "shell/ProgressTimer.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"
#include "shell/WindowRunPresenter.h"

#include <QApplication>
#include <QMessageBox>

#include <cerrno>
#include <cstring>
#include <memory>

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
}  // namespace

// The options as last accepted, never half-edited text of an open sheet.
int32_t QtLaunchInterface::ZoneCount() const
{
    return AcceptedSheetValues().zones;
}

int32_t QtLaunchInterface::CycleCount() const
{
    return AcceptedSheetValues().cycles;
}

uint32_t QtLaunchInterface::QueueDepth() const
{
    return QueueDepthForPopupItem(AcceptedSheetValues().queueDepthItem);
}

std::string QtLaunchInterface::TransferSizeText() const
{
    return AcceptedSheetValues().transferSize.left(255).toStdString();
}

std::optional<LaunchTarget> QtLaunchInterface::CurrentTarget() const
{
    LaunchTarget target;
    const DriveInfoRec* drive = nullptr;
    char name[256];
    if (OnVolumeTab()) {
        if (gActiveVolume == nullptr || gActiveVolume->rawDevicePathCStr[0] == '\0')
            return std::nullopt;
        target.devicePath = gActiveVolume->rawDevicePathCStr;
        target.isVolume = true;
        CopyPStrToCStr(gActiveVolume->volNamePStr, name);
        target.sizeLabel = gActiveVolume->totalSizeLabelCStr;
        drive = DriveCarrying(gActiveVolume->rawDevicePathCStr);
    } else {
        if (gActiveDrive == nullptr || gActiveDrive->devicePathCStr[0] == '\0')
            return std::nullopt;
        drive = gActiveDrive;
        target.devicePath = drive->devicePathCStr;
        target.writable = drive->writable;
        CopyPStrToCStr(drive->driveNamePStr, name);
        target.sizeLabel = drive->sizeLabelCStr;
    }
    target.name = name;
    target.identity = DriveIdentityFor(target.devicePath);
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
    refusal_.clear();
    const char* path = OnVolumeTab() ? (gActiveVolume != nullptr ? gActiveVolume->blockDevicePathCStr : nullptr)
                                     : (gActiveDrive != nullptr ? gActiveDrive->devicePathCStr : nullptr);
    if (path == nullptr)
        return kVolumeGone;
    // udev keeps off the drive from before the unmount until after the remount.
    driveLock_.Acquire(path);
    pid_t holder = 0;
    const int status = UnmountForWriteTest(path, &refusal_, &holder);
    if (status != 0) {
        driveLock_.Release();
        return status;
    }
    unmountedPath_ = path;
    return 0;
}

int32_t QtLaunchInterface::RemountTarget()
{
    remountFailures_.clear();
    const std::string path = unmountedPath_;
    unmountedPath_.clear();
    if (path.empty())
        return 0;  // nothing was unmounted
    const bool volumeTab = OnVolumeTab() && gActiveVolume != nullptr;
    if (volumeTab)
        gIgnoreRemountVol = true;
    const std::vector<RemountFailure> failures = RemountVolumesOn(path);
    driveLock_.Release();
    if (!failures.empty()) {
        gIgnoreRemountVol = false;
        remountFailures_ = DescribeRemountFailures(failures);
        return -EIO;
    }
    if (volumeTab) {
        auto record = std::make_unique<VolInfoRec>();
        const int16_t found = FindMountedVolume(gActiveVolume->rootRef, record.get(), false);
        if (volumeRemounted)
            volumeRemounted(found == 0 ? record->vRefNum : 0);
        else
            gIgnoreRemountVol = false;
    }
    return 0;
}

std::string QtLaunchInterface::RemountFailureExplanation() const
{
    std::string advice = kRemountFailedExplanation;
    advice.erase(0, advice.find_first_not_of(' '));
    return remountFailures_ + advice;
}

void QtLaunchInterface::ShowTestRunning(bool running)
{
    if (running)
        TurnOffControl("tabs", 0);
    else
        TurnOnControl("tabs", 0);
    ChangePushButtonNameCFStr(1, running ? "Stop" : "Start");
    ChangePushButtonDefault(1, !running);
}

void QtLaunchInterface::AllowStartStop(bool allowed)
{
    if (allowed)
        TurnOnControl("push", 1);
    else
        TurnOffControl("push", 1);
}

void QtLaunchInterface::AllowSettingsChanges(bool allowed)
{
    if (allowed)
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

void QtLaunchInterface::ShowIdleCursor()
{
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ShowArrowCursor();
}

void QtLaunchInterface::AskToTestReadsOnly(const std::string& reason)
{
    if (gMessageSheetWindow == nullptr)
        return;
    // What stands in the way, when it is known, comes before the question.
    const std::string why = reason.empty() ? refusal_ : reason;
    const std::string explanation = why.empty() ? std::string(kReadOnlySheetExplanation)
                                                : why + "\n\n" + kReadOnlySheetExplanation;
    gMessageSheetWindow->setInformativeText(QString::fromStdString(explanation));
    refusal_.clear();
    gMessageSheetWindow->open();
}

std::string QtLaunchInterface::OtherDriveUsers(const std::string& devicePath) const
{
    return DescribeDriveUsers(FindDriveUsers(devicePath));
}

void QtLaunchInterface::StartProgressDisplay(RunProgress& progress)
{
    StartUpdateTimer(progress);
}

void QtLaunchInterface::StopProgressDisplay()
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

RunObserver& QtLaunchInterface::RunPresenter()
{
    // The host is installed before the window takes its first Start.
    if (presenter_ == nullptr) {
        if (InterfaceHost* host = CurrentInterfaceHost())
            presenter_ = std::make_unique<WindowRunPresenter>(*host);
        else
            return silent_;
    }
    return *presenter_;
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
