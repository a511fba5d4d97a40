#include "shell/ShownRun.h"

#include "devices/DriveIdentity.h"
#include "devices/DriveRecords.h"
#include "display/ResultPanes.h"
#include "engine/TestRun.h"
#include "shell/MainWindow.h"
#include "shell/RunHistoryWindow.h"
#include "shell/Selection.h"
#include "shell/WindowLaunch.h"
#include "shell/Windows.h"

#include <QComboBox>
#include <QWidget>

namespace {
Run gShown;
bool gShownOpened = false;

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
    // The worker writes each value whole; a redraw sees each old or new.
    if (const TestRun* underWay = WindowTestRun())
        return underWay->run;
    static const Run kNoRun;
    return kNoRun;
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

TestKind NextRunKind()
{
    const MainWindow* window = TheMainWindow();
    switch (window != nullptr ? window->ui.testKindPopup->currentIndex() : 0) {
    case 1:
        return TestKind::Random;
    case 2:
        return TestKind::Surface;
    default:
        return TestKind::Standard;
    }
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
    if (underWay)
        ClearShownRun();
    EnableRunChoices(!underWay);
    InsertSizeIncrements();
}

const Run& ShowEndedRun()
{
    if (const TestRun* ended = WindowTestRun())
        gShown = ended->run;
    gShownOpened = false;
    return gShown;
}

void InstallShownRun()
{
    SetShownRunSource([]() -> const Run& { return ShownRun(); });
}
