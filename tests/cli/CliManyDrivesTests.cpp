// kestrelia-cli on several loop drives at once: each tested with writes on a
// worker of its own, a mounted one refused while the others run, file names
// with the drive's name, the JSON "runs" array, a summary with the target
// rate; a stop signal at a random moment puts every block back everywhere.
// --all asks before testing and refuses to guess on no terminal.
#include "LoopDevice.h"
#include "TestSeed.h"
#include "cli/DriveController.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kCli = KESTRELIA_CLI_PATH;

struct FourDrives : ::testing::Test {
    void SetUp() override
    {
        SKIP_WITHOUT_LOOP_DEVICES();
        fs::create_directories(folder);
        for (int i = 0; i < 4; ++i) {
            drives.push_back(std::make_unique<LoopDevice>(256ull << 20, "--direct-io=on"));
            ASSERT_TRUE(drives.back()->attached() && drives.back()->FillWithPattern()) << drives.back()->error();
            checksums.push_back(drives.back()->Checksum());
            nodes += " " + drives.back()->node();
        }
    }
    void TearDown() override
    {
        for (std::size_t i = 0; i < checksums.size(); ++i)
            EXPECT_EQ(checksums[i], drives[i]->Checksum()) << drives[i]->node();
        fs::remove_all(folder);
    }
    const fs::path folder = "/tmp/kestrelia-cli-drives-" + std::to_string(getpid());
    const std::string env = "env XDG_DATA_HOME=" + (folder / "data").string() + " KESTRELIA_RUN_DIR=" + folder.string() + " ";
    std::vector<std::unique_ptr<LoopDevice>> drives;
    std::vector<std::string> checksums;
    std::string nodes;
};

TEST_F(FourDrives, TestedAtOnceEachWithItsFilesAMountedOneRefused)
{
    LoopDevice mounted(64ull << 20, "");
    std::string out;
    ASSERT_EQ(0, RunCommand("mkfs.ext4 -q " + mounted.node(), &out)) << out;
    const TemporaryMount mount(mounted.node());
    ASSERT_TRUE(mount.mounted()) << mount.error();
    const std::string files = " --report " + (folder / "r.txt").string() + " --save-json " + (folder / "s.json").string();
    EXPECT_EQ(2, RunCommand("(" + env + kCli + " --write --zones 3 --json --target-rate 1" + files + nodes + " " +
                            mounted.node() + " >" + (folder / "json").string() + " 2>" + (folder / "err").string() + ")"));
    RunCommand("python3 -c 'import json, sys; d = json.load(sys.stdin); print(len(d[\"runs\"]), "
               "[r[\"exit_status\"] for r in d[\"drives\"]], d[\"concurrent\"])' <" + (folder / "json").string(), &out);
    EXPECT_EQ("4 [0, 0, 0, 0, 2] True\n", out);
    RunCommand("cat " + (folder / "err").string(), &out);
    EXPECT_NE(out.find(mounted.node() + ": writes refused: the device is mounted or in use"), std::string::npos) << out;
    for (const auto& drive : drives) {
        const std::string name = fs::path(drive->node()).filename().string();
        EXPECT_TRUE(fs::exists(folder / ("r-" + name + ".txt")) && fs::exists(folder / ("s-" + name + ".json"))) << name;
    }
    EXPECT_FALSE(fs::exists(folder / ("r-" + fs::path(mounted.node()).filename().string() + ".txt")));
    // Tables and a summary; no drive reaches an impossible rate.
    EXPECT_EQ(1, RunCommand(env + kCli + " --zones 2 --target-rate 9000000" + nodes, &out)) << out;
    EXPECT_NE(out.find("The drives ran at the same time"), std::string::npos) << out;
    std::size_t fails = 0;
    for (std::size_t at = out.find("  FAIL\n"); at != std::string::npos; at = out.find("  FAIL\n", at + 1))
        ++fails;
    EXPECT_EQ(4u, fails) << out;
    EXPECT_EQ(0, RunCommand(env + kCli + " --zones 2 --one-at-a-time" + nodes, &out)) << out;
    EXPECT_NE(out.find("The drives ran one at a time."), std::string::npos) << out;
    // Four drives of one size without a serial: four histories, three runs each.
    RunCommand("for d in " + (folder / "data/kestrelia/history/*").string() + "; do ls $d | wc -l; done", &out);
    EXPECT_EQ("3\n3\n3\n3\n", out);
}

// The moment comes from KESTRELIA_TEST_SEED when set (tests/support/TestSeed.h), so a failure can be repeated.
TEST_F(FourDrives, AStopSignalPutsEveryBlockBackEverywhere)
{
    const int delay = DrawnBetween(500, 5000, 1);
    std::cout << "SIGINT after " << delay << " ms\n";
    // A fifth drive's volume is unmounted for the test and mounted back after the stop.
    LoopDevice withVolume(64ull << 20, "");
    ASSERT_EQ(0, RunCommand("mkfs.ext4 -q " + withVolume.node()));
    const TemporaryMount mount(withVolume.node());
    ASSERT_TRUE(mount.mounted()) << mount.error();
    const std::string command = "exec " + env + kCli + " --write --unmount --zones 20 --cycles 50 --size 8" + nodes +
                                " " + withVolume.node() + " > " + (folder / "out").string() + " 2>&1";
    const pid_t run = fork();
    if (run == 0)
        _exit(execl("/bin/sh", "sh", "-c", command.c_str(), nullptr));
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    kill(run, SIGINT);
    const auto signalled = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(run, &status, 0);
    // Each worker stops at its next transfer, not at the test's end.
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(10));
    std::string out;
    RunCommand("cat " + (folder / "out").string(), &out);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << "KESTRELIA_TEST_SEED=" << TestSeed() << ": " << status << out;
    EXPECT_FALSE(fs::exists(folder / "data" / "kestrelia")) << out;  // nothing of a stopped run kept
    std::string source;
    RunCommand("findmnt -n -o SOURCE " + mount.path(), &source);
    EXPECT_EQ(withVolume.node() + "\n", source) << out;
}

// The drives keep their runs at the same time; one that cannot be kept fails.
TEST(CliManyDrives, ARunThatCannotBeSavedFailsItsDrive)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    const LoopDevice first(64ull << 20, "--direct-io=on");
    const LoopDevice second(64ull << 20, "--direct-io=on");
    const TemporaryMount full("-t tmpfs kestrelia", "size=4k");
    ASSERT_TRUE(first.attached() && second.attached() && full.mounted()) << full.error();
    std::string out;
    RunCommand("head -c 4096 /dev/zero >" + full.path() + "/filler");
    EXPECT_EQ(1, RunCommand("env XDG_DATA_HOME=" + full.path() + " " + kCli + " --zones 2 --save-json " + full.path() +
                                "/run.json " + first.node() + " " + second.node() + " 2>&1", &out)) << out;
    EXPECT_NE(out.find("/run-" + fs::path(second.node()).filename().string() + ".json: No space left on device"),
              std::string::npos) << out;
}

TEST(CliManyDrives, AllAsksOnATerminalOnly)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    LoopDevice spare(1100ull << 20, "");  // listed, and nothing is mounted on it
    ASSERT_TRUE(spare.attached()) << spare.error();
    std::string out;
    EXPECT_EQ(3, RunCommand(kCli + " --all --zones 1 < /dev/null", &out)) << out;
    EXPECT_NE(out.find("\n  " + spare.node() + "  "), std::string::npos) << out;
    EXPECT_NE(out.find("there is no terminal to ask on: give --yes"), std::string::npos) << out;
    EXPECT_EQ(2, RunCommand(kCli + " --all --zones 1 /dev/null", &out)) << out;
}

TEST(CliManyDrives, DrivesOnOnePciFunctionShareItsController)
{
    EXPECT_EQ("0000:00:1f.2", ControllerInDevicePath("/sys/devices/pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda"));
    EXPECT_EQ("0000:3d:00.0", ControllerInDevicePath("/sys/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1"));
    EXPECT_EQ("", ControllerInDevicePath("/sys/devices/virtual/block/loop3"));
}

}  // namespace
