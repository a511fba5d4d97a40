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
        const std::string reason = LoopDevicesUnavailableReason();
        if (!reason.empty())
            GTEST_SKIP() << reason;
        folder_ = "/dev/shm/kestrelia-h15cli-" + std::to_string(getpid());
        fs::create_directories(folder_);
    }
    void TearDown() override
    {
        if (!folder_.empty()) {
            for (const fs::path& point : mounts_)
                if (RunCommand("umount " + point.string()) == 0)
                    fs::remove(point);
            fs::remove_all(folder_);
        }
    }
    // A file system of that type (tmpfs, ramfs) mounted on a folder of the test.
    fs::path Mount(const std::string& type, const std::string& options = "")
    {
        const fs::path point = fs::path("/tmp") / ("kestrelia-h15cli-" + type + "-" + std::to_string(getpid()));
        fs::create_directories(point);
        std::string out;
        EXPECT_EQ(0, RunCommand("mount -t " + type + (options.empty() ? "" : " -o " + options) + " h15cli " +
                                point.string(), &out)) << out;
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
    const fs::path link = fs::path("/tmp") / ("kestrelia-h15cli-link-" + std::to_string(getpid()));
    fs::create_symlink(device.node(), link);
    const std::string target = device.node();
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
    EXPECT_TRUE(S_ISBLK(after.st_mode));
    EXPECT_EQ(node.st_rdev, after.st_rdev);
    EXPECT_EQ(node.st_ino, after.st_ino);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(before, device.Checksum());
    fs::remove(link);
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

struct SignalRow {
    int signalNumber;
    int exitStatus;
    bool scratch;  // the default scratch-file run, else a write test on a loop device
    const char* options;
    int earliestMs;
    int latestMs;
};

TEST_F(CliRun, StopSignalsAtRandomMomentsEndTheRunCleanly)
{
    const SignalRow rows[] = {
        {SIGINT, 130, true, "--zones 50 --cycles 50 --size 16", 200, 1500},
        {SIGHUP, 143, true, "--zones 50 --cycles 50 --size 16", 1500, 8000},
        {SIGTERM, 143, false, "--write --zones 20 --cycles 50 --size 8", 200, 2500},
        {SIGINT, 130, false, "--write --test random", 200, 2000},
    };
    std::mt19937 random(std::random_device{}());
    for (const SignalRow& row : rows) {
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

struct RefusalRow {
    const char* name;
    std::string arguments;
    int exitStatus;
    std::string message;
    std::string output;  // expected on standard output too, or empty
};

TEST_F(CliRun, BadTargetsAreRefusedAndFailuresSayWhere)
{
    LoopDevice readOnly(kDeviceBytes, "-r");
    ASSERT_TRUE(readOnly.attached()) << readOnly.error();
    const fs::path ramfs = Mount("ramfs");
    const fs::path small = Mount("tmpfs", "size=2M");
    RunCommand("truncate -s 64M " + (ramfs / "file").string() + " " + (small / "zones").string() + " " +
               (small / "random").string());
    const RefusalRow rows[] = {
        {"read-only device", "--write --zones 2 " + readOnly.node(), 2, "writes refused: the device is read-only", ""},
        {"no direct I/O", "--zones 2 " + (ramfs / "file").string(), 2, "direct I/O refused", ""},
        {"empty target", "''", 2, "the target is an empty name", ""},
        {"full disk, zones", "--write --zones 3 " + (small / "zones").string(), 1,
         "the test failed: write failed at zone 3, cycle 1, sector ", ""},
        {"full disk, random", "--write --test random " + (small / "random").string(), 1,
         "the test failed: write failed at transfer ", "Reads:  "},
    };
    for (const RefusalRow& row : rows) {
        std::string out;
        EXPECT_EQ(row.exitStatus, RunCommand(kCli + " " + row.arguments, &out)) << row.name << ": " << out;
        EXPECT_NE(std::string::npos, out.find(row.message)) << row.name << ": " << out;
        EXPECT_NE(std::string::npos, out.find(row.output)) << row.name << ": " << out;
        if (row.exitStatus == 1) {
            EXPECT_NE(std::string::npos, out.find(": No space left on device (ENOSPC)\n")) << row.name << ": " << out;
        }
    }
}

TEST_F(CliRun, ScratchFileOnFourKiBSectorStorage)
{
    LoopDevice device(1300ull << 20, "--direct-io=on --sector-size 4096");
    ASSERT_TRUE(device.attached()) << device.error();
    std::string out;
    ASSERT_EQ(0, RunCommand("mkfs.ext4 -q " + device.node(), &out)) << out;
    const TemporaryMount mount(device.node());
    ASSERT_TRUE(mount.mounted()) << mount.error();
    EXPECT_EQ(0, RunCommand("TMPDIR=" + mount.path() + " " + kCli + " --write --zones 7 --cycles 2 --size 3", &out))
        << out;
    EXPECT_NE(std::string::npos, out.find("reads and writes")) << out;
    for (const auto& entry : fs::directory_iterator(mount.path()))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find("kestrelia-scratch")) << entry.path();
}

}  // namespace
