// kestrelia-cli --list shows a loop drive with its volumes; --report saves
// the report naming the drive or the volume that was tested.
#include "LoopDriveFixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

const std::string kCli = KESTRELIA_CLI_PATH;

std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CliDriveTest : public LoopDriveTest {
protected:
    void SetUp() override
    {
        LoopDriveTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        std::string pattern = (fs::temp_directory_path() / "kestrelia-cli-XXXXXX").string();
        ASSERT_NE(nullptr, ::mkdtemp(pattern.data()));
        reports_ = pattern;
    }
    void TearDown() override
    {
        if (!reports_.empty())
            fs::remove_all(reports_);
        LoopDriveTest::TearDown();
    }
    fs::path reports_;
};

TEST_F(CliDriveTest, ListShowsTheDriveAndItsVolumes)
{
    std::string out;
    ASSERT_EQ(0, RunCommand(kCli + " --list", &out)) << out;
    const std::string name = drive().substr(5);
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

struct ReportRow {
    const char* name;
    bool onVolume;
    const char* options;
    const char* file;
    std::vector<std::string> expectedParts;
};

TEST_F(CliDriveTest, ReportNamesWhatWasTested)
{
    const std::string volumeName = fs::path(volumes_[0].mount->path()).filename().string();
    const ReportRow rows[] = {
        {"drive, text", false, "--zones 3 --cycles 2 --size 2", "Drive Results.txt",
         {"Kestrelia\xAA 2.0 Test Results\r", "\rTest Drive Name: Loop Device (" + drive().substr(5) + ")\r",
          "\rTest Drive Size: 1.500 Gigabytes\r", "\rTransfer Size: 2 MBytes\r", "\rZone Count: 3\r",
          "\rCycle Count: 2\r", "\r\rMeasurement Zone:\t3\r", "\rCycle 2: "}},
        {"drive, spreadsheet", false, "--zones 2", "Drive Results.xls",
         {"\r<Insert Summary Chart Here>\tZone 2 Reads\r", "\r<Insert Cycle Chart Here>\tZone 1 Reads\r"}},
        {"volume, text", true, "--zones 2", "Volume Results.txt",
         {"\rTest Volume Name: " + volumeName + "\r", "\rTest Volume Size: ", "\rZone Count: 2\r"}},
        {"drive, random", false, "--test random", "Random Results.txt",
         {"\r\rRandom Read Results:\t", " per Second\r"}},
    };
    for (const ReportRow& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path report = reports_ / row.file;
        const std::string target = row.onVolume ? volumes_[0].node : drive();
        std::string out;
        ASSERT_EQ(0, RunCommand(kCli + " " + row.options + " --report '" + report.string() + "' " + target, &out))
            << out;
        const std::string bytes = FileBytes(report);
        EXPECT_EQ(std::string::npos, bytes.find('\n'));
        for (const std::string& part : row.expectedParts)
            EXPECT_NE(std::string::npos, bytes.find(part)) << part << " in\n" << bytes;
        EXPECT_EQ(row.onVolume, bytes.find("Test Drive Name:") == std::string::npos);
    }
}

TEST(CliReport, MissingFolderIsRefusedBeforeTheTest)
{
    std::string out;
    EXPECT_EQ(2, RunCommand(kCli + " --report /nonexistent/kestrelia/r.txt /dev/null", &out)) << out;
    EXPECT_NE(std::string::npos, out.find("Unable to open test results file")) << out;
    EXPECT_EQ(2, RunCommand(kCli + " --report", &out)) << out;
}

}  // namespace
