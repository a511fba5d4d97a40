// What the Start/Stop button does: the checks before a test, opening the
// device, the worker's launch, Stop, and the clean-up after every test.
// The window's side of it (settings, the selected drive or volume, mounting,
// the controls) comes in through LaunchInterface, so this runs without any
// toolkit and the tests drive it with a fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The drive or volume a test addresses, as the selection describes it.
struct LaunchTarget {
    std::string devicePath;       // node opened for the test (/dev/sdb, /dev/sdb2, a file)
    bool isVolume = false;        // the Volumes tab: the volume's own node
    bool writable = true;         // the drive reports itself writable
    bool hasDrive = true;         // a drive record carries the target
    uint64_t maxSegmentBytes = 0; // largest transfer the drive accepts, 0 = no known limit
    std::string interfaceText;    // the drive's interface ("RAID" sets are not limited)
};

inline constexpr const char* kRemountFailedMessage = "Sorry, the tested volumes could not be mounted again.";
inline constexpr const char* kRemountFailedExplanation =
    " Mount them again from the Volumes tab or reconnect the drive.";

class LaunchInterface {
public:
    virtual ~LaunchInterface() = default;

    // Options sheet: zone popup, cycles popup and transfer-size text.
    virtual int32_t ZoneCount() const = 0;
    virtual int32_t CycleCount() const = 0;
    virtual std::string TransferSizeText() const = 0;
    // The random test's queue depth (1, 2, 4 ... 256).
    virtual uint32_t QueueDepth() const { return 1; }

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

    // Button 1 and the tabs: idle reads "Start" as the default button with the
    // tabs enabled; running reads "Stop" with the tabs disabled.
    virtual void SetStartButtonRunning(bool running) = 0;
    // Button 1 is disabled from Stop until the stopped worker has returned.
    virtual void SetStartButtonEnabled(bool enabled) = 0;
    virtual void SetOptionsButtonVisible(bool visible) = 0;
    virtual void SetSaveMenuEnabled(bool enabled) = 0;
    virtual void ShowArrowCursor() = 0;
    // The caution sheet asking whether to test reads only; its OK calls
    // DoStartButtonStuff(..., true), its Cancel CancelReadOnlyTest. reason
    // says what stands in the way ("" when UnmountTarget's refusal does).
    virtual void ShowReadOnlySheet(const std::string& reason) = 0;
    // Who else uses the drive that carries devicePath (processes, mounts in
    // other mount namespaces, the kernel), one sentence a line; "" for
    // nobody. Asked with the write descriptor open just before the test
    // begins, and on the worker between zones: it must not touch the window.
    virtual std::string OtherDriveUsers(const std::string& /*devicePath*/) const { return std::string(); }
    // The random test's 0.15-second progress timer.
    virtual void StartProgressTimer() = 0;
    virtual void StopProgressTimer() = 0;
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

inline constexpr const char* kNotEnoughMemoryMessage =
    "Sorry, there is not enough free RAM to perform this test.";
inline constexpr const char* kNotEnoughMemoryExplanation = "Try reducing the transfer size.";
inline constexpr const char* kDriveCannotOpenMessage = "Sorry, the currently selected drive cannot be opened.";
inline constexpr const char* kVolumeCannotOpenMessage = "Sorry, the currently selected volume cannot be opened.";
inline constexpr const char* kReadOnlySheetMessage = "Sorry, unable to unmount and open volume for write testing.";
inline constexpr const char* kReadOnlySheetExplanation = "Would you like to test read speeds only?";
inline constexpr const char* kWorkerNotStartedMessage = "Sorry, the test could not be started.";
inline constexpr const char* kWorkerNotStartedExplanation = " The system could not create the test's worker thread.";

// Start when no test runs, Stop while one runs. readOnly asks for reads only.
// Stop returns at once with the status "Stopping…" and button 1 disabled;
// the rest of it (results reset, clean-up, "Test Canceled") runs in
// HandleTestStopped once the worker has returned. Pressed again meanwhile, nothing.
void DoStartButtonStuff(LaunchInterface& launch, bool readOnly);

// The stopped worker's notice: finishes a Stop.
void HandleTestStopped(LaunchInterface& launch);

// Stops a running test and waits for its worker, then cleans up (the program's end).
void StopTestAndWait(LaunchInterface& launch);

// True from Stop until its clean-up has run.
bool TestStopPending();

// Restores the controls and the device after a test: closes the descriptors,
// stops the progress timer, mounts back what was unmounted.
void DoTestCleanup(LaunchInterface& launch);

// The test-finished notice arrived: the worker has ended by itself.
void HandleTestFinished(LaunchInterface& launch);

// The user answered Cancel on the read-only sheet.
void CancelReadOnlyTest(LaunchInterface& launch);

// True from Start until the clean-up: a test runs or waits for the read-only answer.
bool TestLaunchInProgress();
