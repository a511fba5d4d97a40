#include "engine/TestLaunch.h"

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

// Back to idle after a refusal: its alert has been shown.
void Refuse(LaunchInterface& launch, const std::string& message, const std::string& explanation)
{
    if (!message.empty())
        launch.ShowErrorAlert(message, explanation);
    launch.SetStartButtonRunning(false);
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

// Opens the device for writing after unmounting what lies on it. False when
// writes are impossible (the read-only sheet then asks what to do).
bool OpenForWriting(LaunchInterface& launch, const LaunchTarget& target)
{
    const int32_t unmounted = launch.UnmountTarget();
    if (unmounted != 0 && unmounted != kVolumeGone)
        return false;
    int errorNumber = 0;
    gUnixWriteFileRef = OpenRawForWriting(target.devicePath.c_str(), &errorNumber);
    if (gUnixWriteFileRef < 0) {
        gUnixWriteFileRef = -1;
        return false;
    }
    std::memset(myIOBuffer, 0, gXFerBytesU32);
    return true;
}

void Launch(LaunchInterface& launch)
{
    if (gLaunchedRandomTest)
        ResetRandomTestResults();
    else
        gBarGraphWidth = BarWidthForZoneCount(gZoneTestCountS32);
    launch.SetOptionsButtonVisible(false);
    launch.RedrawResults();
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
        Refuse(launch, CannotOpenMessage(*target), "");
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
        Refuse(launch, CannotOpenMessage(*target), "");
        return;
    }
    if (!readOnly && !OpenForWriting(launch, *target)) {
        // Writes are impossible: the user chooses between reads only and nothing.
        CloseRawDescriptor(&gUnixReadFileRef);
        launch.ShowReadOnlySheet();
        return;
    }
    Launch(launch);
}

void Stop(LaunchInterface& launch)
{
    StopTestWorker();
    if (gLaunchedRandomTest)
        ResetRandomTestResults();
    else
        ResetZoneTestResults();
    DoTestCleanup(launch);
    launch.SetStatusText(kTestCanceledStatus);
}
}  // namespace

void DoStartButtonStuff(LaunchInterface& launch, bool readOnly)
{
    if (bTestRunning.load() || TestWorkerExists())
        Stop(launch);
    else
        Start(launch, readOnly);
}

void DoTestCleanup(LaunchInterface& launch)
{
    if (gLaunchedRandomTest) {
        launch.StopProgressTimer();
        gReadCountIndexU32 = 0;
        gWriteCountIndexU32 = 0;
    } else {
        launch.SetOptionsButtonVisible(true);
    }
    launch.SetStartButtonRunning(false);
    launch.SetSaveMenuEnabled(true);
    launch.ShowArrowCursor();

    bTestRunning = false;
    CloseRawDescriptor(&gUnixReadFileRef);
    CloseRawDescriptor(&gUnixWriteFileRef);

    // Runs after every test, whether or not anything was unmounted.
    const int32_t remounted = launch.RemountTarget();
    if (remounted != 0 && remounted != kVolumeGone)
        launch.ShowErrorAlert(kRemountFailedMessage, kRemountFailedExplanation);
    gLaunchInProgress = false;
}

void HandleTestFinished(LaunchInterface& launch)
{
    // A notice that arrives after Stop has already cleaned up changes nothing.
    if (!gLaunchInProgress.load())
        return;
    JoinFinishedTestWorker();
    DoTestCleanup(launch);
    launch.SetStatusText(kTestCompleteStatus);
}

void CancelReadOnlyTest(LaunchInterface& launch)
{
    DoTestCleanup(launch);
}

bool TestLaunchInProgress()
{
    return gLaunchInProgress.load();
}
