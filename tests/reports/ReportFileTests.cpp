// Report files: written whole in Mac OS Roman, or not at all.
#include "ReportTestData.h"
#include "reports/ReportFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class ReportFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kestrelia-report-XXXXXX").string();
        ASSERT_NE(nullptr, ::mkdtemp(pattern.data()));
        directory_ = pattern;
        ChooseTestedDevice(1, drive_, volume_);
        FillZoneResults(2, 1, 8, false);
    }
    void TearDown() override
    {
        gActiveDrive = nullptr;
        gActiveVolume = nullptr;
        fs::remove_all(directory_);
    }
    std::size_t FilesInDirectory() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()));
    }
    fs::path directory_;
    DriveInfoRec drive_{};
    VolInfoRec volume_{};
};

TEST_F(ReportFileTest, FormatFollowsTheFileName)
{
    const std::pair<const char*, int32_t> rows[] = {
        {"Disk Results.xls", kSpreadsheetReportFormat}, {"Disk Results.txt", kTextReportFormat},
        {"report", kTextReportFormat}, {"x.xlsx", kTextReportFormat}, {".xls", kSpreadsheetReportFormat},
    };
    for (const auto& [name, format] : rows)
        EXPECT_EQ(format, ReportFormatForFileName(name)) << name;
}

TEST_F(ReportFileTest, WritesTheWholeReportAndReplacesAnOldOne)
{
    const fs::path path = directory_ / "Loop Results.txt";
    std::ofstream(path) << "an older, longer report that must not survive in any part";
    ASSERT_EQ(0, WriteResultsReportFile(path.string(), kTextReportFormat));
    const std::string bytes = FileBytes(path.string());
    EXPECT_TRUE(bytes.starts_with("Kestrelia\xAA 2.0 Test Results\r")) << bytes;
    EXPECT_NE(std::string::npos, bytes.find("\rTest Date: "));
    EXPECT_NE(std::string::npos, bytes.find("Measurement Zone:\t2\r"));
    EXPECT_EQ(std::string::npos, bytes.find("older"));
    EXPECT_EQ(1u, FilesInDirectory());

    const fs::path sheet = directory_ / "Loop Results.xls";
    ASSERT_EQ(0, WriteResultsReportFile(sheet.string(), ReportFormatForFileName(sheet.string())));
    EXPECT_NE(std::string::npos, FileBytes(sheet.string()).find("<Insert Summary Chart Here>\tZone 1 Reads\r"));
}

TEST_F(ReportFileTest, FailureLeavesNothingBehind)
{
    EXPECT_EQ(-ENOENT, WriteResultsReportFile((directory_ / "missing" / "r.txt").string(), kTextReportFormat));
    // A directory in the way: the report cannot replace it, and no partial file stays.
    fs::create_directory(directory_ / "taken.txt");
    EXPECT_EQ(-EISDIR, WriteResultsReportFile((directory_ / "taken.txt").string(), kTextReportFormat));
    EXPECT_TRUE(fs::is_directory(directory_ / "taken.txt"));
    EXPECT_EQ(1u, FilesInDirectory());
}

}  // namespace
