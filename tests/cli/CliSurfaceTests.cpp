// kestrelia-cli --test surface on a patterned loop device: with writes the
// whole device ends as it began, whether the run ends by itself, at its span
// or at a Ctrl-C at a random moment (KESTRELIA_TEST_SEED gives it back).
#include "LoopDevice.h"
#include "TestSeed.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The runs it keeps go to a history of its own.
const std::string kHistory = "/tmp/kestrelia-surface-" + std::to_string(getpid());
const std::string kCli = "env XDG_DATA_HOME=" + kHistory + " " KESTRELIA_CLI_PATH " ";

TEST(CliSurface, WritesLeaveTheDeviceAsItWasAlsoWhenStoppedAtARandomMoment)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    LoopDevice device(256ull << 20, "--direct-io=on");
    ASSERT_TRUE(device.attached()) << device.error();
    ASSERT_TRUE(device.FillWithPattern());
    const std::string before = device.Checksum();
    std::string out;
    ASSERT_EQ(0, RunCommand(kCli + "--json --test surface --write " + device.node(), &out)) << out;
    EXPECT_NE(std::string::npos, out.find("\"test\": \"surface\"")) << out;
    EXPECT_NE(std::string::npos, out.find("\"span_sectors\": 524288, \"covered_sectors\": 524288, ")) << out;
    EXPECT_NE(std::string::npos, out.find("\"unreadable\": [], ")) << out;
    ASSERT_EQ(0, RunCommand(kCli + "--test surface --write --size 3 --span 0.1 " + device.node(), &out)) << out;
    EXPECT_NE(std::string::npos, out.find("0.1 of 0.1 GB covered (100 %)\n")) << out;
    EXPECT_EQ(before, device.Checksum());

    const int milliseconds = DrawnBetween(150, 650, 1);
    SCOPED_TRACE("KESTRELIA_TEST_SEED=" + std::to_string(TestSeed()));
    // The moment counts from when the run has the device open.
    const int status = RunCommand("sh -c '" + kCli + "--test surface --write --size 4 " + device.node() +
                                  " & until ls -l /proc/$!/fd | grep -q " + device.node() + "; do sleep 0.005; done; sleep " +
                                  std::to_string(milliseconds / 1000.0) + "; kill -INT $!; wait $!'", &out);
    EXPECT_TRUE(status == 130 || status == 0) << status << out;  // 0: it had ended before
    EXPECT_EQ(before, device.Checksum());
    RunCommand("rm -rf " + kHistory);
}

}  // namespace
