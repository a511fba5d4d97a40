// kestrelia-cli on a loop drive with mounted volumes: --list shows them, a write
// test without --unmount is refused, and one with --unmount puts every volume
// back and every byte as it was, whether it ends, is stopped by a signal at a
// random moment (KESTRELIA_TEST_SEED gives the moments of a failed run back) or
// is killed (then --remount-left does). Stop signals end a scratch-file run
// cleanly too. Names that are no UTF-8 keep both listings valid.
#include "LoopDriveFixture.h"
#include "TestSeed.h"
#include "devices/DriveUsers.h"
#include "engine/DriveWatch.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/mount.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kCli = KESTRELIA_CLI_PATH;

// The reads (or writes) the kernel has completed on a device so far.
uint64_t ReadsDone(const std::string& node, bool writes = false)
{
    std::ifstream in("/sys/block/" + fs::path(node).filename().string() + "/stat");
    uint64_t reads = 0, merged = 0, sectors = 0, milliseconds = 0, written = 0;
    in >> reads >> merged >> sectors >> milliseconds >> written;
    return writes ? written : reads;
}

// The wait status of a run started here; one that has not ended after 20 s is killed.
int WaitForRun(pid_t run)
{
    int status = 0;
    for (int wait = 0; wait < 400 && waitpid(run, &status, WNOHANG) == 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (kill(run, 0) == 0) {
        kill(run, SIGKILL);
        waitpid(run, &status, 0);
        ADD_FAILURE() << "the run did not end";
    }
    return status;
}

// The loop drive shared by the tests below, its volumes mounted read-only (so
// that only a test writes), with its checksum as the suite first saw it, and
// scratch folders for the program's run state, scratch file and history.
class CliDrive : public SharedLoopDriveTest {
protected:
    void SetUp() override
    {
        SharedLoopDriveTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        MountVolumesReadOnly();
        if (checksum_.empty())
            checksum_ = device_->Checksum();
        mounts = DriveMounts(drive());
        fs::create_directories(folder / "state");
        fs::create_directories(folder / "scratch");
    }
    void TearDown() override
    {
        fs::remove_all(folder);
        SharedLoopDriveTest::TearDown();
    }
    static void TearDownTestSuite()
    {
        checksum_.clear();
        SharedLoopDriveTest::TearDownTestSuite();
    }
    // Every byte and volume as the suite found them.
    void ExpectDriveAsItWas()
    {
        RunCommand("blockdev --flushbufs " + drive());
        EXPECT_EQ(checksum_, device_->Checksum());
        for (const LoopVolume& volume : volumes_)
            EXPECT_EQ("marker " + volume.type, MarkerOf(volume)) << volume.type;
    }

    const fs::path folder = "/dev/shm/kestrelia-cli-device-" + std::to_string(getpid());
    const std::string env = "env KESTRELIA_RUN_DIR=" + (folder / "state").string() + " TMPDIR=" +
                            (folder / "scratch").string() + " XDG_DATA_HOME=" + (folder / "history").string() + " ";
    std::vector<std::string> mounts;

private:
    static inline std::string checksum_;
};

TEST_F(CliDrive, ListingsShowTheDriveWithItsVolumes)
{
    std::string out;
    ASSERT_EQ(0, RunCommand(kCli + " --list", &out)) << out;
    const std::size_t at = out.find(". Loop Device (" + drive().substr(5) + ")\n");
    ASSERT_NE(std::string::npos, at) << out;
    const std::string entry = out.substr(at, out.find(". ", at + 2) - at);
    const std::string lines[] = {"Device:    " + drive(), "Size:      1.500 Gigabytes (1610612736 bytes)",
                                 "Interface: Loop:  File = " + device_->backingFile(),
                                 "Volumes:   " + std::to_string(volumes_.size())};
    for (const std::string& line : lines)
        EXPECT_NE(std::string::npos, entry.find(line + "\n")) << entry;
    ASSERT_EQ(0, RunCommand(kCli + " --list --json", &out)) << out;
    EXPECT_NE(std::string::npos, out.find("\"device\": \"" + drive() + "\", \"size_bytes\": 1610612736")) << out;
    for (const LoopVolume& volume : volumes_) {
        EXPECT_NE(std::string::npos, entry.find(volume.node + ", Linux File System (" + volume.type + "), ")) << entry;
        EXPECT_NE(std::string::npos, out.find("\"device\": \"" + volume.node + "\", \"mount_point\": \"" +
                                              volume.mount->path() + "\", \"type\": \"" + volume.type +
                                              "\", \"file_system\": \"Linux File System (" + volume.type + ")\""))
            << out;
    }
}

// Without --unmount, writes to the drive or one of its mounted volumes are refused.
TEST_F(CliDrive, WritesToAMountedDriveOrVolumeAreRefused)
{
    for (const std::string& target : {drive(), volumes_[0].node}) {
        std::string out;
        EXPECT_EQ(2, RunCommand(env + kCli + " --write --zones 3 " + target, &out)) << out;
        EXPECT_NE(std::string::npos, out.find("writes refused: the device is mounted or in use")) << out;
    }
    EXPECT_EQ(mounts, DriveMounts(drive()));
}

// A write test with --unmount that ends, is stopped by a signal at a random moment
// or is killed: every volume back as it was (after a kill through --remount-left).
struct StopRow {
    const char* name;
    int signal;  // 0: the run ends by itself
    int exitStatus;
    const char* options;
    enum { Volume, Drive, ScratchFile } target;
    uint64_t reads;  // of the drive, after the unmount, before the delay
    int earliestMs;
    int latestMs;
};

class CliStop : public CliDrive, public ::testing::WithParamInterface<StopRow> {};

TEST_P(CliStop, PutsTheVolumesBack)
{
    const StopRow& row = GetParam();
    const int delay = DrawnBetween(row.earliestMs, row.latestMs, static_cast<uint32_t>(row.signal) * 31 + row.target);
    const std::string target = row.target == StopRow::Volume ? volumes_[0].node
                               : row.target == StopRow::Drive ? drive() : "";
    SCOPED_TRACE(std::string(row.options) + " " + target + ", signal " + std::to_string(row.signal) + " after " +
                 std::to_string(delay) + " ms (KESTRELIA_TEST_SEED=" + std::to_string(TestSeed()) + ")");
    const std::string command = "exec " + env + kCli + " " + row.options + (target.empty() ? "" : " --unmount ") +
                                target + " > " + (folder / "out").string() + " 2>&1";
    const pid_t run = fork();
    if (run == 0)
        _exit(execl("/bin/sh", "sh", "-c", command.c_str(), nullptr));
    const bool unmounts = !target.empty() && row.signal != 0;
    const uint64_t reads = ReadsDone(drive()) + row.reads;
    std::string files;
    for (int wait = 0; unmounts && wait < 200 &&
                       (files.empty() || !DriveMounts(drive()).empty() || ReadsDone(drive()) < reads);
         ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        RunCommand("ls " + (folder / "state").string(), &files);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    if (unmounts) {
        // udev keeps off: the whole drive is locked while the test runs.
        const int node = open(drive().c_str(), O_RDONLY);
        EXPECT_NE(0, flock(node, LOCK_EX | LOCK_NB));
        close(node);
        EXPECT_EQ("unmounted-" + std::to_string(run) + "\n", files);
    }
    kill(run, row.signal);  // 0 for the run that ends by itself: nothing is sent
    const int status = WaitForRun(run);
    std::ifstream in(folder / "out");
    std::string out(std::istreambuf_iterator<char>(in), {});
    if (row.signal == SIGKILL) {
        ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before it could be killed: " << out;
        EXPECT_TRUE(DriveMounts(drive()).empty());
        RunCommand(env + kCli + " --zones 1 --size 1 " + (folder / "none").string(), &out);
        EXPECT_NE(std::string::npos, out.find("kestrelia-cli --remount-left mounts them back")) << out;
        EXPECT_EQ(0, RunCommand(env + kCli + " --remount-left", &out)) << out;
    } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == row.exitStatus) << status << ": " << out;
        EXPECT_EQ(row.signal != 0, out.find("kestrelia-cli: stopped") != std::string::npos) << out;
    }
    EXPECT_EQ(mounts, DriveMounts(drive()));
    EXPECT_TRUE(fs::is_empty(folder / "state") && fs::is_empty(folder / "scratch"));
    if (!target.empty())
        ExpectDriveAsItWas();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CliStop,
    ::testing::Values(
        StopRow{"Ends", 0, 0, "--write --zones 5 --size 8", StopRow::Volume, 0, 0, 0},
        StopRow{"TermDuringZones", SIGTERM, 143, "--write --zones 50 --cycles 50 --size 16", StopRow::Drive, 0, 200, 2500},
        StopRow{"IntDuringZones", SIGINT, 130, "--write --zones 50 --cycles 50 --size 16", StopRow::Drive, 0, 200, 2500},
        // The random test's 10,000 reads take half a second here: these stops land in them.
        StopRow{"IntDuringRandom", SIGINT, 130, "--write --test random", StopRow::Drive, 500, 0, 200},
        StopRow{"TermDuringRandom", SIGTERM, 143, "--write --test random", StopRow::Drive, 500, 0, 200},
        StopRow{"Killed", SIGKILL, 0, "--write --zones 50 --cycles 50 --size 16", StopRow::Drive, 0, 200, 2500},
        // Not before the program has put its handlers in place, also on a loaded machine.
        StopRow{"IntScratchFile", SIGINT, 130, "--zones 50 --cycles 50 --size 16", StopRow::ScratchFile, 0, 500, 1500},
        // A scratch run on tmpfs reads its 40 GB in a few seconds: signal it well before its end.
        StopRow{"HupScratchFile", SIGHUP, 143, "--zones 50 --cycles 50 --size 16", StopRow::ScratchFile, 0, 1500, 3000}),
    [](const ::testing::TestParamInfo<StopRow>& info) { return std::string(info.param.name); });

// A mount point whose name is no UTF-8 (byte 0xE9) and holds a quote, and a btrfs label of 249
// bytes of Japanese and a quote: the JSON listing stays valid UTF-8 and JSON and
// keeps the whole label; the text listing shows UTF-8 as it is and escapes the other byte.
TEST_F(LoopDriveTest, CliListingsStayValidWhateverTheNames)
{
    if (RunCommand("command -v python3 && command -v btrfs") != 0)
        GTEST_SKIP() << "python3 or btrfs-progs is not installed";
    const auto btrfs = std::find_if(volumes_.begin(), volumes_.end(), [](const LoopVolume& v) { return v.type == "btrfs"; });
    if (btrfs == volumes_.end())
        GTEST_SKIP() << "btrfs cannot be made here";
    std::string label;
    for (int i = 0; i < 83; ++i)
        label += "\xE6\x97\xA5";
    ASSERT_EQ(0, RunCommand("umount " + btrfs->mount->path() + " && btrfs filesystem label " + btrfs->node + " '" +
                            label + "\"' && mount -o ro " + btrfs->node + " " + btrfs->mount->path()));
    const std::string folder = "/dev/shm/kestrelia-caf\xE9\"-" + std::to_string(getpid());
    ASSERT_EQ(0, RunCommand("umount " + volumes_[0].mount->path() + " && mkdir '" + folder + "' && mount " +
                            volumes_[0].node + " '" + folder + "'"));
    // The JSON listing as python3 read it as UTF-8 and JSON, else why not.
    std::string json, text;
    const int valid = RunCommand(kCli + " --list --json | python3 -c 'import json, sys; data = sys.stdin.buffer.read(); "
                                        "json.loads(data.decode(\"utf-8\")); sys.stdout.buffer.write(data)'", &json);
    RunCommand(kCli + " --list", &text);
    RunCommand("umount '" + folder + "'; rmdir '" + folder + "'");
    EXPECT_EQ(0, valid) << json;
    EXPECT_NE(std::string::npos, json.find("\"name\": \"" + label + "\\\"\"")) << json;
    EXPECT_NE(std::string::npos, json.find("\"mount_point\": \"/dev/shm/kestrelia-caf\xEF\xBF\xBD\\\"-")) << json;
    EXPECT_NE(std::string::npos, text.find("       " + label + "\": " + btrfs->node)) << text;
    EXPECT_NE(std::string::npos, text.find("mounted at /dev/shm/kestrelia-caf\\xE9\"-")) << text;
}

// A process with the drive open for writing, or the drive's volumes mounted
// in another mount namespace: the write test is refused before anything is
// unmounted, naming the process. A process that opens the drive while the
// test writes stops it before its next write. Every byte and mount as before.
TEST_F(LoopDriveTest, CliWritesOnlyWhileNobodyElseUsesTheDrive)
{
    MountVolumesReadOnly();
    const std::vector<std::string> mounts = DriveMounts(drive());
    const std::string checksum = device_->Checksum();
    const fs::path folder = "/dev/shm/kestrelia-cli-users-" + std::to_string(getpid());
    fs::create_directories(folder);
    const std::string run = "env KESTRELIA_RUN_DIR=" + folder.string() + " " + kCli + " --write --unmount ";
    // On btrfs, where files show other device numbers than mounts, when there is one.
    const auto btrfs = std::find_if(volumes_.begin(), volumes_.end(), [](const LoopVolume& v) { return v.type == "btrfs"; });
    const std::string volumeFolder = (btrfs == volumes_.end() ? volumes_[0] : *btrfs).mount->path();
    const struct {
        std::function<bool()> hold;
        std::string named;
    } rows[] = {
        {[this] { return open(drive().c_str(), O_RDWR) >= 0; }, drive() + " is in use by "},
        {[&volumeFolder] { return chdir(volumeFolder.c_str()) == 0; }, "The volume at " + volumeFolder + " is in use by "},
        {[] { return EnterMountNamespace(MS_PRIVATE); }, "The volume " + volumes_[0].node + " is mounted at " +
                                                             volumes_[0].mount->path() + " in the mount namespace of process "},
    };
    std::string out;
    for (const auto& row : rows) {
        const Holder user(row.hold);
        ASSERT_TRUE(user.held());
        EXPECT_EQ(2, RunCommand(run + "--zones 3 " + drive(), &out)) << out;
        EXPECT_NE(std::string::npos, out.find(row.named + DescribeProcess(user.pid()) + ".")) << out;
        EXPECT_EQ(mounts, DriveMounts(drive()));
    }

    const std::string command = "exec " + run + "--zones 50 --cycles 50 --size 16 " + drive() + " > " +
                                (folder / "out").string() + " 2>&1";
    const pid_t test = fork();
    if (test == 0)
        _exit(execl("/bin/sh", "sh", "-c", command.c_str(), nullptr));
    // Once the test writes (unmounting may write a block or two).
    const uint64_t writes = ReadsDone(drive(), true) + 64;
    for (int wait = 0; wait < 200 && ReadsDone(drive(), true) < writes; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const Holder opener([this] { return open(drive().c_str(), O_RDWR) >= 0; });
    const int status = WaitForRun(test);
    std::ifstream in(folder / "out");
    out.assign(std::istreambuf_iterator<char>(in), {});
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status << ": " << out;
    EXPECT_NE(std::string::npos, out.find(std::string(kDriveWatchStopMessage) + "\n" + drive() + " is in use by " +
                                          DescribeProcess(opener.pid()) + "."))
        << out;
    EXPECT_EQ(mounts, DriveMounts(drive()));
    RunCommand("blockdev --flushbufs " + drive());
    EXPECT_EQ(checksum, device_->Checksum());
    fs::remove_all(folder);
}

// FAT through fusefat and exFAT through exfat-fuse: a write test without
// --unmount is refused and names the volume, one with --unmount mounts them back
// through their helpers as they were, every byte as it was.
TEST_F(LoopDriveTest, CliWritesAroundFuseVolumesAndPutsThemBackThroughTheirHelpers)
{
    ServeFirstVolumesThroughFuse("ro", "ro");
    if (IsSkipped() || HasFatalFailure())
        return;
    const std::vector<std::string> mounts = DriveMounts(drive());
    ASSERT_EQ(volumes_.size(), mounts.size());
    const std::string checksum = device_->Checksum();
    const std::string state = "/dev/shm/kestrelia-cli-fuse-" + std::to_string(getpid());
    const std::string run = "KESTRELIA_RUN_DIR=" + state + " " + kCli + " --write --zones 3 --size 8 ";
    std::string out;
    EXPECT_EQ(2, RunCommand(run + volumes_[0].node, &out)) << out;  // fusefat does not claim it
    EXPECT_NE(std::string::npos, out.find(volumes_[0].node + " at " + volumes_[0].mount->path())) << out;
    EXPECT_EQ(0, RunCommand(run + "--unmount " + drive(), &out)) << out;
    EXPECT_EQ(mounts, DriveMounts(drive()));
    RunCommand("blockdev --flushbufs " + drive() + "; rmdir " + state);
    EXPECT_EQ(checksum, device_->Checksum());
}

// A btrfs file system over two drives is listed under both; a write test on
// the drive its mount does not name is refused naming that mount, and with
// --unmount puts it back.
TEST(CliMultiDeviceTest, BtrfsOverTwoDrivesIsListedUnderBothAndRefusalsNameItsMount)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    if (!FileSystemAvailable("btrfs"))
        GTEST_SKIP() << "btrfs cannot be made and mounted here";
    LoopDevice first(kLoopDriveBytes, ""), second(kLoopDriveBytes, "");
    ASSERT_TRUE(first.attached() && second.attached()) << first.error() << second.error();
    std::string out;
    ASSERT_EQ(0, RunCommand("mkfs.btrfs -q -f -d raid1 -m raid1 " + first.node() + " " + second.node(), &out)) << out;
    TemporaryMount mount(first.node(), "ro");
    ASSERT_TRUE(mount.mounted()) << mount.error();
    ASSERT_EQ(0, RunCommand(kCli + " --list", &out)) << out;
    for (const LoopDevice* drive : {&first, &second}) {
        const std::size_t at = out.find("Device:    " + drive->node() + "\n");
        ASSERT_NE(std::string::npos, at) << out;
        EXPECT_NE(std::string::npos, out.substr(at, out.find(". ", at) - at).find("mounted at " + mount.path())) << out;
    }
    const std::vector<std::string> mounts = DriveMounts(second.node());
    ASSERT_EQ(1u, mounts.size());
    const std::string checksum = second.Checksum();
    const std::string state = "/dev/shm/kestrelia-cli-btrfs-" + std::to_string(getpid());
    const std::string run = "KESTRELIA_RUN_DIR=" + state + " " + kCli + " --write --zones 3 --size 8 ";
    EXPECT_EQ(2, RunCommand(run + second.node(), &out)) << out;
    EXPECT_NE(std::string::npos, out.find(first.node() + " at " + mount.path())) << out;
    EXPECT_EQ(0, RunCommand(run + "--unmount " + second.node(), &out)) << out;
    EXPECT_EQ(mounts, DriveMounts(second.node()));
    EXPECT_EQ(checksum, second.Checksum());
    fs::remove_all(state);
}

}  // namespace
