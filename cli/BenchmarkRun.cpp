#include "cli/BenchmarkRun.h"

#include "cli/ConsoleHost.h"
#include "cli/HistoryOutput.h"
#include "cli/ResultsOutput.h"
#include "cli/RunMessages.h"
#include "cli/ScratchFile.h"
#include "cli/SurfaceResultsOutput.h"
#include "devices/DriveUsers.h"
#include "devices/MountTable.h"
#include "engine/RunExecution.h"
#include "engine/RunPreparation.h"
#include "engine/TestRun.h"
#include "format/ErrorText.h"

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
    SystemErrorText(errorNumber, text);
    return text;
}

RunSettings SettingsOf(const CliOptions& options)
{
    RunSettings settings;
    settings.kind = options.randomTest ? TestKind::Random : options.surfaceTest ? TestKind::Surface : TestKind::Standard;
    settings.zones = options.zones;
    settings.cycles = options.cycles;
    settings.transferMegabytes = options.sizeMegabytes;
    settings.queueDepth = options.queueDepth;
    settings.writes = options.write;
    settings.surfaceSpanBytes = options.spanBytes;
    settings.surfaceMinutes = options.durationMinutes;
    return settings;
}

sigset_t StopSignals()
{
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stops, signalNumber);
    return stops;
}

}  // namespace

// The same launch path as the window's: the drive's users and the mounts on
// the target are refusals here, since the command line unmounts nothing itself.
PreparedRun PrepareCliRun(const CliOptions& options, const std::string& target)
{
    const RunTarget described = CliRunTarget(options, target, 0);
    LaunchTarget launchTarget;
    launchTarget.devicePath = described.devicePath;
    launchTarget.hasDrive = false;
    launchTarget.name = described.name;
    launchTarget.identity = described.identity;
    launchTarget.isVolume = described.isVolume;
    LaunchSteps steps;
    steps.driveUsers = [](const std::string& path) { return DescribeDriveUsers(FindDriveUsers(path)); };
    steps.mountsOn = [](const std::string& path) { return DescribeMountsOn(path); };
    return PrepareRun(launchTarget, SettingsOf(options), steps);
}

StopSignalsHeld::StopSignalsHeld()
{
    const sigset_t blocked = StopSignals();
    pthread_sigmask(SIG_BLOCK, &blocked, &previous_);
}

StopSignalsHeld::~StopSignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

bool StartWorkerWithoutSignals(TestRun& testRun, RunObserver& observer)
{
    const StopSignalsHeld held;
    return StartRunWorker(testRun, observer);
}

int InterruptExitStatus()
{
    const int signalNumber = gInterrupted;
    if (signalNumber == 0)
        return 0;
    return signalNumber == SIGINT ? kExitInterrupted : kExitTerminated;
}

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

    PreparedRun prepared = PrepareCliRun(options, target);
    if (const std::optional<Refusal>& refusal = prepared.refusal) {
        PrintRefusal(err, *refusal, target);
        return refusal->exitStatus;
    }
    TestRun& testRun = *prepared.run;

    ConsoleHost host(isatty(STDERR_FILENO) != 0 && !options.json);
    if (const int status = InterruptExitStatus(); status != 0) {
        err << "kestrelia-cli: stopped before the test began.\n";
        return status;
    }
    if (!StartWorkerWithoutSignals(testRun, host)) {
        err << "kestrelia-cli: cannot start the test thread\n";
        return kExitTestFailed;
    }
    bool finished = false;
    while (!finished) {
        finished = host.WaitForEnd(std::chrono::milliseconds(150));
        host.ShowProgress(testRun);
        if (!finished && gInterrupted) {
            RequestRunStop(testRun);
            JoinRunWorker(testRun);
            host.EndProgress();
            err << "kestrelia-cli: stopped; every block written so far was put back.\n";
            return InterruptExitStatus();
        }
    }
    JoinRunWorker(testRun);
    host.EndProgress();
    // The one point where a stop is heeded once the test has ended: before it,
    // nothing of the run is kept; after it, every output is written and the
    // exit is 0, whatever signal comes meanwhile. A later signal stays blocked
    // here and in the threads started from here on, and ends with the process:
    // handled, it would break off a write of the results waiting in a full
    // pipe (EINTR) and the rest of the output would be lost.
    const sigset_t stops = StopSignals();
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    if (const int stopped = InterruptExitStatus(); stopped != 0) {
        err << "kestrelia-cli: stopped as the test ended; the run is not kept.\n";
        return stopped;
    }

    return PresentEndedRun(options, testRun, target, out, err, afterTest);
}

void PrintRefusal(std::ostream& err, const Refusal& refusal, const std::string& target)
{
    // Memory is short whatever the target.
    err << "kestrelia-cli: " << (refusal.kind == RefusalKind::NoMemory ? "" : target + ": ") << refusal.detail << '\n';
}

int PresentEndedRun(const CliOptions& options, const TestRun& testRun, const std::string& target, std::ostream& out,
                    std::ostream& err, const std::function<std::string(const Run& run)>& afterTest)
{
    const Run& run = testRun.run;
    // A random test whose writes failed still shows the reads it measured.
    const std::string failure = TransferFailureText(testRun);
    const std::string alert = run.failure ? run.failure->message : std::string();
    const bool readsMeasured = run.HasResults();
    const bool writes = run.settings.writes;
    const bool writesMeasured = !writes || !options.randomTest || run.random.writeSpeed != 0.0;
    const bool failed = !failure.empty() || !alert.empty() || !readsMeasured || !writesMeasured;
    if (readsMeasured) {
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
    if (const uint64_t unreadable = run.surface.UnreadableSectors(); unreadable != 0) {
        err << "kestrelia-cli: " << target << ": " << unreadable << " sectors could not be read\n";
        return kExitTestFailed;
    }
    return kExitDone;
}
