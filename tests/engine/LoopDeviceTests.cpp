// kestrelia-cli on real loop devices: tests with writes leave every byte of
// the device as it was, on 512-byte and 4096-byte sector devices, and writes
// are refused while a file system on the device is mounted.
#include "LoopDevice.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kCli = KESTRELIA_CLI_PATH;
constexpr uint64_t kDeviceBytes = 1536ull << 20;

class CliOnLoopDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string reason = LoopDevicesUnavailableReason();
        if (!reason.empty())
            GTEST_SKIP() << reason;
    }
};

struct WriteRun {
    const char* name;
    const char* losetupOptions;
    const char* cliOptions;
};

TEST_F(CliOnLoopDevice, WriteTestsLeaveTheDeviceAsItWas)
{
    const WriteRun runs[] = {
        {"standard, 10 zones, 2 cycles", "--direct-io=on", "--zones 10 --cycles 2 --size 4"},
        {"standard, 1 zone, 16 MB", "--direct-io=on", "--zones 1 --cycles 2 --size 16"},
        {"random", "--direct-io=on", "--test random"},
        {"standard on 4096-byte sectors", "--direct-io=on --sector-size 4096", "--zones 7 --size 3"},
        // One at a time the 4096-byte sectors are the standard row's; queued, they are this one's.
        {"random at queue depth 32 on 4096-byte sectors", "--direct-io=on --sector-size 4096",
         "--test random --queue-depth 32"},
    };
    for (const WriteRun& run : runs) {
        SCOPED_TRACE(run.name);
        LoopDevice device(kDeviceBytes, run.losetupOptions);
        ASSERT_TRUE(device.attached()) << device.error();
        ASSERT_TRUE(device.FillWithPattern());
        const std::string before = device.Checksum();
        ASSERT_NE(std::string::npos, before.find(std::to_string(kDeviceBytes))) << before;
        std::string out;
        const int status =
            RunCommand(kCli + " --write --json " + run.cliOptions + " " + device.node(), &out);
        EXPECT_EQ(0, status) << out;
        const bool random = std::string(run.cliOptions).find("random") != std::string::npos;
        EXPECT_NE(std::string::npos, out.find(random ? "\"write_mbps\": " : "\"write\": {")) << out;
        if (std::string(run.cliOptions).find("--queue-depth 32") != std::string::npos) {
            EXPECT_NE(std::string::npos, out.find("\"queue_depth\": 32, \"read_latency_us\": ")) << out;
        }
        EXPECT_EQ(before, device.Checksum());
    }
}

TEST_F(CliOnLoopDevice, ReadOnlyTestReportsEveryZone)
{
    LoopDevice device(kDeviceBytes, "--direct-io=on");
    ASSERT_TRUE(device.attached()) << device.error();
    std::string out;
    ASSERT_EQ(0, RunCommand(kCli + " --json --zones 5 " + device.node(), &out)) << out;
    size_t zones = 0;
    for (size_t at = out.find("\"first_sector\""); at != std::string::npos;
         at = out.find("\"first_sector\"", at + 1))
        ++zones;
    EXPECT_EQ(5u, zones) << out;
    EXPECT_NE(std::string::npos, out.find("\"write\": null")) << out;
    // The last zone starts at the drive's last sector: 4 × (N ÷ 4).
    EXPECT_NE(std::string::npos, out.find("\"first_sector\": " + std::to_string(kDeviceBytes / 512))) << out;
}

TEST_F(CliOnLoopDevice, WritesAreRefusedUnderAMountedFileSystem)
{
    if (RunCommand("command -v sfdisk && command -v mkfs.ext4") != 0)
        GTEST_SKIP() << "sfdisk or mkfs.ext4 is not installed";
    LoopDevice device(kDeviceBytes, "--direct-io=on -P");
    ASSERT_TRUE(device.attached()) << device.error();
    std::string out;
    ASSERT_EQ(0, RunCommand("echo 'start=2048, type=83' | sfdisk -q " + device.node(), &out)) << out;
    const std::string partition = device.node() + "p1";
    if (!std::filesystem::exists(partition))
        RunCommand("partx -a " + device.node());
    ASSERT_TRUE(std::filesystem::exists(partition)) << "no partition node " << partition;
    ASSERT_EQ(0, RunCommand("mkfs.ext4 -q " + partition, &out)) << out;
    const std::filesystem::path mountPoint =
        std::filesystem::temp_directory_path() / ("kestrelia-mnt-" + std::to_string(::getpid()));
    std::filesystem::create_directories(mountPoint);
    ASSERT_EQ(0, RunCommand("mount " + partition + " " + mountPoint.string(), &out)) << out;
    ASSERT_EQ(0, RunCommand("echo kept > " + mountPoint.string() + "/file && sync", &out)) << out;
    const std::string before = device.Checksum();

    for (const std::string& target : {device.node(), partition}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(2, RunCommand(kCli + " --write --zones 3 " + target, &out)) << out;
        EXPECT_NE(std::string::npos, out.find("writes refused: the device is mounted or in use")) << out;
    }
    // Reading a mounted device is harmless and allowed.
    EXPECT_EQ(0, RunCommand(kCli + " --zones 3 " + partition, &out)) << out;
    EXPECT_EQ(before, device.Checksum());

    RunCommand("umount " + mountPoint.string());
    std::filesystem::remove(mountPoint);
}

// No device needed: bad input is refused before anything is opened.
TEST(CliInput, BadInputExitsWithStatusTwo)
{
    const std::string smallFile = "/tmp/kestrelia-small-" + std::to_string(::getpid());
    RunCommand("truncate -s 3M " + smallFile);
    struct Row {
        std::string arguments;
        std::string message;
    };
    const Row rows[] = {
        {"--zones 0", "zones"},
        {"--zones 51", "zones"},
        {"--cycles x", "cycles"},
        {"--size 512", "size"},
        {"--test random --queue-depth 3", "--queue-depth must be 1, 2, 4, 8, 16, 32, 64, 128 or 256"},
        {"--queue-depth 32 " + smallFile, "--queue-depth applies to the random test only"},
        {"/nonexistent/kestrelia", "i/o Error: No such file or directory"},
        {"--zones 2 --size 2 " + smallFile,
         "Sorry, the test drive is not big enough for the currently selected testing parameters."},
        {"--report /tmp " + smallFile, "--report: /tmp is a folder, not a file"},
    };
    for (const Row& row : rows) {
        std::string out;
        EXPECT_EQ(2, RunCommand(kCli + " " + row.arguments, &out)) << row.arguments;
        EXPECT_NE(std::string::npos, out.find(row.message)) << row.arguments << ": " << out;
    }
    ::unlink(smallFile.c_str());
}

TEST(CliReport, SavesTheReportInTheFormatItsNameAsksFor)
{
    const std::string target = "/dev/shm/kestrelia-report-target-" + std::to_string(::getpid());
    RunCommand("truncate -s 64M " + target);
    for (const std::string suffix : {".txt", ".xls"}) {
        const std::string report = "/tmp/kestrelia-report-" + std::to_string(::getpid()) + suffix;
        ASSERT_EQ(0, RunCommand(kCli + " --zones 3 --cycles 2 --report " + report + " " + target));
        std::string text;
        RunCommand("cat " + report, &text);
        EXPECT_EQ(0u, text.find("Kestrelia\xAA 2.0 Test Results\r")) << suffix;
        EXPECT_NE(std::string::npos, text.find("Test Drive Name: " + target + "\r"));
        EXPECT_NE(std::string::npos, text.find("Zone Count: 3\rCycle Count: 2\r"));
        EXPECT_NE(std::string::npos, text.find("Measurement Zone:\t3\r"));
        EXPECT_NE(std::string::npos, text.find(suffix == ".xls" ? "Cycle 2\t" : "Cycle 2: ")) << suffix;
        EXPECT_EQ(std::string::npos, text.find('\n'));
        ::unlink(report.c_str());
    }
    ::unlink(target.c_str());
}

}  // namespace
