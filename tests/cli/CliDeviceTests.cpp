// kestrelia-cli --list shows a loop drive with its volumes.
#include "LoopDriveFixture.h"

namespace {

const std::string kCli = KESTRELIA_CLI_PATH;

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

}  // namespace
