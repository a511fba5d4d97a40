#include "engine/TestLaunch.h"

#include "engine/DriveWatch.h"
#include "engine/LaunchChecks.h"
#include "engine/QueuedTransfers.h"
#include "engine/TestModel.h"
#include "engine/TestSetup.h"
#include "engine/TestWorker.h"
#include "engine/TransferBuffer.h"
#include "platform/RawDevice.h"

#include <atomic>
#include <cstring>

namespace {
constexpr int32_t kVolumeGone = -35;

// Between Start and the clean-up (also while the read-only sheet waits).
std::atomic<bool> gLaunchInProgress{false};
// What the clean-up must undo, fixed at Start.
bool gLaunchedRandomTest = false;
// Stop was pressed and the worker has not returned yet.
std::atomic<bool> gStopPending{false};

// Back to idle after a refusal: its alert has been shown.
void Refuse(LaunchInterface& launch, const std::string& message, const std::string& explanation)
{
    if (!message.empty())
        launch.ShowErrorAlert(message, explanation);
    launch.SetStartButtonRunning(false);
    launch.SetOptionsButtonVisible(true);
    launch.SetStatusText(kUnexpectedErrorStatus);
    launch.RedrawResults();
    gLaunchInProgress = false;
}

// Reads the options sheet into the model; a refusal message when the settings cannot be used.
std::optional<LaunchRefusal> ApplySettings(const LaunchInterface& launch)
{
    if (gCurrentSelectedTestType != 1) {
        // Never run silently at depth 1 what was asked for at a higher depth.
        const uint32_t depth = launch.QueueDepth();
        if (depth > 1 && !QueuedTransfersAvailable())
            return LaunchRefusal{kQueueDepthNeedsUringMessage, ""};
        ApplyRandomTestSettings(depth);
        return std::nullopt;
    }
    const std::string sizeText = launch.TransferSizeText();
    if (!IsWholeNumberText(sizeText))
        return LaunchRefusal{kTransferSizeNotWholeMessage, ""};
    const uint32_t megabytes = MegabytesFromText(sizeText);
    if (megabytes > kMaxTransferMegabytes)
        return LaunchRefusal{kTransferSizeUnsupportedMessage, kTransferSizeUnsupportedExplanation};
    ApplyStandardTestSettings(launch.ZoneCount(), launch.CycleCount(), megabytes);
    return std::nullopt;
}

// The largest-transfer check; the random test and drive-less volumes pass.
std::optional<LaunchRefusal> CheckMaxIOLimit(const LaunchTarget& target)
{
    if (gCurrentSelectedTestType != 1 || !target.hasDrive)
        return std::nullopt;
    return MaxTransferRefusal(target.maxSegmentBytes, gXFerBytesU32, target.interfaceText);
}

const char* CannotOpenMessage(const LaunchTarget& target)
{
    return target.isVolume ? kVolumeCannotOpenMessage : kDriveCannotOpenMessage;
}

// The alert's explanation: the node and why it could not be opened.
std::string CannotOpenExplanation(const LaunchTarget& target, int errorNumber)
{
    return target.devicePath + ": " + std::strerror(errorNumber) + ".";
}

// Mounts back what was unmounted; an alert names what could not be.
void RemountAfterTest(LaunchInterface& launch)
{
    const int32_t remounted = launch.RemountTarget();
    if (remounted != 0 && remounted != kVolumeGone)
        launch.ShowErrorAlert(kRemountFailedMessage, launch.RemountFailureExplanation());
}

// Opens the device for writing after unmounting what lies on it. False when
// writes are impossible (the read-only sheet then asks what to do), with
// *whyNot naming who else uses the drive when that is the reason.
bool OpenForWriting(LaunchInterface& launch, const LaunchTarget& target, std::string* whyNot)
{
    const int32_t unmounted = launch.UnmountTarget();
    if (unmounted != 0 && unmounted != kVolumeGone)
        return false;
    int errorNumber = 0;
    gUnixWriteFileRef = OpenRawForWriting(target.devicePath.c_str(), &errorNumber);
    if (gUnixWriteFileRef < 0) {
        gUnixWriteFileRef = -1;
        // A test that cannot write leaves nothing unmounted while it reads.
        RemountAfterTest(launch);
        return false;
    }
    // Whoever opened the drive after the unmount's check would lose writes.
    *whyNot = launch.OtherDriveUsers(target.devicePath);
    if (!whyNot->empty()) {
        CloseRawDescriptor(&gUnixWriteFileRef);
        RemountAfterTest(launch);
        return false;
    }
    std::memset(myIOBuffer, 0, gXFerBytesU32);
    return true;
}

void Launch(LaunchInterface& launch, const std::string& devicePath)
{
    if (gLaunchedRandomTest)
        ResetRandomTestResults();
    else
        gBarGraphWidth = BarWidthForZoneCount(gZoneTestCountS32);
    launch.RedrawResults();
    SetDriveWatch(gWriteTestEnabled ? DriveUsersLook([&launch, devicePath] { return launch.OtherDriveUsers(devicePath); })
                                    : DriveUsersLook());
    if (!StartTestWorker()) {
        launch.ShowErrorAlert(kWorkerNotStartedMessage, kWorkerNotStartedExplanation);
        DoTestCleanup(launch);
        launch.SetStatusText(kUnexpectedErrorStatus);
        return;
    }
    if (gLaunchedRandomTest)
        launch.StartProgressTimer();
}

void Start(LaunchInterface& launch, bool readOnly)
{
    gLaunchInProgress = true;
    launch.SetStartButtonRunning(true);
    // The options cannot change while a test runs or waits for the read-only answer.
    launch.SetOptionsButtonVisible(false);
    gWriteTestEnabled = !readOnly;

    const std::optional<LaunchTarget> target = launch.CurrentTarget();
    if (!target) {
        Refuse(launch, kDriveCannotOpenMessage, "");
        return;
    }
    if (const auto refusal = ApplySettings(launch)) {
        Refuse(launch, refusal->message, refusal->explanation);
        return;
    }
    gLaunchedRandomTest = gCurrentSelectedTestType != 1;

    ReleaseTransferBuffer();
    if (const auto refusal = CheckMaxIOLimit(*target)) {
        Refuse(launch, refusal->message, refusal->explanation);
        return;
    }
    if (!AllocateTransferBuffer(RequiredTransferBufferBytes())) {
        Refuse(launch, kNotEnoughMemoryMessage, kNotEnoughMemoryExplanation);
        return;
    }

    // The size and sector size of the node itself decide where transfers may go.
    DeviceGeometry geometry;
    int errorNumber = 0;
    if (!QueryPathGeometry(target->devicePath.c_str(), &geometry, &errorNumber)) {
        Refuse(launch, CannotOpenMessage(*target), CannotOpenExplanation(*target, errorNumber));
        return;
    }
    ApplyTargetSize(geometry.sizeBytes);
    gDeviceBlockBytesU32 = geometry.logicalBlockBytes;
    const bool bigEnough = gLaunchedRandomTest ? DriveBigEnoughForRandomTest() : PrepareZonePlacement();
    if (!bigEnough) {
        Refuse(launch, kDriveTooSmallMessage, kDriveTooSmallExplanation);
        return;
    }

    if (!target->isVolume && !target->writable) {
        readOnly = true;
        gWriteTestEnabled = false;
    }
    gUnixReadFileRef = OpenRawForReading(target->devicePath.c_str(), &errorNumber);
    if (gUnixReadFileRef < 0) {
        gUnixReadFileRef = -1;
        Refuse(launch, CannotOpenMessage(*target), CannotOpenExplanation(*target, errorNumber));
        return;
    }
    std::string whyNot;
    if (!readOnly && !OpenForWriting(launch, *target, &whyNot)) {
        // Writes are impossible: the user chooses between reads only and nothing.
        CloseRawDescriptor(&gUnixReadFileRef);
        launch.ShowReadOnlySheet(whyNot);
        return;
    }
    Launch(launch, target->devicePath);
}

// Stop answers at once: the worker is asked to stop and the clean-up waits
// for its notice, since a transfer under way cannot be cut short.
void Stop(LaunchInterface& launch)
{
    if (gStopPending.exchange(true))
        return;
    launch.SetStatusText(kStoppingStatus);
    launch.SetStartButtonEnabled(false);
    RequestTestWorkerStop();
}

// The worker has returned after Stop: its partial results go, then the clean-up.
void FinishStop(LaunchInterface& launch)
{
    JoinFinishedTestWorker();
    if (gLaunchedRandomTest)
        ResetRandomTestResults();
    else
        ResetZoneTestResults();
    DoTestCleanup(launch);
    launch.SetStartButtonEnabled(true);
    launch.SetStatusText(kTestCanceledStatus);
    gStopPending = false;
}
}  // namespace

void DoStartButtonStuff(LaunchInterface& launch, bool readOnly)
{
    if (gStopPending.load())
        return;  // Stop was pressed: the clean-up follows the worker's return
    if (bTestRunning.load() || TestWorkerExists())
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
    if (!gStopPending.load() && !(bTestRunning.load() || TestWorkerExists()))
        return;
    Stop(launch);
    StopTestWorker();
    FinishStop(launch);
}

bool TestStopPending()
{
    return gStopPending.load();
}

void DoTestCleanup(LaunchInterface& launch)
{
    if (gLaunchedRandomTest) {
        launch.StopProgressTimer();
        gReadCountIndexU32 = 0;
        gWriteCountIndexU32 = 0;
    }
    launch.SetOptionsButtonVisible(true);
    launch.SetStartButtonRunning(false);
    launch.SetSaveMenuEnabled(true);
    launch.ShowArrowCursor();

    bTestRunning = false;
    SetDriveWatch({});
    CloseRawDescriptor(&gUnixReadFileRef);
    CloseRawDescriptor(&gUnixWriteFileRef);

    // Runs after every test, whether or not anything was unmounted.
    RemountAfterTest(launch);
    gLaunchInProgress = false;
}

void HandleTestFinished(LaunchInterface& launch)
{
    // A notice that arrives after Stop has already cleaned up changes nothing.
    if (!gLaunchInProgress.load())
        return;
    // The test ended by itself just as Stop was pressed: it counts as stopped.
    if (gStopPending.load()) {
        FinishStop(launch);
        return;
    }
    JoinFinishedTestWorker();
    const bool watchStopped = DriveWatchStoppedTest();
    DoTestCleanup(launch);
    launch.SetStatusText(watchStopped ? kTestCanceledStatus : kTestCompleteStatus);
}

void CancelReadOnlyTest(LaunchInterface& launch)
{
    DoTestCleanup(launch);
}

bool TestLaunchInProgress()
{
    return gLaunchInProgress.load();
}
