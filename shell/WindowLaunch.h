// The window's Start and Stop: a run prepared through the one launch path
// (engine/RunPreparation.h) and executed on its worker, Stop, and the clean-up
// after every test. The window's side of it (settings, the selected drive or
// volume, mounting, and how each state is shown) comes in through
// LaunchInterface (shell/QtLaunch), so this runs without any toolkit and the
// tests drive it with a fake.
#pragma once

#include "engine/RunPreparation.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

struct RunProgress;
class RunObserver;
class TestRun;

inline constexpr const char* kRemountFailedMessage = "Sorry, the tested volumes could not be mounted again.";
inline constexpr const char* kRemountFailedExplanation =
    " Mount them again from the Volumes tab or reconnect the drive.";

class LaunchInterface {
public:
    virtual ~LaunchInterface() = default;

    // The kind popup: the standard or the random zone test.
    virtual TestKind Kind() const = 0;
    // Options sheet: zone popup, cycles popup and transfer-size text.
    virtual int32_t ZoneCount() const = 0;
    virtual int32_t CycleCount() const = 0;
    virtual std::string TransferSizeText() const = 0;
    // The random test's queue depth (1, 2, 4 ... 256).
    virtual uint32_t QueueDepth() const { return 1; }
    // The surface test's span in bytes (0 = the whole target) and time limit in minutes (0 = none).
    virtual uint64_t SurfaceSpanBytes() const { return 0; }
    virtual uint32_t SurfaceMinutes() const { return 0; }

    // The selected drive or volume, or nothing when none is chosen.
    virtual std::optional<LaunchTarget> CurrentTarget() const = 0;

    // Before a write test: unmounts every volume of the drive (Drives tab) or
    // the volume itself (Volumes tab). 0, or -35 when a volume no longer
    // exists, means nothing is mounted any more; anything else is a failure.
    virtual int32_t UnmountTarget() = 0;
    // After every test: mounts back what was unmounted (and, on the Volumes
    // tab, selects the remounted volume again). 0, or -35 when there is
    // nothing left to mount; anything else is a failure the user is told of.
    virtual int32_t RemountTarget() = 0;
    // The explanation of the alert that follows a failed RemountTarget: which
    // volumes are not mounted back, and why.
    virtual std::string RemountFailureExplanation() const { return kRemountFailedExplanation; }

    // A test is under way (Start turns into Stop) or not.
    virtual void ShowTestRunning(bool running) = 0;
    // Start/Stop is not taken from Stop until the stopped worker has returned.
    virtual void AllowStartStop(bool allowed) = 0;
    // The settings cannot change while a test runs or waits for the read-only answer.
    virtual void AllowSettingsChanges(bool allowed) = 0;
    virtual void AllowSaving(bool allowed) = 0;
    virtual void ShowNotBusy() = 0;
    // Writes are impossible: asks whether to test reads only; yes calls
    // StartOrStopTest(..., true), no CancelReadOnlyTest. reason says what
    // stands in the way ("" when UnmountTarget's refusal does).
    virtual void AskToTestReadsOnly(const std::string& reason) = 0;
    // Who else uses the drive that carries devicePath (processes, mounts in
    // other mount namespaces, the kernel), one sentence a line; "" for
    // nobody. Asked around the open for writing, and on the worker between
    // zones: it must not touch the window.
    virtual std::string OtherDriveUsers(const std::string& /*devicePath*/) const { return std::string(); }
    // The random test's progress, shown every 0.15 seconds while it runs.
    virtual void StartProgressDisplay(RunProgress& progress) = 0;
    virtual void StopProgressDisplay() = 0;
    // Shows the events of each run; it outlives the run's worker.
    virtual RunObserver& RunPresenter() = 0;
    virtual void RedrawResults() = 0;
    // An error alert with its message and explanation (may be empty).
    virtual void ShowErrorAlert(const std::string& message, const std::string& explanation) = 0;
    // The main window's status text.
    virtual void SetStatusText(const std::string& text) = 0;
};

inline constexpr const char* kTestCompleteStatus = "Test Complete";
inline constexpr const char* kTestCanceledStatus = "Test Canceled";
inline constexpr const char* kStoppingStatus = "Stopping\u2026";
inline constexpr const char* kUnexpectedErrorStatus = "Unexpected Error During Test";

inline constexpr const char* kReadOnlySheetMessage = "Sorry, unable to unmount and open volume for write testing.";
inline constexpr const char* kReadOnlySheetExplanation = "Would you like to test read speeds only?";
inline constexpr const char* kWorkerNotStartedMessage = "Sorry, the test could not be started.";
inline constexpr const char* kWorkerNotStartedExplanation = " The system could not create the test's worker thread.";

// Start when no test runs, Stop while one runs. readOnly asks for reads only.
// Stop returns at once with the status "Stopping…" and Start/Stop not taken;
// the rest of it (results reset, clean-up, "Test Canceled") runs in
// HandleTestStopped once the worker has returned. Pressed again meanwhile, nothing.
void StartOrStopTest(LaunchInterface& launch, bool readOnly);

// The stopped worker's notice: finishes a Stop.
void HandleTestStopped(LaunchInterface& launch);

// Stops a running test and waits for its worker, then cleans up (the program's end).
void StopTestAndWait(LaunchInterface& launch);

// The window's run is under way: from its worker's start until its clean-up.
extern std::atomic<bool> bTestRunning;

// True from Stop until its clean-up has run.
bool TestStopPending();

// Restores the controls and the device after a test: closes the descriptors,
// stops the progress display, mounts back what was unmounted.
void CleanUpAfterTest(LaunchInterface& launch);

// The test-finished notice arrived: the worker has ended by itself.
void HandleTestFinished(LaunchInterface& launch);

// The user answered Cancel on the read-only sheet.
void CancelReadOnlyTest(LaunchInterface& launch);

// True from Start until the clean-up: a test runs or waits for the read-only answer.
bool TestLaunchInProgress();

// The window's worker exists (from Start until its end has been handled).
bool TestWorkerExists();

// The window's run under way, or its last one (settings as at its Start,
// results, how it ended) until the next Start; null before the first.
const TestRun* WindowTestRun();
