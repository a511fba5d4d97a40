// Report files: failures that the save dialog cannot produce. What lands on
// disk, replacing, full and read-only disks and the owner are tested through
// the real save dialog in tests/shell.
#include <gtest/gtest.h>

#include "engine/InterfaceHost.h"
#include "reports/ReportFile.h"

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
    }
    void TearDown() override { fs::remove_all(directory); }
    // Entries in the folder: no temporary file may stay behind.
    long Entries() const { return std::distance(fs::directory_iterator(directory), fs::directory_iterator()); }

    fs::path directory;
    const ReportSubject subject{false, "Data Disk", "2 Gigabytes"};
};

TEST_F(ReportFiles, OnlyRegularFilesAreWrittenAndLinksStay)
{
    fs::create_directory(directory / "taken");
    ASSERT_EQ(mkfifo((directory / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/proc/version", directory / "to-proc");
    const struct {
        std::string name;
        int errorNumber;
        std::string refusal;
    } rows[] = {
        {"missing/r.txt", ENOENT, "no folder " + (directory / "missing").string() + " to write "},
        {"taken", EISDIR, "taken is a folder, not a file"},
        {"taken/", EISDIR, "taken/ names a folder, not a file"},
        {"fifo", EPERM, "fifo is a FIFO, not a file"},
        {"to-proc", EPERM, "to-proc (/proc/version) is under /proc, where no file is saved"},
    };
    for (const auto& row : rows) {
        const ReportSaveResult result = SaveReportFile((directory / row.name).string(), subject, kTextReportFormat);
        EXPECT_EQ(result.errorNumber, row.errorNumber) << row.name;
        EXPECT_NE(ReportSaveFailureText(result).find(row.refusal), std::string::npos) << ReportSaveFailureText(result);
    }
    EXPECT_TRUE(fs::is_fifo(directory / "fifo"));
    EXPECT_EQ(Entries(), 3);

    // Through a link the file it names is written, whether it exists or not.
    std::ofstream(directory / "old.txt") << "old";
    fs::create_symlink("old.txt", directory / "to-old");
    fs::create_symlink(directory / "new.txt", directory / "to-new");
    for (const char* link : {"to-old", "to-new"}) {
        ASSERT_TRUE(SaveReportFile(directory / link, subject, kTextReportFormat).ok()) << link;
        EXPECT_TRUE(fs::is_symlink(directory / link));
        EXPECT_EQ(ReadFile(directory / link), CurrentReport()) << link;
    }
    EXPECT_EQ(Entries(), 7);
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
