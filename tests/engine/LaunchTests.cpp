// Start, Stop and the clean-up, on real files under /dev/shm and on loop
// devices, with a fake window behind the launch interface.
#include "EngineFixture.h"
#include "LoopDevice.h"

#include "engine/QueuedTransfers.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "engine/TestSetup.h"
#include "engine/TestWorker.h"
#include "engine/TransferBuffer.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <thread>
#include <unistd.h>

namespace {
class FakeLaunch final : public LaunchInterface {
public:
    int32_t ZoneCount() const override { return zones; }
    int32_t CycleCount() const override { return cycles; }
    std::string TransferSizeText() const override { return sizeText; }
    uint32_t QueueDepth() const override { return queueDepth; }
    std::optional<LaunchTarget> CurrentTarget() const override { return target; }
    int32_t UnmountTarget() override { ++unmounts; return unmountStatus; }
    int32_t RemountTarget() override { ++remounts; return remountStatus; }
    void SetStartButtonRunning(bool isRunning) override { running = isRunning; }
    void SetStartButtonEnabled(bool isEnabled) override { enabled = isEnabled; }
    void SetOptionsButtonVisible(bool visible) override { optionsVisible = visible; }
    void SetSaveMenuEnabled(bool enabled) override { saveEnabled = enabled; }
    void ShowArrowCursor() override {}
    void ShowReadOnlySheet() override { ++readOnlySheets; }
    void StartProgressTimer() override { timerRunning = true; }
    void StopProgressTimer() override { timerRunning = false; }
    void RedrawResults() override { ++redraws; }
    void ShowErrorAlert(const std::string& message, const std::string& explanation) override
    {
        alerts.push_back(message + "|" + explanation);
    }
    void SetStatusText(const std::string& text) override { status = text; }

    int32_t zones = 4;
    int32_t cycles = 2;
    std::string sizeText = "1";
    uint32_t queueDepth = 1;
    std::optional<LaunchTarget> target;
    int32_t unmountStatus = 0;
    int32_t remountStatus = 0;
    int unmounts = 0;
    int remounts = 0;
    int readOnlySheets = 0;
    int redraws = 0;
    bool running = false;
    bool enabled = true;
    bool optionsVisible = true;
    bool saveEnabled = false;
    bool timerRunning = false;
    std::vector<std::string> alerts;
    std::string status;
};

// A file of known bytes under /dev/shm, removed afterwards.
class PatternFile {
public:
    explicit PatternFile(std::size_t bytes)
    {
        char name[] = "/dev/shm/kestrelia-launch-XXXXXX";
        const int fd = mkstemp(name);
        path = name;
        std::mt19937 random(7);
        std::vector<unsigned char> data(bytes);
        for (auto& byte : data) byte = static_cast<unsigned char>(random());
        EXPECT_EQ(write(fd, data.data(), data.size()), static_cast<ssize_t>(data.size()));
        close(fd);
        original = std::move(data);
    }
    ~PatternFile() { unlink(path.c_str()); }
    bool Unchanged() const
    {
        std::ifstream in(path, std::ios::binary);
        const std::vector<unsigned char> now((std::istreambuf_iterator<char>(in)), {});
        return now == original;
    }
    std::string path;
    std::vector<unsigned char> original;
};

class TestLaunch : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        gUnixReadFileRef = -1;  // real descriptors only in these tests
        gUnixWriteFileRef = -1;
        gCurrentSelectedTestType = 1;
    }
    void TearDown() override
    {
        StopTestWorker();
        HandleTestStopped(launch);
        if (TestLaunchInProgress())
            DoTestCleanup(launch);
        gCurrentSelectedTestType = 1;
        RestoreDefaultQueuedTransferCalls();
        EngineFixture::TearDown();
    }

    void Target(const std::string& path, bool isVolume = false)
    {
        launch.target = LaunchTarget{};
        launch.target->devicePath = path;
        launch.target->isVolume = isVolume;
    }

    // Waits for the worker's finished notice and hands it to the launch, as the window does.
    bool RunToEnd()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            {
                const std::lock_guard lock(host.mutex);
                if (host.finished > 0)
                    break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (host.finished == 0)
            return false;
        HandleTestFinished(launch);
        return true;
    }

    void ExpectIdle()
    {
        EXPECT_FALSE(launch.running);
        EXPECT_TRUE(launch.enabled);
        EXPECT_TRUE(launch.optionsVisible) << "the options can be changed whenever no test runs";
        EXPECT_FALSE(TestWorkerExists());
        EXPECT_FALSE(TestLaunchInProgress());
        EXPECT_FALSE(bTestRunning.load());
        EXPECT_EQ(gUnixReadFileRef, -1);
        EXPECT_EQ(gUnixWriteFileRef, -1);
    }

    FakeLaunch launch;
};

TEST_F(TestLaunch, StandardTestWithWritesCompletesAndLeavesTheDataAsItWas)
{
    PatternFile file(64 << 20);
    Target(file.path);
    DoStartButtonStuff(launch, false);
    EXPECT_TRUE(launch.running);
    EXPECT_FALSE(launch.optionsVisible);
    EXPECT_EQ(launch.unmounts, 1);
    ASSERT_TRUE(RunToEnd());

    EXPECT_EQ(launch.status, kTestCompleteStatus);
    EXPECT_TRUE(launch.alerts.empty());
    EXPECT_TRUE(launch.optionsVisible);
    EXPECT_TRUE(launch.saveEnabled);
    EXPECT_EQ(launch.remounts, 1);
    ExpectIdle();
    for (int zone = 0; zone < 4; ++zone) {
        EXPECT_GT(gSavedREADResultsInfo[zone].aveSpeedDbl, 0.0) << zone;
        EXPECT_GT(gSavedWRITEResultsInfo[zone].aveSpeedDbl, 0.0) << zone;
    }
    EXPECT_EQ(gBarGraphWidth, 15);
    EXPECT_TRUE(file.Unchanged());
}

TEST_F(TestLaunch, RandomTestRunsItsProgressTimerUntilTheCleanUp)
{
    PatternFile file(16 << 20);
    Target(file.path);
    gCurrentSelectedTestType = 2;
    launch.sizeText = "not looked at";
    DoStartButtonStuff(launch, false);
    EXPECT_TRUE(launch.timerRunning);
    EXPECT_FALSE(launch.optionsVisible);
    ASSERT_TRUE(RunToEnd());
    EXPECT_FALSE(launch.timerRunning);
    EXPECT_EQ(launch.status, kTestCompleteStatus);
    std::vector<std::string> statuses;
    for (const auto& [id, text] : host.texts)
        if (id == kStatusText)
            statuses.push_back(text);
    EXPECT_EQ(statuses, (std::vector<std::string>{"Test in Progress: Random Reads\u2026",
                                                  "Test in Progress: Random Writes\u2026"}));
    EXPECT_GT(gSavedRandomReadSpeedDbl, 0.0);
    EXPECT_GT(gSavedRandomWriteSpeedDbl, 0.0);
    EXPECT_EQ(gReadCountIndexU32.load(), 0u);
    ExpectIdle();
    EXPECT_TRUE(file.Unchanged());
}

TEST_F(TestLaunch, EachRefusalShowsItsAlertAndReturnsToIdle)
{
    PatternFile file(8 << 20);
    struct Row {
        const char* name;
        std::string sizeText;
        int32_t zones;
        std::string path;
        bool isVolume;
        uint64_t maxSegment;
        std::string alert;
        uint32_t randomQueueDepth = 0;  // 0: the standard test
    };
    const Row rows[] = {
        {"letter in the size", "1a", 4, file.path, false, 0, "Transfer size must be whole number!|"},
        {"size past the largest", "600", 4, file.path, false, 0,
         "Sorry: this transfer size is not supported.|Please enter a new size between 1 and 511 Megabytes."},
        {"above the drive's limit", "1", 4, file.path, false, 131072,
         "Sorry, the test drive will not accept transfers above 128 KiloBytes.| Try reducing the "
         "transfer size below this limit."},
        {"empty size", "", 4, file.path, false, 0,
         std::string(kDriveTooSmallMessage) + "|" + kDriveTooSmallExplanation},
        {"drive too small", "2", 5, file.path, false, 0,
         std::string(kDriveTooSmallMessage) + "|" + kDriveTooSmallExplanation},
        {"missing drive", "1", 4, "/dev/shm/kestrelia-no-such-node", false, 0,
         std::string(kDriveCannotOpenMessage) + "|"},
        {"missing volume", "1", 4, "/dev/shm/kestrelia-no-such-node", true, 0,
         std::string(kVolumeCannotOpenMessage) + "|"},
        {"queue depth 32 without io_uring", "1", 4, file.path, false, 0,
         std::string(kQueueDepthNeedsUringMessage) + "|", 32},
    };
    gQueuedTransferCalls.available = [] { return false; };
    for (const Row& row : rows) {
        launch = FakeLaunch{};
        gCurrentSelectedTestType = row.randomQueueDepth > 0 ? 2 : 1;
        launch.queueDepth = row.randomQueueDepth;
        launch.sizeText = row.sizeText;
        launch.zones = row.zones;
        Target(row.path, row.isVolume);
        launch.target->maxSegmentBytes = row.maxSegment;
        DoStartButtonStuff(launch, false);
        ASSERT_EQ(launch.alerts.size(), 1u) << row.name;
        EXPECT_EQ(launch.alerts[0], row.alert) << row.name;
        EXPECT_EQ(launch.status, kUnexpectedErrorStatus) << row.name;
        EXPECT_EQ(launch.unmounts, 0) << row.name;
        ExpectIdle();
    }
}

TEST_F(TestLaunch, UnmountFailureAsksForReadsOnlyAndBothAnswersWork)
{
    PatternFile file(32 << 20);
    Target(file.path);
    launch.unmountStatus = -16;
    DoStartButtonStuff(launch, false);
    EXPECT_EQ(launch.readOnlySheets, 1);
    EXPECT_TRUE(launch.running);  // waits for the answer
    EXPECT_EQ(gUnixReadFileRef, -1);
    EXPECT_FALSE(TestWorkerExists());

    CancelReadOnlyTest(launch);
    ExpectIdle();
    EXPECT_EQ(launch.remounts, 1);

    DoStartButtonStuff(launch, false);
    EXPECT_EQ(launch.readOnlySheets, 2);
    DoStartButtonStuff(launch, true);  // OK: reads only
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(launch.status, kTestCompleteStatus);
    EXPECT_GT(gSavedREADResultsInfo[0].aveSpeedDbl, 0.0);
    EXPECT_EQ(gSavedWRITEResultsInfo[0].aveSpeedDbl, 0.0);
    ExpectIdle();
}

TEST_F(TestLaunch, ADriveThatIsNotWritableIsReadWithoutAsking)
{
    PatternFile file(32 << 20);
    Target(file.path);
    launch.target->writable = false;
    DoStartButtonStuff(launch, false);
    EXPECT_EQ(launch.readOnlySheets, 0);
    EXPECT_EQ(launch.unmounts, 0);
    ASSERT_TRUE(RunToEnd());
    EXPECT_FALSE(gWriteTestEnabled);
    EXPECT_EQ(gSavedWRITEResultsInfo[0].aveSpeedDbl, 0.0);
}

TEST_F(TestLaunch, AFailedRemountIsReportedAfterTheTest)
{
    PatternFile file(32 << 20);
    Target(file.path);
    launch.remountStatus = -5;
    DoStartButtonStuff(launch, false);
    ASSERT_TRUE(RunToEnd());
    ASSERT_EQ(launch.alerts.size(), 1u);
    EXPECT_EQ(launch.alerts[0], std::string(kRemountFailedMessage) + "|" + kRemountFailedExplanation);
    ExpectIdle();
}

TEST_F(TestLaunch, StopAtRandomMomentsCancelsAndLeavesTheDataIntact)
{
    PatternFile file(64 << 20);
    std::mt19937 random(42);
    int stops = 0;
    for (int round = 0; round < 12; ++round) {
        host.finished = 0;
        launch = FakeLaunch{};
        launch.zones = 10;
        launch.cycles = 5;
        Target(file.path);
        gCurrentSelectedTestType = round % 2 == 0 ? 1 : 2;
        DoStartButtonStuff(launch, false);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        if (!TestWorkerExists() && !bTestRunning.load()) {
            HandleTestFinished(launch);  // finished before Stop could be pressed
            continue;
        }
        DoStartButtonStuff(launch, false);
        ++stops;
        // Stop answers at once; the clean-up follows the worker's notice.
        EXPECT_EQ(launch.status, kStoppingStatus) << round;
        EXPECT_FALSE(launch.enabled);
        DoStartButtonStuff(launch, false);  // pressed again meanwhile: nothing
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            {
                const std::lock_guard lock(host.mutex);
                if (host.stopped + host.finished > 0 || std::chrono::steady_clock::now() > deadline)
                    break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        HandleTestStopped(launch);
        HandleTestFinished(launch);  // ended by itself just as Stop came: canceled all the same
        host.stopped = 0;
        EXPECT_EQ(launch.status, kTestCanceledStatus) << round;
        ExpectIdle();
        EXPECT_EQ(launch.remounts, 1);
        EXPECT_FALSE(launch.timerRunning);
        if (gCurrentSelectedTestType == 1) {
            EXPECT_EQ(gSavedREADResultsInfo[0].aveSpeedDbl, 0.0) << round;
        }
        // A finished notice already on its way is ignored after Stop.
        HandleTestFinished(launch);
        EXPECT_EQ(launch.status, kTestCanceledStatus) << round;
    }
    EXPECT_GE(stops, 6);  // every random test is still running when Stop comes
    EXPECT_TRUE(file.Unchanged());
}

TEST_F(TestLaunch, AMountedDeviceIsNeverWrittenEvenWhenTheUnmountClaimsSuccess)
{
    const std::string reason = LoopDevicesUnavailableReason();
    if (!reason.empty())
        GTEST_SKIP() << reason;
    LoopDevice loop(64 << 20, "--direct-io=on");
    ASSERT_TRUE(loop.attached()) << loop.error();
    ASSERT_EQ(RunCommand("mkfs.ext4 -q -F " + loop.node()), 0);
    char directory[] = "/tmp/kestrelia-mount-XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    // Mounted without journal replay or writes of its own, so only a test could change the device.
    ASSERT_EQ(RunCommand("mount -o ro,noload " + loop.node() + " " + directory), 0);
    const std::string before = loop.Checksum();

    Target(loop.node());
    launch.unmountStatus = 0;  // says it unmounted, but the file system is still there
    DoStartButtonStuff(launch, false);
    EXPECT_EQ(launch.readOnlySheets, 1);
    EXPECT_EQ(launch.remounts, 1) << "mounted back before the sheet asks";
    CancelReadOnlyTest(launch);
    ExpectIdle();

    RunCommand(std::string("umount ") + directory);
    rmdir(directory);
    EXPECT_EQ(loop.Checksum(), before);
}
}  // namespace
