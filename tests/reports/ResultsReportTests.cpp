// Both report formats byte for byte, and the header's edge cases.
#include "ReportTestData.h"
#include "reports/MacRomanText.h"

#include <gtest/gtest.h>

namespace {

class ResultsReportTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        gActiveDrive = nullptr;
        gActiveVolume = nullptr;
        gDVLastTabIndex = 1;
        FillZoneResults(0, 1, 1, false);
    }
    std::string MacRomanReport(int32_t format)
    {
        std::string bytes;
        EXPECT_TRUE(ConvertUtf8ToMacRoman(AssembleResultsReport(format, kSavedAt), &bytes));
        return bytes;
    }
    DriveInfoRec drive_{};
    VolInfoRec volume_{};
};

struct ExpectedFileRow {
    const char* file;
    int32_t tab;
    int zones;
    int cycles;
    uint32_t megabytes;
    bool writes;
    double randomRead;
    double randomWrite;
};

TEST_F(ResultsReportTest, ReportsMatchTheExpectedFiles)
{
    const ExpectedFileRow rows[] = {
        {"drive-3zones-2cycles-writes.txt", 1, 3, 2, 16, true, 0, 0},
        {"drive-3zones-2cycles-writes.xls", 1, 3, 2, 16, true, 0, 0},
        {"volume-1zone-1cycle-reads.txt", 2, 1, 1, 1, false, 0, 0},
        {"volume-1zone-1cycle-reads.xls", 2, 1, 1, 1, false, 0, 0},
        {"drive-random-writes.txt", 1, 0, 1, 1, true, 1.5, 0.5},
    };
    for (const ExpectedFileRow& row : rows) {
        SCOPED_TRACE(row.file);
        ChooseTestedDevice(row.tab, drive_, volume_);
        FillZoneResults(row.zones, row.cycles, row.megabytes, row.writes);
        gSavedRandomReadSpeedDbl = row.randomRead;
        gSavedRandomWriteSpeedDbl = row.randomWrite;
        const std::string name = row.file;
        const int32_t format = name.ends_with(".xls") ? kSpreadsheetReportFormat : kTextReportFormat;
        const std::string expected = FileBytes(std::string(KESTRELIA_EXPECTED_REPORTS) + "/" + name);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(expected, MacRomanReport(format));
    }
}

struct HeaderRow {
    const char* name;
    double randomRead;
    double randomWrite;
    uint32_t megabytes;
    const char* expectedPart;
};

TEST_F(ResultsReportTest, HeaderEdgeCases)
{
    const std::string sizeLine = "Test Drive Size: 1.500 Gigabytes\r";
    const HeaderRow rows[] = {
        {"1.0 MB/s in kilobytes", 1.0, 0, 1, "\rRandom Read Results:\t1024 Kilobytes per Second\r"},
        {"1.5 MB/s in megabytes", 1.5, 0, 1, "\rRandom Read Results:\t1.500 Megabytes per Second\r"},
        {"0.5 MB/s in kilobytes", 0.5, 0, 1, "\rRandom Read Results:\t512 Kilobytes per Second\r"},
        {"write follows read directly", 2.0, 3.0, 1,
         "Random Read Results:\t2.000 Megabytes per Second\rRandom Write Results:\t3.000 Megabytes per Second\r"},
        {"only a write result follows the size line", 0, 3.0, 1,
         "Gigabytes\rRandom Write Results:\t3.000 Megabytes per Second\r"},
    };
    ChooseTestedDevice(1, drive_, volume_);
    for (const HeaderRow& row : rows) {
        SCOPED_TRACE(row.name);
        FillZoneResults(0, 1, row.megabytes, false);
        gSavedRandomReadSpeedDbl = row.randomRead;
        gSavedRandomWriteSpeedDbl = row.randomWrite;
        const std::string report = AssembleResultsReport(kTextReportFormat, kSavedAt);
        EXPECT_NE(std::string::npos, report.find(row.expectedPart)) << report;
        EXPECT_NE(std::string::npos, report.find(sizeLine));
    }
}

TEST_F(ResultsReportTest, TransferSizeWording)
{
    ChooseTestedDevice(1, drive_, volume_);
    for (const auto& [megabytes, line] : {std::pair{1u, "Transfer Size: 1 MByte\r"},
                                          std::pair{2u, "Transfer Size: 2 MBytes\r"},
                                          std::pair{511u, "Transfer Size: 511 MBytes\r"}}) {
        FillZoneResults(1, 1, megabytes, false);
        EXPECT_NE(std::string::npos, AssembleResultsReport(kTextReportFormat, kSavedAt).find(line)) << line;
    }
}

TEST_F(ResultsReportTest, VolumeTabNamesTheVolumeOnly)
{
    FillZoneResults(1, 1, 1, false);
    for (const int32_t tab : {1, 2, 0, 3}) {
        ChooseTestedDevice(tab, drive_, volume_);
        const std::string report = AssembleResultsReport(kTextReportFormat, kSavedAt);
        const bool volume = tab == 2;
        EXPECT_EQ(volume, report.find("Test Volume Name: kv1\rTest Volume Size: 480.0 MB\r") != std::string::npos);
        EXPECT_EQ(!volume, report.find("Test Drive Name: Loop Device (loop7)\r") != std::string::npos);
    }
}

TEST_F(ResultsReportTest, UnknownFormatAndNothingMeasuredGiveTheHeaderOnly)
{
    ChooseTestedDevice(1, drive_, volume_);
    FillZoneResults(2, 2, 4, true);
    const std::string header = [] {
        std::string text;
        DoCommonSaveResults(text, kSavedAt);
        return text;
    }();
    EXPECT_EQ(header, AssembleResultsReport(3, kSavedAt));
    EXPECT_NE(std::string::npos, header.find("Cycle Count: 2\r"));
    EXPECT_TRUE(header.ends_with("Cycle Count: 2\r"));

    FillZoneResults(0, 1, 1, false);
    const std::string empty = AssembleResultsReport(kTextReportFormat, kSavedAt);
    EXPECT_TRUE(empty.ends_with("Test Drive Size: 1.500 Gigabytes\r")) << empty;
    EXPECT_EQ(std::string::npos, empty.find("Zone"));
}

TEST_F(ResultsReportTest, LargestReportIsCompleteAndSmall)
{
    ChooseTestedDevice(1, drive_, volume_);
    FillZoneResults(kMaxZoneCount, kMaxCycleCount, 511, true);
    for (const int32_t format : {kTextReportFormat, kSpreadsheetReportFormat}) {
        const std::string report = MacRomanReport(format);
        EXPECT_LT(report.size(), 1048576u / 4);
        EXPECT_NE(std::string::npos, report.find("Measurement Zone:\t50\r"));
        EXPECT_NE(std::string::npos, report.find(format == kTextReportFormat ? "Cycle 50: " : "Cycle 50\t"));
        EXPECT_EQ(std::string::npos, report.find('\n'));
    }
    // Settings beyond the records' capacity are not read past them.
    gZoneTestCountS32 = 1000;
    gTestCyclesS32 = 1000;
    EXPECT_EQ(std::string::npos, AssembleResultsReport(kTextReportFormat, kSavedAt).find("Zone:\t51\r"));
}

TEST_F(ResultsReportTest, NoChosenRecordNamesNothing)
{
    FillZoneResults(1, 1, 1, false);
    gActiveDrive = nullptr;
    gActiveVolume = nullptr;
    for (const int32_t tab : {1, 2}) {
        gDVLastTabIndex = tab;
        const std::string report = AssembleResultsReport(kTextReportFormat, kSavedAt);
        EXPECT_NE(std::string::npos, report.find(tab == 2 ? "Test Volume Name: \r" : "Test Drive Name: \r"));
    }
}

TEST(MacRomanText, ConvertsWhatItCanAndMarksTheRest)
{
    const std::pair<std::string, std::string> rows[] = {
        {"Kestrelia\u2122", "Kestrelia\xAA"},
        {"caf\u00e9 \u00fc", "caf\x8E \x9F"},
        {"\u4e2d", "?"},
        {"bad \xff byte", "bad ? byte"},
        {"cut \xe2\x84", "cut ??"},
        {"", ""},
    };
    for (const auto& [utf8, expected] : rows) {
        std::string converted;
        ASSERT_TRUE(ConvertUtf8ToMacRoman(utf8, &converted));
        EXPECT_EQ(expected, converted) << utf8;
    }
}

}  // namespace
