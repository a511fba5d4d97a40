// Start, Stop and the clean-up, on real files under /dev/shm and on a loop
// device, with a fake window behind the launch interface. Whole runs through
// the real window are tested on loop drives in tests/shell.
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
#include <map>
#include <random>
#include <thread>
#include <unistd.h>

namespace {
class FakeLaunch final : public LaunchInterface {
public:
    int32_t ZoneCount() const override { return zones; }
    int32_t CycleCount() const override { return 2; }
    std::string TransferSizeText() const override { return sizeText; }
    uint32_t QueueDepth() const override { return queueDepth; }
    std::optional<LaunchTarget> CurrentTarget() const override { return target; }
    int32_t UnmountTarget() override { ++unmounts; return 0; }
    int32_t RemountTarget() override { ++remounts; return remountStatus; }
    void SetStartButtonRunning(bool isRunning) override { running = isRunning; }
    void SetStartButtonEnabled(bool isEnabled) override { enabled = isEnabled; }
    void SetOptionsButtonVisible(bool visible) override { optionsVisible = visible; }
    void SetSaveMenuEnabled(bool) override {}
    void ShowArrowCursor() override {}
    void ShowReadOnlySheet() override { ++readOnlySheets; }
    void StartProgressTimer() override { timerRunning = true; }
    void StopProgressTimer() override { timerRunning = false; }
    void RedrawResults() override {}
    void ShowErrorAlert(const std::string& message, const std::string& explanation) override
    {
        alerts.push_back(message + "|" + explanation);
    }
    void SetStatusText(const std::string& text) override { status = text; }

    int32_t zones = 4;
    std::string sizeText = "1";
    uint32_t queueDepth = 1;
    std::optional<LaunchTarget> target;
    int32_t remountStatus = 0;
    int unmounts = 0, remounts = 0, readOnlySheets = 0;
    bool running = false, enabled = true, optionsVisible = true, timerRunning = false;
    std::vector<std::string> alerts;
    std::string status;
};

// A file of known bytes under /dev/shm, removed afterwards.
struct PatternFile {
    explicit PatternFile(std::size_t bytes) : original(bytes)
    {
        char name[] = "/dev/shm/kestrelia-launch-XXXXXX";
        const int fd = mkstemp(name);
        path = name;
        std::mt19937 random(7);
        for (auto& byte : original) byte = static_cast<unsigned char>(random());
        EXPECT_EQ(write(fd, original.data(), bytes), static_cast<ssize_t>(bytes));
        close(fd);
    }
    ~PatternFile() { unlink(path.c_str()); }
    bool Unchanged() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), {}) == original;
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

TEST_F(TestLaunch, EachRefusalShowsItsAlertAndReturnsToIdle)
{
    PatternFile file(8 << 20);
    PatternFile small(15 * 512);  // one sector short of what the random test needs
    const std::string tooSmall = std::string(kDriveTooSmallMessage) + "|" + kDriveTooSmallExplanation;
    const struct { std::string sizeText; int32_t zones, type; std::string path; bool isVolume; uint64_t maxSegment; std::string alert; uint32_t queueDepth = 1; } rows[] = {
        {"1a", 4, 1, file.path, false, 0, "Transfer size must be whole number!|"},
        {"600", 4, 1, file.path, false, 0,
         "Sorry: this transfer size is not supported.|Please enter a new size between 1 and 511 Megabytes."},
        {"1", 4, 1, file.path, false, 131072,
         "Sorry, the test drive will not accept transfers above 128 KiloBytes.| Try reducing the transfer size below this limit."},
        {"", 4, 1, file.path, false, 0, tooSmall},
        {"2", 5, 1, file.path, false, 0, tooSmall},  // the preflight needs 5 × 2 MB
        {"1", 4, 2, small.path, false, 0, tooSmall},
        {"1", 4, 1, "/dev/shm/kestrelia-no-such-node", false, 0, std::string(kDriveCannotOpenMessage) + "|"},
        {"1", 4, 1, "/dev/shm/kestrelia-no-such-node", true, 0, std::string(kVolumeCannotOpenMessage) + "|"},
        {"1", 4, 2, file.path, false, 0, std::string(kQueueDepthNeedsUringMessage) + "|", 32},  // without io_uring
    };
    gQueuedTransferCalls.available = [] { return false; };
    for (const auto& row : rows) {
        launch = FakeLaunch{};
        launch.queueDepth = row.queueDepth;
        launch.sizeText = row.sizeText;
        launch.zones = row.zones;
        gCurrentSelectedTestType = row.type;
        Target(row.path, row.isVolume);
        launch.target->maxSegmentBytes = row.maxSegment;
        DoStartButtonStuff(launch, false);
        EXPECT_EQ(std::vector<std::string>{row.alert}, launch.alerts) << row.sizeText << " " << row.path;
        EXPECT_EQ(launch.status, kUnexpectedErrorStatus);
        EXPECT_EQ(launch.unmounts, 0);
        ExpectIdle();
    }
}

TEST_F(TestLaunch, ADriveThatIsNotWritableIsReadWithoutAskingAndAFailedRemountIsReported)
{
    PatternFile file(8 << 20);
    Target(file.path);
    launch.target->writable = false;
    launch.remountStatus = -5;
    DoStartButtonStuff(launch, false);
    EXPECT_EQ(launch.readOnlySheets + launch.unmounts, 0);
    ASSERT_TRUE(RunToEnd());
    EXPECT_FALSE(gWriteTestEnabled);
    EXPECT_GT(gSavedREADResultsInfo[3].aveSpeedDbl, 0.0);
    EXPECT_EQ(gSavedWRITEResultsInfo[0].aveSpeedDbl, 0.0);
    EXPECT_EQ(std::vector<std::string>{std::string(kRemountFailedMessage) + "|" + kRemountFailedExplanation},
              launch.alerts);
    EXPECT_EQ(launch.status, kTestCompleteStatus);
    ExpectIdle();
}

// Stop in the pause after the writes of a random test on the smallest drive it
// accepts: the read speed stays shown, the other texts go, the counters are zeroed.
TEST_F(TestLaunch, StoppingARandomTestKeepsTheReadSpeedAndClearsTheRest)
{
    PatternFile file(16 * 512);
    Target(file.path);
    gCurrentSelectedTestType = 2;
    DoStartButtonStuff(launch, false);
    EXPECT_TRUE(launch.timerRunning);
    EXPECT_FALSE(launch.optionsVisible);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (gWriteCountIndexU32.load() < 10000 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(gWriteCountIndexU32.load(), 10000u) << "the write phase's pause";
    DoStartButtonStuff(launch, false);
    // Stop answers at once; the clean-up follows the worker's notice.
    EXPECT_EQ(launch.status, kStoppingStatus);
    EXPECT_FALSE(launch.enabled);
    DoStartButtonStuff(launch, false);  // pressed again meanwhile: nothing
    deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
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
    EXPECT_EQ(launch.status, kTestCanceledStatus);
    std::vector<std::string> statuses;
    for (const auto& [id, text] : host.texts)
        if (id == kStatusText)
            statuses.push_back(text);
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(statuses.begin(), statuses.begin() + 2),
              (std::vector<std::string>{"Test in Progress: Random Reads\u2026", "Test in Progress: Random Writes\u2026"}));
    EXPECT_FALSE(launch.timerRunning);
    EXPECT_EQ(gReadCountIndexU32.load() + gWriteCountIndexU32.load(), 0u);
    ExpectIdle();
    std::map<int32_t, std::string> last;
    for (const auto& [id, text] : host.texts)
        last[id] = text;
    EXPECT_NE(last[kReadSpeedText].find_first_of("0123456789"), std::string::npos) << last[kReadSpeedText];
    for (const int32_t id : {kReadUnitText, kReadRateText, kReadCountText, kReadElapsedText})
        EXPECT_EQ(last.at(id), "") << id;
    EXPECT_EQ(gSavedRandomReadSpeedDbl, 0.0);
    EXPECT_TRUE(file.Unchanged());
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

    Target(loop.node());
    // The fake says it unmounted, but the file system is still there.
    DoStartButtonStuff(launch, false);
    EXPECT_EQ(launch.readOnlySheets, 1);
    EXPECT_EQ(launch.remounts, 1) << "mounted back before the sheet asks";
    CancelReadOnlyTest(launch);
    ExpectIdle();
    EXPECT_EQ(loop.Checksum(), before);
}
}  // namespace
