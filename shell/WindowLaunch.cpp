#include "shell/WindowLaunch.h"

#include "engine/LaunchChecks.h"
#include "engine/RunExecution.h"
#include "engine/RunObserver.h"
#include "engine/TestRun.h"
#include "shell/InterfaceHost.h"
#include "shell/ResultPaneTexts.h"

#include <atomic>
#include <memory>

std::atomic<bool> bTestRunning{false};

namespace {
constexpr int32_t kVolumeGone = -35;

// The window's run: the one under way, or the last one until the next Start.
std::unique_ptr<TestRun> gRun;
// Between Start and the clean-up (also while the read-only question waits).
std::atomic<bool> gLaunchInProgress{false};
// Stop was pressed and the worker has not returned yet.
std::atomic<bool> gStopPending{false};

bool RandomRun()
{
    return gRun != nullptr && gRun->run.settings.kind == TestKind::Random;
}

// Back to idle after a refusal: its alert has been shown.
void Refuse(LaunchInterface& launch, const std::string& message, const std::string& explanation)
{
    if (!message.empty())
        launch.ShowErrorAlert(message, explanation);
    launch.ShowTestRunning(false);
    launch.AllowSettingsChanges(true);
    launch.SetStatusText(kUnexpectedErrorStatus);
    launch.RedrawResults();
    gLaunchInProgress = false;
}

// The settings of the options sheet as last accepted, or the refusal of the transfer-size text.
std::optional<RunSettings> SettingsForStart(const LaunchInterface& launch, bool readOnly, std::string* refusal)
{
    RunSettings settings;
    settings.writes = !readOnly;
    if (launch.Kind() == TestKind::Random) {
        settings.kind = TestKind::Random;
        settings.queueDepth = launch.QueueDepth();
        return settings;
    }
    const std::string sizeText = launch.TransferSizeText();
    if (!IsWholeNumberText(sizeText)) {
        *refusal = kTransferSizeNotWholeMessage;
        return std::nullopt;
    }
    settings.transferMegabytes = MegabytesFromText(sizeText);
    if (launch.Kind() == TestKind::Surface) {
        settings.kind = TestKind::Surface;
        settings.surfaceSpanBytes = launch.SurfaceSpanBytes();
        settings.surfaceMinutes = launch.SurfaceMinutes();
        return settings;
    }
    settings.zones = launch.ZoneCount();
    settings.cycles = launch.CycleCount();
    return settings;
}

// Mounts back what was unmounted; an alert names what could not be.
void RemountAfterTest(LaunchInterface& launch)
{
    const int32_t remounted = launch.RemountTarget();
    if (remounted != 0 && remounted != kVolumeGone)
        launch.ShowErrorAlert(kRemountFailedMessage, launch.RemountFailureExplanation());
}

void Launch(LaunchInterface& launch)
{
    if (RandomRun())
        ResetRandomTestResults();  // the last run's figures go
    launch.RedrawResults();
    bTestRunning = true;
    if (!StartRunWorker(*gRun, launch.RunPresenter())) {
        launch.ShowErrorAlert(kWorkerNotStartedMessage, kWorkerNotStartedExplanation);
        CleanUpAfterTest(launch);
        launch.SetStatusText(kUnexpectedErrorStatus);
        return;
    }
    if (RandomRun())
        launch.StartProgressDisplay(gRun->progress);
}

void Start(LaunchInterface& launch, bool readOnly)
{
    gLaunchInProgress = true;
    launch.ShowTestRunning(true);
    launch.AllowSettingsChanges(false);

    const std::optional<LaunchTarget> target = launch.CurrentTarget();
    if (!target) {
        Refuse(launch, kDriveCannotOpenMessage, "");
        return;
    }
    std::string textRefusal;
    const std::optional<RunSettings> settings = SettingsForStart(launch, readOnly, &textRefusal);
    if (!settings) {
        Refuse(launch, textRefusal, "");
        return;
    }
    LaunchSteps steps;
    steps.driveUsers = [&launch](const std::string& path) { return launch.OtherDriveUsers(path); };
    steps.unmount = [&launch] { return launch.UnmountTarget(); };
    steps.remount = [&launch] { RemountAfterTest(launch); };
    PreparedRun prepared = PrepareRun(*target, *settings, steps);
    if (prepared.refusal) {
        if (prepared.refusal->kind == RefusalKind::WritesRefused)
            launch.AskToTestReadsOnly(prepared.refusal->holders);
        else
            Refuse(launch, prepared.refusal->message, prepared.refusal->explanation);
        return;
    }
    gRun = std::move(prepared.run);
    Launch(launch);
}

// Stop answers at once: the worker is asked to stop and the clean-up waits
// for its notice, since a transfer under way cannot be cut short.
void Stop(LaunchInterface& launch)
{
    if (gStopPending.exchange(true))
        return;
    launch.SetStatusText(kStoppingStatus);
    launch.AllowStartStop(false);
    RequestRunStop(*gRun);
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ReleaseWaitingWorker();  // a worker waiting for the interface thread
}

// The worker has returned after Stop: its partial results go, then the clean-up.
void FinishStop(LaunchInterface& launch)
{
    JoinRunWorker(*gRun);
    if (RandomRun())
        ResetRandomTestResults();
    else
        ResetZoneTestResults();
    CleanUpAfterTest(launch);
    launch.AllowStartStop(true);
    launch.SetStatusText(kTestCanceledStatus);
    gStopPending = false;
}

bool RunUnderWay()
{
    return gRun != nullptr && (gRun->progress.running.load() || gRun->worker.joinable());
}
}  // namespace

void StartOrStopTest(LaunchInterface& launch, bool readOnly)
{
    if (gStopPending.load())
        return;  // Stop was pressed: the clean-up follows the worker's return
    if (RunUnderWay())
        Stop(launch);
    else
        Start(launch, readOnly);
}

void HandleTestStopped(LaunchInterface& launch)
{
    if (gStopPending.load())
        FinishStop(launch);
}

void StopTestAndWait(LaunchInterface& launch)
{
    if (!gStopPending.load() && !RunUnderWay())
        return;
    Stop(launch);
    FinishStop(launch);
}

bool TestStopPending()
{
    return gStopPending.load();
}

void CleanUpAfterTest(LaunchInterface& launch)
{
    if (RandomRun())
        launch.StopProgressDisplay();
    launch.AllowSettingsChanges(true);
    launch.ShowTestRunning(false);
    launch.AllowSaving(true);
    launch.ShowNotBusy();

    bTestRunning = false;
    if (gRun != nullptr) {
        gRun->CloseDescriptors();
        gRun->watch.Watch({});
    }
    // Runs after every test, whether or not anything was unmounted.
    RemountAfterTest(launch);
    gLaunchInProgress = false;
}

void HandleTestFinished(LaunchInterface& launch)
{
    // A notice that arrives after Stop has already cleaned up changes nothing.
    if (!gLaunchInProgress.load() || gRun == nullptr)
        return;
    // The test ended by itself just as Stop was pressed: it counts as stopped.
    if (gStopPending.load()) {
        FinishStop(launch);
        return;
    }
    JoinRunWorker(*gRun);
    const Run& run = gRun->run;
    // Someone else began to use the drive: the run was stopped, not failed by a transfer.
    const bool watchStopped = run.end == RunEnd::Failed && run.failure && run.failure->errorNumber == 0;
    CleanUpAfterTest(launch);
    launch.SetStatusText(watchStopped ? kTestCanceledStatus : kTestCompleteStatus);
}

void CancelReadOnlyTest(LaunchInterface& launch)
{
    CleanUpAfterTest(launch);
}

bool TestLaunchInProgress()
{
    return gLaunchInProgress.load();
}

bool TestWorkerExists()
{
    return gRun != nullptr && gRun->worker.joinable();
}

const TestRun* WindowTestRun()
{
    return gRun.get();
}
