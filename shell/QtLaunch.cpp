#include "shell/QtLaunch.h"

#include "devices/DevicePaths.h"
#include "devices/DriveList.h"
#include "devices/DriveUsers.h"
#include "devices/MountControl.h"
#include "devices/VolumeRecords.h"
#include "display/ResultPanes.h"
#include "shell/InterfaceHost.h"
#include "engine/QueuedTransfers.h"
#include "format/Localization.h"
#include "shell/Alerts.h"
#include "shell/MainWindow.h"
#include "shell/Preferences.h"
#include "shell/ProgressTimer.h"
#include "shell/ResultPaneTexts.h"
#include "shell/RunHistoryWindow.h"
#include "shell/ShownRun.h"
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
const DriveRecord* DriveCarrying(const std::string& devicePath)
{
    const std::string drivePath = DrivePathForDevicePath(devicePath);
    const int slot = drivePath.empty() ? -1 : FindListedDrive(drivePath);
    return slot >= 0 ? &Devices().drives[static_cast<std::size_t>(slot)] : nullptr;
}
}  // namespace

TestKind QtLaunchInterface::Kind() const
{
    return NextRunKind();
}

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

uint64_t QtLaunchInterface::SurfaceSpanBytes() const
{
    return AcceptedSurfaceSpanBytes();
}

uint32_t QtLaunchInterface::SurfaceMinutes() const
{
    return AcceptedSurfaceMinutes();
}

std::string QtLaunchInterface::TransferSizeText() const
{
    return AcceptedSheetValues().transferSize.left(255).toStdString();
}

std::optional<LaunchTarget> QtLaunchInterface::CurrentTarget() const
{
    const std::optional<RunTarget> chosen = ChosenRunTarget();
    if (!chosen)
        return std::nullopt;
    LaunchTarget target;
    target.devicePath = chosen->devicePath;
    target.isVolume = chosen->isVolume;
    target.identity = chosen->identity;
    target.name = chosen->name;
    target.sizeLabel = chosen->sizeLabel;
    // A volume's drive limits its transfers; only a whole drive can be read-only here.
    const DriveRecord* drive = chosen->isVolume ? DriveCarrying(chosen->devicePath) : ChosenDrive();
    target.hasDrive = drive != nullptr;
    if (drive != nullptr) {
        if (!chosen->isVolume)
            target.writable = drive->writable;
        target.interfaceText = drive->interfaceText;
        target.maxSegmentBytes = drive->maxTransferBytes;
    }
    return target;
}

int32_t QtLaunchInterface::UnmountTarget()
{
    refusal_.clear();
    const VolumeRecord* volume = ChosenVolume();
    const DriveRecord* drive = ChosenDrive();
    const char* path = OnVolumeTab() ? (volume != nullptr ? volume->devicePath.c_str() : nullptr)
                                     : (drive != nullptr ? drive->devicePath.c_str() : nullptr);
    if (path == nullptr)
        return kVolumeGone;
    // udev keeps off the drive from before the unmount until after the remount.
    driveLock_.Acquire(path);
    pid_t holder = 0;
    const int status = UnmountForWriteTest(path, &unmounted_, &refusal_, &holder);
    if (status != 0)
        driveLock_.Release();
    return status;
}

int32_t QtLaunchInterface::RemountTarget()
{
    remountFailures_.clear();
    if (!unmounted_.Holds()) {
        driveLock_.Release();
        return 0;  // nothing was unmounted
    }
    const VolumeRecord* volume = ChosenVolume();
    const bool volumeTab = OnVolumeTab() && volume != nullptr;
    const std::vector<RemountFailure> failures = unmounted_.MountBack();
    driveLock_.Release();
    if (!failures.empty()) {
        remountFailures_ = DescribeRemountFailures(failures);
        return -EIO;
    }
    if (volumeTab) {
        VolumeRecord record;
        const int16_t found = FindMountedVolume(volume->mount.target, &record, false);
        if (volumeRemounted)
            volumeRemounted(found == 0 ? record.mountIndex : 0);
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
    if (MainWindow* window = TheMainWindow()) {
        window->ui.driveVolumeTabs->setEnabled(!running);
        // Start as the interface file words it; Stop with a mnemonic each language places
        // where it clashes with no other of the window.
        window->ui.startButton->setText(running ? QCoreApplication::translate("MainWindow", "&Stop")
                                                : QCoreApplication::translate("MainWindow", "&Start"));
        SetOpenResultsEnabled(!running);
        window->ui.startButton->setDefault(!running);
    }
}

void QtLaunchInterface::AllowStartStop(bool allowed)
{
    if (MainWindow* window = TheMainWindow())
        window->ui.startButton->setEnabled(allowed);
}

void QtLaunchInterface::AllowSettingsChanges(bool allowed)
{
    if (MainWindow* window = TheMainWindow())
        window->ui.optionsButton->setVisible(allowed);
}

void QtLaunchInterface::SetSaveMenuEnabled(bool enabled)
{
    if (MainWindow* window = TheMainWindow())
        window->SetSaveMenuEnabled(enabled);
}

void QtLaunchInterface::ShowNotBusy()
{
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ShowArrowCursor();
}

void QtLaunchInterface::AskToTestReadsOnly(const std::string& reason)
{
    MainWindow* window = TheMainWindow();
    if (window == nullptr)
        return;
    QMessageBox* question = window->readOnlyQuestion;
    // What stands in the way, when it is known, comes before the question.
    const std::string why = reason.empty() ? refusal_ : reason;
    const std::string explanation = why.empty() ? std::string(kReadOnlySheetExplanation)
                                                : why + "\n\n" + kReadOnlySheetExplanation;
    question->setInformativeText(QString::fromStdString(explanation));
    refusal_.clear();
    question->open();
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
    // In the user's language, as the worker's status texts are.
    if (MainWindow* window = TheMainWindow())
        ShowText(window->ui.statusLine, QString::fromStdString(LocalizedText(text.c_str())));
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
    const VolumeRecord* volume = ChosenVolume();
    if (!OnVolumeTab() || volume == nullptr)
        return false;
    const std::string& options = volume->mount.vfsOptions;
    return options == "ro" || options.rfind("ro,", 0) == 0 || options.find(",ro,") != std::string::npos ||
           (options.size() > 3 && options.compare(options.size() - 3, 3, ",ro") == 0);
}
