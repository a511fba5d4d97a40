#include "shell/ShownRun.h"

#include "devices/DriveIdentity.h"
#include "devices/DriveRecords.h"
#include "display/ControlLookup.h"
#include "display/ResultPanes.h"
#include "engine/ModelSnapshot.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
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
    if (QWidget* kind = display::FindControl(static_cast<QWidget*>(gMainWindowRef), "pgrp", 1))
        kind->setEnabled(enabled);
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
        if (gActiveVolume == nullptr || gActiveVolume->rawDevicePathCStr[0] == '\0')
            return std::nullopt;
        target.isVolume = true;
        target.devicePath = gActiveVolume->rawDevicePathCStr;
        target.name = gActiveVolume->volNameCStr;
        target.sizeLabel = gActiveVolume->totalSizeLabelCStr;
        target.sizeBytes = gActiveVolume->totalBytes64;
    } else {
        if (gActiveDrive == nullptr || gActiveDrive->devicePathCStr[0] == '\0')
            return std::nullopt;
        target.devicePath = gActiveDrive->devicePathCStr;
        target.name = gActiveDrive->driveNameCStr;
        target.sizeLabel = gActiveDrive->sizeLabelCStr;
        target.sizeBytes = static_cast<uint64_t>(gActiveDrive->sizeInBytes64);
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
