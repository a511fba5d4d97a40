// kestrelia-cli end to end on loop devices and file systems the tests make:
// output paths never reach a device, stop signals at random moments end the
// run cleanly, bad targets are refused up front, failures say where, and
// files on 4096-byte-sector storage are measured with aligned transfers.
#include "LoopDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kCli = KESTRELIA_CLI_PATH;
constexpr uint64_t kDeviceBytes = 256ull << 20;

class CliRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string reason = LoopDevicesUnavailableReason(); !reason.empty())
            GTEST_SKIP() << reason;
        folder_ = "/dev/shm/kestrelia-cli-run-" + std::to_string(getpid());
        fs::create_directories(folder_);
    }
    void TearDown() override
    {
        for (const fs::path& point : mounts_)
            if (RunCommand("umount " + point.string()) == 0)
                fs::remove(point);
        if (!folder_.empty())
            fs::remove_all(folder_);
    }
    // A file system of that type (tmpfs, ramfs) mounted on a folder of the test.
    fs::path Mount(const std::string& type, const std::string& options)
    {
        const fs::path point = "/tmp/kestrelia-cli-run-" + type + "-" + std::to_string(getpid());
        fs::create_directories(point);
        std::string out;
        EXPECT_EQ(0, RunCommand("mount -t " + type + " -o " + options + " kestrelia " + point.string(), &out)) << out;
        mounts_.push_back(point);
        return point;
    }
    fs::path folder_;
    std::vector<fs::path> mounts_;
};

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(CliRun, SavedFilesNeverReachADevice)
{
    LoopDevice device(kDeviceBytes, "--direct-io=on");
    ASSERT_TRUE(device.attached()) << device.error();
    ASSERT_TRUE(device.FillWithPattern());
    const std::string before = device.Checksum();
    struct stat node {};
    ASSERT_EQ(0, stat(device.node().c_str(), &node));
    const fs::path link = folder_ / "link";
    fs::create_symlink(device.node(), link);
    const std::string& target = device.node();
    const std::string rows[] = {
        "--zones 2 --graph " + device.node() + " " + target,
        "--zones 2 --graph " + link.string() + " " + target,
        "--report " + device.node() + " " + target,
        "--write --report " + link.string() + " " + target,
        "--write --report " + device.node(),  // the forgotten file name
        "--report --zones 2 " + target,
        "--save-json " + link.string() + " " + target,
    };
    for (const std::string& arguments : rows) {
        std::string out;
        EXPECT_EQ(2, RunCommand(kCli + " " + arguments, &out)) << arguments;
        EXPECT_NE(std::string::npos, out.find("needs a file name")) << arguments << ": " << out;
    }
    struct stat after {};
    ASSERT_EQ(0, stat(device.node().c_str(), &after));
    EXPECT_TRUE(S_ISBLK(after.st_mode) && node.st_rdev == after.st_rdev && node.st_ino == after.st_ino);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(before, device.Checksum());
}

// Starts the program with its output in a file; returns its process id.
pid_t Start(const std::string& arguments, const fs::path& output, const std::string& environment = "")
{
    const std::string command = "exec env " + environment + " " + kCli + " " + arguments + " > " +
                                output.string() + " 2>&1";
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return -1;
    return pid;
}

TEST_F(CliRun, StopSignalsAtRandomMomentsEndTheRunCleanly)
{
    const struct {
        int signalNumber;
        int exitStatus;
        bool scratch;  // the default scratch-file run, else a write test on a loop device
        const char* options;
        int earliestMs;
        int latestMs;
    } rows[] = {
        {SIGINT, 130, true, "--zones 50 --cycles 50 --size 16", 200, 1500},
        // A scratch run on tmpfs reads its 40 GB in a few seconds: signal it well before its end.
        {SIGHUP, 143, true, "--zones 50 --cycles 50 --size 16", 1500, 3000},
        {SIGTERM, 143, false, "--write --zones 20 --cycles 50 --size 8", 200, 2500},
        {SIGINT, 130, false, "--write --test random", 200, 2000},
    };
    std::mt19937 random(std::random_device{}());
    for (const auto& row : rows) {
        const int delay = std::uniform_int_distribution<int>(row.earliestMs, row.latestMs)(random);
        SCOPED_TRACE(std::string(row.options) + ", signal " + std::to_string(row.signalNumber) + " after " +
                     std::to_string(delay) + " ms");
        const fs::path scratch = folder_ / "scratch";
        fs::create_directories(scratch);
        LoopDevice device(kDeviceBytes, "--direct-io=on");
        ASSERT_TRUE(device.attached()) << device.error();
        ASSERT_TRUE(device.FillWithPattern());
        const std::string before = device.Checksum();

        const fs::path output = folder_ / "out.txt";
        const pid_t pid = row.scratch ? Start(row.options, output, "TMPDIR=" + scratch.string())
                                      : Start(std::string(row.options) + " " + device.node(), output);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        ASSERT_EQ(0, kill(pid, row.signalNumber));
        int status = 0;
        ASSERT_EQ(pid, waitpid(pid, &status, 0));
        ASSERT_TRUE(WIFEXITED(status)) << ReadText(output);
        EXPECT_EQ(row.exitStatus, WEXITSTATUS(status)) << ReadText(output);
        EXPECT_NE(std::string::npos, ReadText(output).find("kestrelia-cli: stopped")) << ReadText(output);
        EXPECT_TRUE(fs::is_empty(scratch));
        EXPECT_EQ(before, device.Checksum());
        fs::remove_all(scratch);
    }
}

TEST_F(CliRun, BadTargetsAreRefusedFailuresSayWhereAndFourKiBSectorFilesAreMeasured)
{
    LoopDevice readOnly(kDeviceBytes, "-r");
    ASSERT_TRUE(readOnly.attached()) << readOnly.error();
    LoopDevice fourKiB(1300ull << 20, "--direct-io=on --sector-size 4096");
    ASSERT_TRUE(fourKiB.attached()) << fourKiB.error();
    std::string out;
    ASSERT_EQ(0, RunCommand("mkfs.ext4 -q " + fourKiB.node(), &out)) << out;
    const TemporaryMount ext4(fourKiB.node());
    ASSERT_TRUE(ext4.mounted()) << ext4.error();
    const fs::path ramfs = Mount("ramfs", "defaults");
    const fs::path small = Mount("tmpfs", "size=2M");
    RunCommand("truncate -s 64M " + (ramfs / "file").string() + " " + (small / "zones").string() + " " +
               (small / "random").string());
    const struct {
        const char* name;
        std::string command;
        int exitStatus;
        std::string message;
        std::string output;  // expected on standard output too, or empty
    } rows[] = {
        {"read-only device", kCli + " --write --zones 2 " + readOnly.node(), 2, "writes refused: the device is read-only", ""},
        {"no direct I/O", kCli + " --zones 2 " + (ramfs / "file").string(), 2, "direct I/O refused", ""},
        {"empty target", kCli + " ''", 2, "the target is an empty name", ""},
        {"full disk, zones", kCli + " --write --zones 3 " + (small / "zones").string(), 1,
         "the test failed: write failed at zone 3, cycle 1, sector ", ""},
        {"full disk, random", kCli + " --write --test random " + (small / "random").string(), 1,
         "the test failed: write failed at transfer ", "Reads:  "},
        {"scratch file on 4 KiB sectors", "TMPDIR=" + ext4.path() + " " + kCli + " --write --zones 7 --cycles 2 --size 3",
         0, "reads and writes", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.exitStatus, RunCommand(row.command, &out)) << row.name << ": " << out;
        EXPECT_NE(std::string::npos, out.find(row.message)) << row.name << ": " << out;
        EXPECT_NE(std::string::npos, out.find(row.output)) << row.name << ": " << out;
        if (row.exitStatus == 1) {
            EXPECT_NE(std::string::npos, out.find(": No space left on device (ENOSPC)\n")) << row.name << ": " << out;
        }
    }
    for (const auto& entry : fs::directory_iterator(ext4.path()))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find("kestrelia-scratch")) << entry.path();
}

}  // namespace
