#include "shell/ShownRun.h"

#include "devices/DriveIdentity.h"
#include "devices/DriveRecords.h"
#include "display/ResultPanes.h"
#include "engine/ModelSnapshot.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "shell/MainWindow.h"
#include "shell/RunHistoryWindow.h"
#include "shell/Windows.h"

#include <QComboBox>
#include <QWidget>

namespace {
Run gShown;
bool gShownOpened = false;
// The run under way, as the model holds it at the last redraw, and its target.
Run gUnderWay;
RunTarget gUnderWayTarget;

bool RunUnderWay()
{
    return bTestRunning.load() || TestLaunchInProgress();
}

void EnableRunChoices(bool enabled)
{
    if (MainWindow* window = TheMainWindow())
        window->ui.testKindBox->setEnabled(enabled);
    if (QComboBox* compare = ComparePopup())
        compare->setEnabled(enabled);
}
}  // namespace

const Run& ShownRun()
{
    if (!RunUnderWay()) {
        // Without results the window shows the empty run of the drive or volume chosen.
        if (!gShown.HasResults() && !gShownOpened)
            gShown.target = ChosenRunTarget().value_or(RunTarget{});
        return gShown;
    }
    gUnderWay = SnapshotOfModel(gUnderWayTarget);
    return gUnderWay;
}

std::time_t ShownRunReportDate()
{
    return gShownOpened ? ShownRun().ended : std::time(nullptr);
}

std::optional<RunTarget> ChosenRunTarget()
{
    RunTarget target;
    if (gDVLastTabIndex == 2) {
        const VolumeRecord* volume = ChosenVolume();
        if (volume == nullptr || volume->devicePath.empty())
            return std::nullopt;
        target.isVolume = true;
        target.devicePath = volume->devicePath;
        target.name = volume->name;
        target.sizeLabel = volume->totalSizeLabel;
        target.sizeBytes = volume->totalBytes;
    } else {
        const DriveRecord* drive = ChosenDrive();
        if (drive == nullptr || drive->devicePath.empty())
            return std::nullopt;
        target.devicePath = drive->devicePath;
        target.name = drive->name;
        target.sizeLabel = drive->sizeLabel;
        target.sizeBytes = static_cast<uint64_t>(drive->sizeBytes);
    }
    target.identity = DriveIdentityFor(target.devicePath);
    return target;
}

void ShowOpenedRun(Run run)
{
    gShown = std::move(run);
    gShownOpened = true;
}

void ClearShownRun()
{
    gShown = Run{};
    gShownOpened = false;
}

void FollowRunUnderWay()
{
    const bool underWay = RunUnderWay();
    if (underWay) {
        ClearShownRun();
        gUnderWayTarget = ChosenRunTarget().value_or(RunTarget{});
        // The size measured through the node at Start, which a volume's record may round.
        gUnderWayTarget.sizeBytes = static_cast<uint64_t>(gDriveSizeInBytes64);
    }
    EnableRunChoices(!underWay);
}

const Run& ShowEndedRun()
{
    gShown = SnapshotOfModel(gUnderWayTarget);
    gShownOpened = false;
    return gShown;
}

void InstallShownRun()
{
    SetShownRunSource([]() -> const Run& { return ShownRun(); });
}
