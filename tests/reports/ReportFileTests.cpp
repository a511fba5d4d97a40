// Report files: failures that the save dialog cannot produce. What lands on
// disk, replacing, full and read-only disks and the owner are tested through
// the real save dialog in tests/shell.
#include <gtest/gtest.h>

#include "engine/InterfaceHost.h"
#include "engine/TestModel.h"
#include "reports/ReportFile.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

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
    // Names in the directory apart from the given one (leftover temporary files).
    std::vector<std::string> Others(const fs::path& in, const std::string& except) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(in))
            if (entry.path().filename() != except) names.push_back(entry.path().filename());
        return names;
    }

    fs::path directory;
    const ReportSubject subject{false, "Data Disk", "2 Gigabytes"};
};

TEST_F(ReportFiles, OnlyRegularFilesAreWrittenAndLinksStay)
{
    fs::create_directory(directory / "taken");
    ASSERT_EQ(mkfifo((directory / "fifo").c_str(), 0600), 0);
    fs::create_symlink(directory / "fifo", directory / "to-fifo");
    fs::create_symlink("/proc/version", directory / "to-proc");
    struct Row {
        std::string name;
        int errorNumber;
        std::string refusal;
    };
    const Row rows[] = {
        {"missing/r.txt", ENOENT, "no folder " + (directory / "missing").string() + " to write "},
        {"taken", EISDIR, "taken is a folder, not a file"},
        {"taken/", EISDIR, "taken/ names a folder, not a file"},
        {"fifo", EPERM, "fifo is a FIFO, not a file"},
        {"to-fifo", EPERM, "to-fifo (" + (directory / "fifo").string() + ") is a FIFO, not a file"},
        {"to-proc", EPERM, "to-proc (/proc/version) is under /proc, where no file is saved"},
    };
    for (const Row& row : rows) {
        const ReportSaveResult result = SaveReportFile((directory / row.name).string(), subject, kTextReportFormat);
        EXPECT_EQ(result.errorNumber, row.errorNumber) << row.name;
        EXPECT_NE(ReportSaveFailureText(result).find(row.refusal), std::string::npos) << ReportSaveFailureText(result);
    }
    EXPECT_TRUE(fs::is_fifo(directory / "fifo"));
    EXPECT_EQ(Others(directory, "").size(), 4u);

    // Through a link the file it names is written, whether it exists or not.
    std::ofstream(directory / "old.txt") << "old";
    fs::create_symlink("old.txt", directory / "to-old");
    fs::create_symlink(directory / "new.txt", directory / "to-new");
    for (const char* link : {"to-old", "to-new"}) {
        ASSERT_TRUE(SaveReportFile(directory / link, subject, kTextReportFormat).ok()) << link;
        EXPECT_TRUE(fs::is_symlink(directory / link));
        EXPECT_EQ(ReadFile(directory / link), CurrentReport()) << link;
    }
    EXPECT_EQ(Others(directory, "").size(), 8u);
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
