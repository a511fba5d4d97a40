// Report files: failures that the save dialog cannot produce. What lands on
// disk, replacing, full and read-only disks and the owner are tested through
// the real save dialog in tests/shell.
#include <gtest/gtest.h>

#include "engine/InterfaceHost.h"
#include "engine/TestModel.h"
#include "reports/ReportFile.h"

#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
class ReportFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/kestrelia-reports-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        directory = name;
        std::memset(gSavedREADResultsInfo, 0, sizeof gSavedREADResultsInfo);
        gZoneTestCountS32 = 1;
        gTestCyclesS32 = 1;
        gXFerMBytes = 1;
        gWriteTestEnabled = false;
        gSavedREADResultsInfo[0].cycleSpeedDbl[0] = 25.0;
        gSavedREADResultsInfo[0].aveSpeedDbl = 25.0;
    }
    void TearDown() override
    {
        fs::remove_all(directory);
        std::memset(gSavedREADResultsInfo, 0, sizeof gSavedREADResultsInfo);
    }
    fs::path directory;
    const ReportSubject subject{false, "Data Disk", "2 Gigabytes"};
};

TEST_F(ReportFiles, FailuresNameTheirCauseAndLeaveTheEarlierFile)
{
    // A missing folder and a directory in the file's place.
    ReportSaveResult result = SaveReportFile(directory / "missing" / "r.txt", subject, kTextReportFormat);
    EXPECT_EQ(result.errorNumber, ENOENT);
    EXPECT_EQ(ReportSaveFailureText(result),
              "Error: Unable to save test results file (create): No such file or directory.");

    fs::create_directory(directory / "taken");
    result = SaveReportFile(directory / "taken", subject, kTextReportFormat);
    EXPECT_EQ(result.errorNumber, EISDIR);
    EXPECT_TRUE(fs::is_directory(directory / "taken"));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);  // nothing left beside it
}

TEST_F(ReportFiles, AFileThatCannotBeOpenedIsDeletedAfterTheAlert)
{
    class AlertHost final : public InterfaceHost {
    public:
        int32_t CallOnInterfaceThread(RemoteProcedure procedure, void* parameter) override
        {
            return procedure(parameter);
        }
        void PostTestFinished() override {}
        bool OnInterfaceThread() const override { return true; }
        void SetStaticText(WindowRef, int32_t, const char*, bool) override {}
        void SetProgressBarValue(int32_t, int32_t) override {}
        void DrawTestResults() override {}
        void ShowAlert(int16_t, const char* message) override { alerts.push_back(message); }
        std::vector<std::string> alerts;
    } host;
    SetInterfaceHost(&host);
    gResultsFileRef = (directory / "gone.txt").string();
    EXPECT_EQ(DoCommonSaveResults(subject), -1);
    EXPECT_EQ(host.alerts, std::vector<std::string>{kReportOpenFailedMessage});
    SetInterfaceHost(nullptr);
}
}  // namespace
