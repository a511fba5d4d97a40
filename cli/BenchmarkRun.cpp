#include "cli/BenchmarkRun.h"

#include "cli/ConsoleHost.h"
#include "cli/ResultsOutput.h"
#include "cli/ScratchFile.h"
#include "engine/TestModel.h"
#include "engine/TestSetup.h"
#include "engine/TestWorker.h"
#include "engine/TransferBuffer.h"
#include "format/ErrorText.h"
#include "platform/RawDevice.h"

#include <atomic>
#include <cerrno>
#include <csignal>
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

// Installs the host for the length of the run.
struct InstalledHost {
    explicit InstalledHost(InterfaceHost* host) { SetInterfaceHost(host); }
    ~InstalledHost() { SetInterfaceHost(nullptr); }
};
}  // namespace

void RequestBenchmarkInterrupt()
{
    gInterrupted = 1;
}

int RunBenchmark(const CliOptions& options, std::ostream& out, std::ostream& err,
                 const std::function<std::string(const std::string& target)>& afterTest)
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
        if (!scratch.Create(kScratchFileBytes, &error)) {
            err << "kestrelia-cli: " << error << '\n';
            return kExitTestFailed;
        }
        target = scratch.path();
    }

    int errorNumber = 0;
    DeviceGeometry geometry;
    if (!QueryPathGeometry(target.c_str(), &geometry, &errorNumber))
        return badInput(target + ": " + ErrorText(errorNumber));

    if (options.randomTest)
        ApplyRandomTestSettings();
    else
        ApplyStandardTestSettings(options.zones, options.cycles, options.sizeMegabytes);
    ApplyTargetSize(geometry.sizeBytes);
    const bool bigEnough = options.randomTest ? DriveBigEnoughForRandomTest() : PrepareZonePlacement();
    if (!bigEnough)
        return badInput(target + ": " + kDriveTooSmallMessage);

    OpenDescriptors descriptors;
    gUnixReadFileRef = OpenRawForReading(target.c_str(), &errorNumber);
    if (gUnixReadFileRef < 0)
        return badInput(target + ": " + ErrorText(errorNumber));
    gDeviceBlockBytesU32 = geometry.logicalBlockBytes;

    gWriteTestEnabled = false;
    if (options.write) {
        gUnixWriteFileRef = OpenRawForWriting(target.c_str(), &errorNumber);
        if (gUnixWriteFileRef < 0) {
            const std::string why = errorNumber == EBUSY
                ? "writes refused: the device is mounted or in use (" + ErrorText(errorNumber) + ")"
                : "writes refused: " + ErrorText(errorNumber);
            return badInput(target + ": " + why);
        }
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
    gInterrupted = 0;
    if (!StartTestWorker()) {
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
            return kExitTestFailed;
        }
    }
    JoinFinishedTestWorker();
    host.EndProgress();

    const std::string alert = host.AlertMessage();
    const bool failed = !alert.empty() ||
                        (options.randomTest ? gSavedRandomReadSpeedDbl == 0.0 ||
                                                  (gWriteTestEnabled && gSavedRandomWriteSpeedDbl == 0.0)
                                            : !ZoneIsMeasured(0));
    if (failed) {
        err << "kestrelia-cli: " << target << ": the test failed"
            << (alert.empty() ? std::string(": a transfer failed") : ": " + alert) << '\n';
        return kExitTestFailed;
    }

    RunDescription run{target, geometry.sizeBytes, options.randomTest, gWriteTestEnabled, {}};
    if (afterTest)
        run.extraJsonMembers = afterTest(target);
    if (options.json)
        PrintResultsJson(out, run);
    else
        PrintResultsTable(out, run);
    return kExitDone;
}
