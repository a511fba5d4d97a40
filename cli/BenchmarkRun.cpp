#include "cli/BenchmarkRun.h"

#include "cli/ConsoleHost.h"
#include "cli/HistoryOutput.h"
#include "cli/ResultsOutput.h"
#include "cli/RunMessages.h"
#include "cli/ScratchFile.h"
#include "devices/DriveUsers.h"
#include "engine/DriveWatch.h"
#include "devices/MountTable.h"
#include "engine/QueuedTransfers.h"
#include "engine/ModelSnapshot.h"
#include "engine/TestModel.h"
#include "engine/TestSetup.h"
#include "engine/TestWorker.h"
#include "engine/TransferBuffer.h"
#include "format/ErrorText.h"
#include "platform/RawDevice.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t gInterrupted = 0;

std::string ErrorText(int errorNumber)
{
    char text[256];
    SystemErrorToCStr(errorNumber, text);
    return text;
}

// Closes the test's descriptors however the run ends.
struct OpenDescriptors {
    ~OpenDescriptors()
    {
        CloseRawDescriptor(&gUnixReadFileRef);
        CloseRawDescriptor(&gUnixWriteFileRef);
    }
};

// Starts the worker with the stop signals blocked in it, so that they are
// always taken by the main thread, which stops the run.
bool StartWorkerWithoutSignals()
{
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&blocked, signalNumber);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    const bool started = StartTestWorker();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return started;
}

// Looks for new users of the drive between zones while the test writes.
struct WatchedDrive {
    explicit WatchedDrive(DriveUsersLook look) { SetDriveWatch(std::move(look)); }
    ~WatchedDrive() { SetDriveWatch({}); }
};

// Installs the host for the length of the run.
struct InstalledHost {
    explicit InstalledHost(InterfaceHost* host) { SetInterfaceHost(host); }
    ~InstalledHost() { SetInterfaceHost(nullptr); }
};

// 130 after SIGINT, 143 after SIGTERM or SIGHUP, 0 while no signal came.
int InterruptExitStatus()
{
    const int signalNumber = gInterrupted;
    if (signalNumber == 0)
        return 0;
    return signalNumber == SIGINT ? kExitInterrupted : kExitTerminated;
}
}  // namespace

void RequestBenchmarkInterrupt(int signalNumber)
{
    gInterrupted = signalNumber;
}

std::string TargetPathProblem(const CliOptions& options)
{
    const std::string& target = options.target;
    if (target.empty())
        return {};
    struct stat status {};
    if (stat(target.c_str(), &status) == 0)
        return S_ISDIR(status.st_mode) ? target + " is a folder, not a drive, volume or file" : std::string();
    // Told before --unmount asks for a drive or volume; other errors when the target is opened.
    if (errno != ENOENT)
        return {};
    return target + (target.rfind("/dev/", 0) == 0 ? ": the device node does not exist" : ": " + ErrorText(ENOENT));
}

int RunBenchmark(const CliOptions& options, std::ostream& out, std::ostream& err,
                 const std::function<std::string(const Run& run)>& afterTest)
{
    auto badInput = [&err](const std::string& message) {
        err << "kestrelia-cli: " << message << '\n';
        return kExitBadInput;
    };

    ScratchFile scratch;
    std::string target = options.target;
    if (target.empty()) {
        err << "No target given: measuring a 1 GiB scratch file in the temporary directory, "
               "removed afterwards.\n";
        std::string error;
        if (!scratch.Create(kScratchFileBytes, &error, [] { return gInterrupted != 0; })) {
            if (error.empty()) {
                err << "kestrelia-cli: stopped while filling the scratch file; it is removed.\n";
                return InterruptExitStatus();
            }
            err << "kestrelia-cli: " << error << '\n';
            return kExitTestFailed;
        }
        target = scratch.path();
    }

    int errorNumber = 0;
    DeviceGeometry geometry;
    if (!QueryPathGeometry(target.c_str(), &geometry, &errorNumber))
        return badInput(target + ": " + ErrorText(errorNumber));

    if (options.randomTest && options.queueDepth > 1 && !QueuedTransfersAvailable())
        return badInput(kQueueDepthNeedsUringMessage);
    if (options.randomTest)
        ApplyRandomTestSettings(options.queueDepth);
    else
        ApplyStandardTestSettings(options.zones, options.cycles, options.sizeMegabytes);
    ApplyTargetSize(geometry.sizeBytes);
    const bool bigEnough = options.randomTest ? DriveBigEnoughForRandomTest() : PrepareZonePlacement();
    if (!bigEnough)
        return badInput(target + ": " + kDriveTooSmallMessage);

    OpenDescriptors descriptors;
    gUnixReadFileRef = OpenRawForReading(target.c_str(), &errorNumber);
    if (gUnixReadFileRef < 0) {
        if (errorNumber == EINVAL)
            return badInput(target + ": direct I/O refused (" + ErrorText(errorNumber) +
                            "); reading through the page cache would time the cache, not the storage");
        return badInput(target + ": " + ErrorText(errorNumber));
    }
    gDeviceBlockBytesU32 = geometry.logicalBlockBytes;

    gWriteTestEnabled = false;
    if (options.write && DeviceIsReadOnly(gUnixReadFileRef))
        return badInput(target + ": writes refused: the device is read-only");
    // FUSE helpers and btrfs members do not always claim the device: their mounts are asked for.
    if (const std::string mounts = options.write ? DescribeMountsOn(target) : std::string(); !mounts.empty())
        return badInput(target + ": writes refused: the device is mounted or in use: " + mounts);
    // Who else uses the drive: asked before the exclusive open, which would
    // not say who, and again once it holds, for whoever came in between.
    const auto otherUsers = [&target] { return DescribeDriveUsers(FindDriveUsers(target)); };
    if (options.write) {
        if (const std::string users = otherUsers(); !users.empty())
            return badInput(target + ": writes refused, the drive is in use:\n" + users);
        gUnixWriteFileRef = OpenRawForWriting(target.c_str(), &errorNumber);
        if (gUnixWriteFileRef < 0) {
            const std::string why = errorNumber == EBUSY
                ? "writes refused: the device is mounted or in use (" + ErrorText(errorNumber) + ")"
                : "writes refused: " + ErrorText(errorNumber);
            return badInput(target + ": " + why);
        }
        if (const std::string users = otherUsers(); !users.empty())
            return badInput(target + ": writes refused, the drive is in use:\n" + users);
        gWriteTestEnabled = true;
    }

    if (!AllocateTransferBuffer(RequiredTransferBufferBytes())) {
        err << "kestrelia-cli: Sorry, there is not enough free RAM to perform this test.\n";
        return kExitTestFailed;
    }
    if (!options.randomTest)
        ResetZoneTestResults();
    else
        ResetRandomTestResults();

    ConsoleHost host(isatty(STDERR_FILENO) != 0 && !options.json);
    const InstalledHost installed(&host);
    const WatchedDrive watch(gWriteTestEnabled ? DriveUsersLook(otherUsers) : DriveUsersLook());
    if (const int status = InterruptExitStatus(); status != 0) {
        err << "kestrelia-cli: stopped before the test began.\n";
        return status;
    }
    if (!StartWorkerWithoutSignals()) {
        err << "kestrelia-cli: cannot start the test thread\n";
        return kExitTestFailed;
    }
    bool finished = false;
    while (!finished) {
        finished = host.WaitForFinish(std::chrono::milliseconds(150));
        host.ShowRandomProgress();
        if (!finished && gInterrupted) {
            StopTestWorker();
            host.EndProgress();
            err << "kestrelia-cli: stopped; every block written so far was put back.\n";
            return InterruptExitStatus();
        }
    }
    JoinFinishedTestWorker();
    host.EndProgress();
    // The one point where a stop is heeded once the test has ended: before it,
    // nothing of the run is kept; after it, every output is written and the
    // exit is 0, whatever signal comes meanwhile.
    if (const int stopped = InterruptExitStatus(); stopped != 0) {
        err << "kestrelia-cli: stopped as the test ended; the run is not kept.\n";
        return stopped;
    }

    // A random test whose writes failed still shows the reads it measured.
    const std::string failure = TransferFailureText();
    const std::string alert = host.AlertMessage();
    const bool readsMeasured = options.randomTest ? gSavedRandomReadSpeedDbl != 0.0 : ZoneIsMeasured(0);
    const bool writesMeasured = !gWriteTestEnabled || !options.randomTest || gSavedRandomWriteSpeedDbl != 0.0;
    const bool failed = !failure.empty() || !alert.empty() || !readsMeasured || !writesMeasured;
    if (readsMeasured) {
        const Run run = SnapshotOfModel(CliRunTarget(options, target, geometry.sizeBytes));
        const std::string extraJsonMembers = !failed && afterTest ? afterTest(run) : std::string();
        if (options.json)
            PrintResultsJson(out, run, extraJsonMembers);
        else
            PrintResultsTable(out, run);
        out.flush();  // the results are out before the graph and the report are drawn
    }
    if (failed) {
        const std::string why = !failure.empty() ? failure : !alert.empty() ? alert : "a transfer failed";
        err << "kestrelia-cli: " << target << ": the test failed: " << why << '\n';
        return kExitTestFailed;
    }
    return kExitDone;
}
