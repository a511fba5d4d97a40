// Saving report files: what lands on disk, replacing, and every failure
// leaving the earlier file as it was.
#include <gtest/gtest.h>

#include "engine/InterfaceHost.h"
#include "engine/TestModel.h"
#include "reports/ReportFile.h"

#include <cstdlib>
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

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
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
        if (!mounted.empty()) {
            std::system(("umount " + mounted).c_str());
        }
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
    bool MountSmallFileSystem(const std::string& options)
    {
        if (geteuid() != 0)
            return false;
        const fs::path point = directory / "small";
        fs::create_directory(point);
        if (std::system(("mount -t tmpfs -o " + options + " kestrelia-test " + point.string()).c_str()) != 0)
            return false;
        mounted = point;
        return true;
    }

    fs::path directory;
    std::string mounted;
    const ReportSubject subject{false, "Data Disk", "2 Gigabytes"};
};

TEST_F(ReportFiles, BothFormatsWriteExactlyTheReportAndOpenThePermissions)
{
    const mode_t mask = umask(077);
    for (const int32_t format : {kTextReportFormat, kSpreadsheetReportFormat}) {
        const fs::path path = directory / (format == 1 ? "Data Disk Results.txt" : "Data Disk Results.xls");
        const ReportSaveResult result = SaveReportFile(path, subject, format);
        ASSERT_TRUE(result.ok()) << ReportSaveFailureText(result);
        EXPECT_EQ(ReadFile(path), CurrentReport());
        EXPECT_NE(CurrentReport().find(format == 1 ? "Average: " : "Ave\t"), std::string::npos);
        struct stat status {};
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0222, 0222u);
    }
    umask(mask);
    EXPECT_EQ(Others(directory, "Data Disk Results.txt"), std::vector<std::string>{"Data Disk Results.xls"});
}

TEST_F(ReportFiles, AnExistingFileIsReplacedCompletely)
{
    const fs::path path = directory / "report.txt";
    WriteFile(path, std::string(100000, 'x'));
    ASSERT_TRUE(SaveReportFile(path, subject, kTextReportFormat).ok());
    EXPECT_EQ(ReadFile(path), CurrentReport());
    EXPECT_EQ(fs::file_size(path), CurrentReport().size());
}

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
    WriteFile(directory / "old.txt", "old");
    fs::create_symlink("old.txt", directory / "to-old");
    fs::create_symlink(directory / "new.txt", directory / "to-new");
    for (const char* link : {"to-old", "to-new"}) {
        ASSERT_TRUE(SaveReportFile(directory / link, subject, kTextReportFormat).ok()) << link;
        EXPECT_TRUE(fs::is_symlink(directory / link));
        EXPECT_EQ(ReadFile(directory / link), CurrentReport()) << link;
    }
    EXPECT_EQ(Others(directory, "").size(), 8u);
}

TEST_F(ReportFiles, AFullDiskLeavesTheEarlierReportWhole)
{
    if (!MountSmallFileSystem("size=64k"))
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    const fs::path path = fs::path(mounted) / "report.txt";
    WriteFile(path, "the earlier report\r");
    WriteFile(fs::path(mounted) / "filler", std::string(60 * 1024, 'f'));
    // Results big enough not to fit in what is left.
    gZoneTestCountS32 = 50;
    gTestCyclesS32 = 50;
    for (int zone = 0; zone < 50; ++zone) gSavedREADResultsInfo[zone].cycleSpeedDbl[0] = 25.0;

    const ReportSaveResult result = SaveReportFile(path, subject, kTextReportFormat);
    EXPECT_EQ(result.errorNumber, ENOSPC) << ReportSaveFailureText(result);
    EXPECT_EQ(ReadFile(path), "the earlier report\r");
    EXPECT_EQ(Others(mounted, "report.txt"), std::vector<std::string>{"filler"});
}

TEST_F(ReportFiles, AReadOnlyFileSystemRefusesTheSave)
{
    if (!MountSmallFileSystem("size=1m"))
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    const fs::path path = fs::path(mounted) / "report.txt";
    WriteFile(path, "kept\r");
    ASSERT_EQ(std::system(("mount -o remount,ro " + mounted).c_str()), 0);
    const ReportSaveResult result = SaveReportFile(path, subject, kTextReportFormat);
    EXPECT_EQ(result.errorNumber, EROFS);
    EXPECT_EQ(ReadFile(path), "kept\r");
}

TEST_F(ReportFiles, TheSavedFileCanBeGivenToTheUserWhoAskedForIt)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give a file away";
    const fs::path path = directory / "theirs.txt";
    ASSERT_TRUE(SaveReportFile(path, subject, kTextReportFormat, 65534, 65534).ok());
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 65534u);
    EXPECT_EQ(status.st_gid, 65534u);
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
