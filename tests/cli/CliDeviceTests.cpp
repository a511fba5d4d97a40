// kestrelia-cli --list shows a loop drive with its volumes; a write test on
// the unmounted drive or volume leaves every byte and file as it was.
#include "LoopDriveFixture.h"
#include "devices/MountControl.h"

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

struct WriteRow {
    const char* name;
    bool wholeDrive;
};

TEST_F(LoopDriveTest, WriteTestAfterUnmountKeepsEveryFile)
{
    for (const WriteRow& row : {WriteRow{"whole drive", true}, WriteRow{"one volume", false}}) {
        SCOPED_TRACE(row.name);
        pid_t dissenter = 0;
        VolInfoRec volume{};
        ASSERT_EQ(0, FindMountedVolume(volumes_[0].mount->path().c_str(), &volume, false));
        ASSERT_EQ(0, row.wholeDrive ? UnMountAllDriveVolumesSync(drive().c_str(), &dissenter)
                                    : UnMountThisVolumeSync(volume, &dissenter));
        const std::string target = row.wholeDrive ? drive() : volumes_[0].node;
        std::string before;
        std::string after;
        std::string out;
        ASSERT_EQ(0, RunCommand("cksum < " + target, &before));
        EXPECT_EQ(0, RunCommand(kCli + " --write --zones 5 --size 8 " + target, &out)) << out;
        ASSERT_EQ(0, RunCommand("cksum < " + target, &after));
        EXPECT_EQ(before, after);
        DriveInfoRec record{};
        std::snprintf(record.devicePathCStr, sizeof record.devicePathCStr, "%s", drive().c_str());
        EXPECT_EQ(0, row.wholeDrive ? RemountThisDrivesVolsSync(record) : RemountThisVolumeSync(volume, nullptr));
        for (const LoopVolume& mounted : volumes_)
            EXPECT_EQ("marker " + mounted.type, MarkerOf(mounted)) << mounted.type;
    }
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
    char folder[] = "/dev/shm/h20history-cli-XXXXXX";
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
