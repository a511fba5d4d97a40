// kestrelia-cli --list shows a loop drive with its volumes; a write test on
// the unmounted drive or volume leaves every byte and file as it was.
#include "LoopDriveFixture.h"
#include "devices/MountControl.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <stdlib.h>

namespace {

const std::string kCli = KESTRELIA_CLI_PATH;
// The runs these tests make go to a history of the tests' own.
const int kHistoryAside = setenv("XDG_DATA_HOME", KESTRELIA_BINARY_DIR "/test-history", 1);

TEST_F(LoopDriveTest, CliListShowsTheDriveAndItsVolumes)
{
    std::string out;
    ASSERT_EQ(0, RunCommand(kCli + " --list", &out)) << out;
    const std::string name = drive().substr(5);
    EXPECT_NE(std::string::npos, out.find("Drives:\n")) << out;
    const std::size_t at = out.find(". Loop Device (" + name + ")\n");
    ASSERT_NE(std::string::npos, at) << out;
    const std::string entry = out.substr(at, out.find(". ", at + 2) - at);
    EXPECT_NE(std::string::npos, entry.find("Device:    " + drive() + "\n")) << entry;
    EXPECT_NE(std::string::npos, entry.find("Size:      1.500 Gigabytes (1610612736 bytes)\n")) << entry;
    EXPECT_NE(std::string::npos, entry.find("Interface: Loop:  File = " + device_->backingFile() + "\n")) << entry;
    EXPECT_NE(std::string::npos, entry.find("Volumes:   " + std::to_string(volumes_.size()) + "\n")) << entry;

    ASSERT_EQ(0, RunCommand(kCli + " --list --json", &out)) << out;
    EXPECT_NE(std::string::npos, out.find("\"device\": \"" + drive() + "\", \"size_bytes\": 1610612736")) << out;
    for (const LoopVolume& volume : volumes_) {
        SCOPED_TRACE(volume.type);
        const std::string head = "\"device\": \"" + volume.node + "\", \"mount_point\": \"" + volume.mount->path() +
                                 "\", \"type\": \"" + volume.type + "\", \"file_system\": \"Linux File System (" +
                                 volume.type + ")\"";
        EXPECT_NE(std::string::npos, out.find(head)) << out;
    }
}

// --write --unmount on the whole drive and on one volume: the volumes come
// back exactly and the device is unchanged byte for byte; without --unmount a
// mounted target is refused and left alone.
TEST_F(LoopDriveTest, CliWriteTestWithUnmountPutsEveryVolumeBack)
{
    MountVolumesReadOnly();
    const std::vector<std::string> mounts = DriveMounts(drive());
    const std::string checksum = device_->Checksum();
    struct Row {
        std::string options;
        std::string target;
        int status;
    };
    for (const Row& row : {Row{"--unmount", drive(), 0}, Row{"--unmount", volumes_[0].node, 0}, Row{"", drive(), 2}}) {
        SCOPED_TRACE(row.options + " " + row.target);
        std::string out;
        EXPECT_EQ(row.status, RunCommand(kCli + " --write --zones 5 --size 8 " + row.options + " " + row.target, &out))
            << out;
        EXPECT_EQ(mounts, DriveMounts(drive()));
        RunCommand("blockdev --flushbufs " + drive());
        EXPECT_EQ(checksum, device_->Checksum());
    }
    for (const LoopVolume& volume : volumes_)
        EXPECT_EQ("marker " + volume.type, MarkerOf(volume)) << volume.type;
}

// Stopped by SIGINT or SIGTERM mid-test, a run mounts back what it
// unmounted itself; killed, it leaves its state file, the next run mentions
// it and --remount-left mounts every volume back as it was.
TEST_F(LoopDriveTest, AStoppedOrKilledCliRunPutsEveryVolumeBack)
{
    MountVolumesReadOnly();
    const std::vector<std::string> mounts = DriveMounts(drive());
    const std::string checksum = device_->Checksum();
    char folder[] = "/dev/shm/kestrelia-cli-mounts-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(folder));
    const std::string env = std::string("KESTRELIA_RUN_DIR=") + folder + " ";
    for (const int signal : {SIGINT, SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal);
        const pid_t run = ::fork();
        if (run == 0) {
            ::setenv("KESTRELIA_RUN_DIR", folder, 1);
            ::freopen("/dev/null", "w", stdout);
            ::execl(kCli.c_str(), "kestrelia-cli", "--write", "--unmount", "--zones", "50", "--cycles", "50", "--size",
                    "16", drive().c_str(), nullptr);
            ::_exit(127);
        }
        std::string files;
        for (int wait = 0; wait < 200 && (files.empty() || !DriveMounts(drive()).empty()); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            RunCommand(std::string("ls ") + folder, &files);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));  // well into the test
        // udev keeps off: the whole drive is locked while the test runs.
        const int node = ::open(drive().c_str(), O_RDONLY);
        EXPECT_NE(0, ::flock(node, LOCK_EX | LOCK_NB));
        ::close(node);
        ::kill(run, signal);
        int status = 0;
        for (int wait = 0; wait < 400 && ::waitpid(run, &status, WNOHANG) == 0; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (::kill(run, 0) == 0) {
            ::kill(run, SIGKILL);
            ::waitpid(run, &status, 0);
            FAIL() << "the run did not stop on the signal";
        }
        EXPECT_EQ("unmounted-" + std::to_string(run) + "\n", files);
        std::string out;
        if (signal == SIGKILL) {
            ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before it could be killed";
            EXPECT_TRUE(DriveMounts(drive()).empty());
            RunCommand(env + kCli + " --zones 1 --size 1 " + folder + "/none", &out);
            EXPECT_NE(std::string::npos, out.find("kestrelia-cli --remount-left mounts them back")) << out;
            EXPECT_EQ(0, RunCommand(env + kCli + " --remount-left", &out)) << out;
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
        }
        EXPECT_EQ(mounts, DriveMounts(drive()));
        RunCommand(std::string("ls ") + folder, &files);
        EXPECT_EQ("", files);
        RunCommand("blockdev --flushbufs " + drive());
        EXPECT_EQ(checksum, device_->Checksum());
    }
    ::rmdir(folder);
}

}  // namespace

namespace {
// --save-json, --compare and --history on a loop drive, with the history in a
// folder of the test's own: the comparison per zone in the table and as
// "compared_with" in the JSON output, the saved document matching the schema.
TEST(CliHistory, SaveCompareAndListTheRunsOfADrive)
{
    if (const std::string reason = LoopDevicesUnavailableReason(); !reason.empty())
        GTEST_SKIP() << reason;
    LoopDevice device(64ull << 20, "");
    ASSERT_TRUE(device.attached()) << device.error();
    ASSERT_TRUE(device.FillWithPattern());
    const std::string before = device.Checksum();
    char folder[] = "/tmp/kestrelia-history-cli-XXXXXX";  // nothing is saved under /dev
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string env = std::string("env -u SUDO_UID -u PKEXEC_UID XDG_DATA_HOME=") + folder + "/data ";
    const std::string saved = std::string(folder) + "/first.json";
    std::string out;
    ASSERT_EQ(0, RunCommand(env + kCli + " --write --zones 3 --save-json " + saved + " " + device.node(), &out)) << out;
    ASSERT_EQ(0, RunCommand(env + kCli + " --zones 3 --compare " + saved + " " + device.node(), &out)) << out;
    EXPECT_NE(out.find("Compared with the run of "), std::string::npos) << out;
    EXPECT_NE(out.find("Zone  Earlier read  New read  Change"), std::string::npos) << out;
    ASSERT_EQ(0, RunCommand(env + kCli + " --zones 3 --json --compare " + saved + " " + device.node() + " 2>/dev/null",
                            &out)) << out;
    EXPECT_NE(out.find(", \"compared_with\": {\"file\": \"" + saved + "\""), std::string::npos) << out;
    EXPECT_NE(out.find("{\"zone\": 3, \"read\": {\"earlier_avg\": "), std::string::npos) << out;
    EXPECT_EQ(2, RunCommand(env + kCli + " --zones 4 --compare " + saved + " " + device.node(), &out));
    EXPECT_NE(out.find("3 zones, which cannot be compared"), std::string::npos) << out;

    ASSERT_EQ(0, RunCommand(env + kCli + " --history " + device.node(), &out)) << out;
    EXPECT_NE(out.find("(loop:" + device.backingFile() + "): 3 runs\n"), std::string::npos) << out;
    EXPECT_EQ(0, RunCommand(KESTRELIA_SOURCE_DIR "/tests/support/validate-run-documents " KESTRELIA_SOURCE_DIR
                            "/docs/run-document.schema.json " + saved, &out)) << out;
    EXPECT_EQ(device.Checksum(), before);
    RunCommand(std::string("rm -rf ") + folder);
}
}  // namespace
