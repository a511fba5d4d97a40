// kestrelia-cli on real loop devices: tests with writes leave every byte of
// the device as it was; bad input and the report files. Writes refused under
// a mounted file system are tested with the CLI on a loop drive (tests/cli).
#include "LoopDevice.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kCli = KESTRELIA_CLI_PATH;
constexpr uint64_t kDeviceBytes = 256ull << 20;

// 512-byte-sector drives with writes are tested through the window; the CLI
// runs here on 4096-byte sectors, where positions are rounded to blocks.
TEST(CliOnLoopDevice, TestsLeaveTheDeviceAsItWas)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    const std::string lastZone = "\"first_sector\": " + std::to_string(kDeviceBytes / 512);  // 4 × (N ÷ 4)
    const struct { const char* losetup; const char* options; std::vector<std::string> expected; } runs[] = {
        {"--sector-size 4096", "--write --zones 7 --size 3", {"\"write\": {"}},
        // One at a time the 4096-byte sectors are the standard row's; queued, they are this one's.
        {"--sector-size 4096", "--write --test random --queue-depth 32",
         {"\"write_mbps\": ", "\"queue_depth\": 32, \"asked_queue_depth\": 32, \"queue_depth_note\": null, "
          "\"read_us_between_completions\": ", "\"write_latency_p99_us\": "}},
        {"", "--zones 5", {lastZone, "\"write\": null"}},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.options);
        LoopDevice device(kDeviceBytes, std::string("--direct-io=on ") + run.losetup);
        ASSERT_TRUE(device.attached()) << device.error();
        ASSERT_TRUE(std::string(run.options).find("--write") == std::string::npos || device.FillWithPattern());
        const std::string before = device.Checksum();
        std::string out;
        EXPECT_EQ(0, RunCommand(kCli + " --json " + run.options + " " + device.node(), &out)) << out;
        for (const std::string& expected : run.expected)
            EXPECT_NE(std::string::npos, out.find(expected)) << out;
        EXPECT_EQ(before, device.Checksum());
    }
}

// No device needed: bad input is refused before anything is opened, and the
// report takes the format its name asks for.
TEST(CliOnAFile, BadInputExitsWithStatusTwoAndTheReportFollowsItsName)
{
    const std::string target = "/dev/shm/kestrelia-cli-file-" + std::to_string(::getpid());
    RunCommand("truncate -s 3M " + target);
    const std::pair<std::string, std::string> rows[] = {
        {"--zones 0", "zones"}, {"--zones 51", "zones"}, {"--cycles x", "cycles"}, {"--size 512", "size"},
        {"--test random --queue-depth 3", "--queue-depth must be 1, 2, 4, 8, 16, 32, 64, 128 or 256"},
        {"--queue-depth 32 " + target, "--queue-depth applies to the random test only"},
        {"/nonexistent/kestrelia", "i/o Error: No such file or directory"},
        {"--zones 2 --size 2 " + target,
         "Sorry, the test drive is not big enough for the currently selected testing parameters."},
        {"--report /tmp " + target, "--report: /tmp is a folder, not a file"},
        {"--span 2 " + target, "--span applies to the surface test only (--test surface)"},
        {"--test surface --span 0 " + target, "--span must be a number of gigabytes above 0"},
        {"--test surface --duration 0 " + target, "--duration must be a whole number of minutes from 1 to 100000"},
        {"--test surfaces " + target, "--test must be standard, random or surface"},
    };
    std::string out;
    for (const auto& [arguments, message] : rows) {
        EXPECT_EQ(2, RunCommand(kCli + " " + arguments, &out)) << arguments;
        EXPECT_NE(std::string::npos, out.find(message)) << arguments << ": " << out;
    }
    for (const std::string suffix : {".txt", ".xls"}) {
        const std::string report = "/tmp/kestrelia-cli-report-" + std::to_string(::getpid()) + suffix;
        ASSERT_EQ(0, RunCommand(kCli + " --zones 3 --cycles 2 --report " + report + " " + target, &out)) << out;
        RunCommand("cat " + report, &out);
        EXPECT_EQ(0u, out.find("Kestrelia\xAA 2.0 Test Results\r")) << suffix;
        EXPECT_NE(std::string::npos, out.find("Test Drive Name: " + target + "\r"));
        EXPECT_NE(std::string::npos, out.find("Zone Count: 3\rCycle Count: 2\r"));
        EXPECT_NE(std::string::npos, out.find("Measurement Zone:\t3\r"));
        EXPECT_NE(std::string::npos, out.find(suffix == ".xls" ? "Cycle 2\t" : "Cycle 2: ")) << suffix;
        EXPECT_EQ(std::string::npos, out.find('\n'));
        ::unlink(report.c_str());
    }
    ::unlink(target.c_str());
}

}  // namespace
