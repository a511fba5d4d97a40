// The window's Start, Stop and clean-up, on real files under /dev/shm and on
// a loop device, with a fake window behind the launch interface; the
// start-time rules; and the worker thread: one test at a time, and a Stop that
// ends it also while it waits for the interface in a request. Whole runs and
// stops at random moments through the real window are in WindowRunTests.
#include "EngineFixture.h"
#include "LoopDevice.h"

#include "engine/DriveWatch.h"
#include "engine/LaunchChecks.h"
#include "engine/QueuedTransfers.h"
#include "engine/RunExecution.h"
#include "shell/WindowLaunch.h"
#include "shell/ResultPaneTexts.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <unistd.h>

namespace {
class FakeLaunch final : public LaunchInterface {
public:
    TestKind Kind() const override { return kind; }
    int32_t ZoneCount() const override { return 4; }
    int32_t CycleCount() const override { return 2; }
    std::string TransferSizeText() const override { return sizeText; }
    uint32_t QueueDepth() const override { return queueDepth; }
    std::optional<LaunchTarget> CurrentTarget() const override { return target; }
    int32_t UnmountTarget() override { ++unmounts; return 0; }
    int32_t RemountTarget() override { ++remounts; return remountStatus; }
    void ShowTestRunning(bool isRunning) override { running = isRunning; }
    void AllowStartStop(bool isEnabled) override { enabled = isEnabled; }
    void AllowSettingsChanges(bool visible) override { optionsVisible = visible; }
    void AllowSaving(bool) override {}
    void ShowNotBusy() override {}
    void AskToTestReadsOnly(const std::string& reason) override { readOnlySheets.push_back(reason); }
    void StartProgressDisplay(RunProgress&) override { timerRunning = true; }
    void StopProgressDisplay() override { timerRunning = false; }
    void RedrawResults() override {}
    void ShowErrorAlert(const std::string& message, const std::string& why) override { alerts.push_back(message + "|" + why); }
    void SetStatusText(const std::string& text) override { status = text; }
    std::string OtherDriveUsers(const std::string&) const override { return users ? users() : ""; }
    RunObserver& RunPresenter() override { return *presenter; }

    TestKind kind = TestKind::Standard;
    std::string sizeText = "1";
    uint32_t queueDepth = 1;
    std::optional<LaunchTarget> target;
    int32_t remountStatus = 0;
    int unmounts = 0, remounts = 0;
    bool running = false, enabled = true, optionsVisible = true, timerRunning = false;
    std::vector<std::string> alerts;
    std::string status;
    std::vector<std::string> readOnlySheets;  // the reason each gave
    std::function<std::string()> users;  // who else uses the drive, at each look
    RunObserver* presenter = nullptr;    // the window's, on the recording host
};

// A file under /dev/shm, removed afterwards. What the tests with writes leave
// on a device is checked on loop drives through the window (tests/shell).
struct ScratchFile {
    explicit ScratchFile(std::size_t bytes)
        : path("/dev/shm/kestrelia-launch-" + std::to_string(getpid()) + "-" + std::to_string(bytes))
    {
        RunCommand("truncate -s " + std::to_string(bytes) + " " + path);
    }
    ~ScratchFile() { unlink(path.c_str()); }
    const std::string path;
};

LaunchTarget Target(const std::string& path, bool isVolume = false, uint64_t maxSegmentBytes = 0)
{
    LaunchTarget target;
    target.devicePath = path;
    target.isVolume = isVolume;
    target.maxSegmentBytes = maxSegmentBytes;
    return target;
}

// Waits up to 30 s for what the worker brings about.
bool WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

size_t OpenDescriptorCount()
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

class TestLaunch : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        launch.presenter = &observer;
        descriptorsBefore = OpenDescriptorCount();
    }
    void TearDown() override
    {
        StopTestAndWait(launch);
        if (TestLaunchInProgress())
            CleanUpAfterTest(launch);
        RestoreDefaultQueuedTransferCalls();
        EngineFixture::TearDown();
    }

    void ExpectIdle()
    {
        EXPECT_FALSE(launch.running);
        EXPECT_TRUE(launch.enabled);
        EXPECT_TRUE(launch.optionsVisible) << "the options can be changed whenever no test runs";
        EXPECT_FALSE(TestWorkerExists());
        EXPECT_FALSE(TestLaunchInProgress());
        EXPECT_FALSE(bTestRunning.load());
        EXPECT_EQ(descriptorsBefore, OpenDescriptorCount()) << "the device is closed";
    }

    FakeLaunch launch;
    size_t descriptorsBefore = 0;
};

TEST_F(TestLaunch, EachRefusalShowsItsAlertAndReturnsToIdle)
{
    ScratchFile file(8 << 20);
    ScratchFile small(15 * 512);  // one sector short of what the random test needs
    const std::string tooSmall = std::string(kDriveTooSmallMessage) + "|" + kDriveTooSmallExplanation;
    const std::string missing = "/dev/shm/kestrelia-no-such-node";
    const std::string gone = "|" + missing + ": No such file or directory.";  // the alert says why
    const struct { std::string sizeText; TestKind kind; LaunchTarget target; std::string alert; uint32_t queueDepth = 1; } rows[] = {
        {"1a", TestKind::Standard, Target(file.path), "Transfer size must be whole number!|"},
        {"600", TestKind::Standard, Target(file.path),
         "Sorry: this transfer size is not supported.|Please enter a new size between 1 and 511 Megabytes."},
        {"1", TestKind::Standard, Target(file.path, false, 131072),
         "Sorry, the test drive will not accept transfers above 128 KiloBytes.| Try reducing the transfer size below this limit."},
        {"", TestKind::Standard, Target(file.path), tooSmall},
        {"3", TestKind::Standard, Target(file.path), tooSmall},  // the preflight needs 4 zones × 3 MB
        {"1", TestKind::Random, Target(small.path), tooSmall},
        {"1", TestKind::Standard, Target(missing), kDriveCannotOpenMessage + gone},
        {"1", TestKind::Standard, Target(missing, true), kVolumeCannotOpenMessage + gone},
        {"1", TestKind::Random, Target(file.path), std::string(kQueueDepthNeedsUringMessage) + "|", 32},  // without io_uring
    };
    gQueuedTransferCalls.available = [] { return false; };
    for (const auto& row : rows) {
        launch = FakeLaunch{};
        launch.presenter = &observer;
        launch.queueDepth = row.queueDepth;
        launch.sizeText = row.sizeText;
        launch.target = row.target;
        launch.kind = row.kind;
        StartOrStopTest(launch, false);
        EXPECT_EQ(std::vector<std::string>{row.alert}, launch.alerts) << row.sizeText << " " << row.target.devicePath;
        EXPECT_EQ(launch.status, kUnexpectedErrorStatus);
        EXPECT_EQ(launch.unmounts, 0);
        ExpectIdle();
    }
}

TEST_F(TestLaunch, ADriveThatIsNotWritableIsReadWithoutAskingWithTheSettingsOfItsStartAndAFailedRemountIsReported)
{
    ScratchFile file(8 << 20);
    launch.target = Target(file.path);
    launch.target->writable = false;
    launch.remountStatus = -5;
    StartOrStopTest(launch, false);
    EXPECT_EQ(launch.readOnlySheets.size() + launch.unmounts, 0u);
    // Settings changed while the run goes on are the next run's.
    launch.sizeText = "2";
    launch.kind = TestKind::Random;
    ASSERT_TRUE(WaitFor([&] { return host.finished > 0; }));
    HandleTestFinished(launch);
    const ::Run& run = WindowTestRun()->run;
    EXPECT_EQ(run.settings, (RunSettings{TestKind::Standard, 4, 2, 1, 1, false}));
    EXPECT_GT(run.zones[3].read.average, 0.0);
    EXPECT_EQ(run.zones[0].write.average, 0.0);
    EXPECT_EQ(std::vector<std::string>{std::string(kRemountFailedMessage) + "|" + kRemountFailedExplanation},
              launch.alerts);
    EXPECT_EQ(launch.status, kTestCompleteStatus);
    ExpectIdle();
}

// Stop in the pause after the writes of a random test on the smallest drive it
// accepts: the read speed stays shown, the other texts go, as those of the
// run before went at its Start.
TEST_F(TestLaunch, StoppingARandomTestKeepsTheReadSpeedAndClearsTheRest)
{
    ScratchFile file(16 * 512);
    launch.target = Target(file.path);
    launch.kind = TestKind::Random;
    host.SetStatusText(kReadCountText, "10000");  // shown for the run before
    StartOrStopTest(launch, false);
    EXPECT_TRUE(launch.timerRunning);
    EXPECT_FALSE(launch.optionsVisible);
    ASSERT_TRUE(WaitFor([] { return WindowTestRun()->progress.randomWrites.load() == 10000; }))
        << "the write phase's pause";
    StartOrStopTest(launch, false);
    // Stop answers at once; the clean-up follows the worker's notice.
    EXPECT_EQ(launch.status, kStoppingStatus);
    EXPECT_FALSE(launch.enabled);
    StartOrStopTest(launch, false);  // pressed again meanwhile: nothing
    ASSERT_TRUE(WaitFor([&] { return host.stopped + host.finished > 0; }));
    EXPECT_EQ(0, host.finished.load()) << "a stopped test posts no finished notice";
    HandleTestStopped(launch);
    EXPECT_EQ(launch.status, kTestCanceledStatus);
    EXPECT_FALSE(launch.timerRunning);
    EXPECT_EQ(WindowTestRun()->run.end, RunEnd::Stopped);
    ExpectIdle();
    const auto last = host.LastTexts();
    EXPECT_NE(last.at(kReadSpeedText).find_first_of("0123456789"), std::string::npos) << last.at(kReadSpeedText);
    for (const int32_t id : {kReadUnitText, kReadRateText, kReadCountText, kReadElapsedText})
        EXPECT_EQ(last.at(id), "") << id;
    EXPECT_EQ(host.TextsOf(kReadCountText), (std::vector<std::string>{"10000", "", ""}))
        << "cleared as the run starts and as it stops";
    HandleTestFinished(launch);  // a notice already on its way changes nothing after Stop
    EXPECT_EQ(launch.status, kTestCanceledStatus);
}

TEST_F(TestLaunch, AMountedDeviceIsNeverWrittenEvenWhenTheUnmountClaimsSuccess)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    LoopDevice loop(64 << 20, "--direct-io=on");
    ASSERT_TRUE(loop.attached()) << loop.error();
    std::string out;
    ASSERT_TRUE(MakeFileSystem("ext4", loop.node(), "launch", &out)) << out;
    // Mounted without journal replay or writes of its own, so only a test could change the device.
    TemporaryMount mount(loop.node(), "ro,noload");
    ASSERT_TRUE(mount.mounted()) << mount.error();
    const std::string before = loop.Checksum();

    launch.target = Target(loop.node());
    // The fake says it unmounted, but the file system is still there.
    StartOrStopTest(launch, false);
    EXPECT_EQ(launch.readOnlySheets.size(), 1u);
    EXPECT_EQ(launch.remounts, 1) << "mounted back before the sheet asks";
    CancelReadOnlyTest(launch);
    ExpectIdle();
    EXPECT_EQ(loop.Checksum(), before);
}

// Who else uses the drive is looked for with the write descriptor open, just
// before the test begins: named on the read-only sheet, nothing written. One
// that appears while the test runs stops it before its writes, named in an alert.
TEST_F(TestLaunch, AnotherUserOfTheDriveIsNamedBeforeTheFirstWriteAndStopsTheTestWhenItAppearsLater)
{
    ScratchFile file(16 * 512);
    std::string before, after;
    ASSERT_EQ(0, RunCommand("head -c 8192 /dev/urandom > " + file.path + " && cksum < " + file.path, &before));
    launch.target = Target(file.path);
    launch.kind = TestKind::Random;
    const std::string user = "/dev/sdx is in use by 4321 (dd).";
    launch.users = [&user] { return user; };
    StartOrStopTest(launch, false);
    EXPECT_EQ(launch.readOnlySheets, std::vector<std::string>{user});
    EXPECT_EQ(launch.remounts, 1) << "mounted back before the sheet asks";
    EXPECT_FALSE(TestWorkerExists());
    CancelReadOnlyTest(launch);
    ExpectIdle();

    // Nobody at the launch; then someone, at the look between the read and the write batch.
    std::atomic<int> looks{0};
    launch.users = [&] { return ++looks > 1 ? user : ""; };
    StartOrStopTest(launch, false);
    ASSERT_TRUE(WaitFor([&] { return host.finished > 0; }));
    HandleTestFinished(launch);
    EXPECT_EQ(looks.load(), 2);
    EXPECT_EQ(host.alerts, std::vector<std::string>{std::string(kDriveWatchStopMessage) + "\n" + user});
    EXPECT_EQ(launch.status, kTestCanceledStatus);
    EXPECT_GT(WindowTestRun()->run.random.readSpeed, 0.0);
    EXPECT_EQ(WindowTestRun()->run.random.writeSpeed, 0.0);
    ExpectIdle();
    RunCommand("cksum < " + file.path, &after);
    EXPECT_EQ(before, after);
}

// Start-time rules: the transfer size text and the largest transfer.
TEST(TransferSizeText, WholeNumbersAndTheirValue)
{
    // Empty passes the digit check and is refused later as too small; huge values cannot overflow
    // the size arithmetic.
    const struct { const char* text; bool whole; uint32_t megabytes; } rows[] = {
        {"", true, 0}, {"512", true, 512}, {"0007", true, 7}, {"99999999999999999999", true, 512},
        {"10.5", false, 10}, {" 4", false, 0}, {"-4", false, 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(row.whole, IsWholeNumberText(row.text)) << '"' << row.text << '"';
        EXPECT_EQ(row.megabytes, MegabytesFromText(row.text)) << '"' << row.text << '"';
    }
}

TEST(MaxTransfer, RefusalNamesTheLargestWholeUnit)
{
    const uint32_t mb = 1048576;
    const struct { uint64_t maxSegment; uint32_t transfer; const char* interfaceText; std::string message; } rows[] = {
        {4194304, 5 * mb, "SATA", "Sorry, the test drive will not accept transfers above 4 MegaBytes."},
        {4194304, 4 * mb, "SATA", ""},
        {1000, mb, "SATA", "Sorry, the test drive will not accept transfers above 1000 Bytes."},
        {131072, 511 * mb, "Software RAID 1 (md0)", ""},
        {0, 511 * mb, "NVMe", ""},
        {2147483647, 2147483647u + 1u, "SATA", ""},
        {2147483646, 2147483647u + 1u, "SATA",
         "Sorry, the test drive will not accept transfers above 2047 MegaBytes."},
    };
    for (const auto& row : rows) {  // no message: accepted
        const auto refusal = MaxTransferRefusal(row.maxSegment, row.transfer, row.interfaceText);
        EXPECT_EQ(row.message, refusal ? refusal->message : "") << row.maxSegment << " / " << row.transfer;
    }
}

// The worker thread, with an interface thread that answers no request until the waiting worker is released.
class BusyInterfaceHost final : public RecordingHost {
public:
    bool CallOnInterfaceThread(const std::function<void()>&, const StopRequest&) override
    {
        waiting = true;
        waiting.notify_all();
        released.wait(false);
        return false;
    }
    void ReleaseWaitingWorker() override
    {
        released = true;
        released.notify_all();
    }

    std::atomic<bool> waiting{false};
    std::atomic<bool> released{false};
};

TEST_F(TestLaunch, TheWorkerRunsOneTestAtATimeAndStopReleasesItWhileItWaitsForTheInterface)
{
    for (int round = 0; round < 20; ++round) {
        BusyInterfaceHost busy;
        WindowRunPresenter busyObserver(busy);
        Device(8 << 20);
        ASSERT_TRUE(PrepareStandard(4, 2, 1, true));
        ASSERT_TRUE(StartRunWorker(*testRun, busyObserver));
        EXPECT_TRUE(testRun->progress.running.load()) << "raised before the thread runs";
        EXPECT_FALSE(StartRunWorker(*testRun, busyObserver)) << "a second Start must not launch a second test";
        busy.waiting.wait(false);  // blocked in its first redraw
        RequestRunStop(*testRun);
        busy.ReleaseWaitingWorker();
        JoinRunWorker(*testRun);
        EXPECT_EQ(0, busy.finished.load());
        EXPECT_EQ(1, busy.stopped.load()) << "a worker that stopped on request says so";
        EXPECT_TRUE(device->log.empty()) << "no transfer after the stop";
    }
}

}  // namespace
