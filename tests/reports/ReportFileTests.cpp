// Report files: refusals that the save dialog cannot produce. What lands on
// disk, replacing, full and read-only disks and the owner are tested through
// the real save dialog in tests/shell.
#include <gtest/gtest.h>

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
    const ::Run run;  // of no drive: the header names none
};

TEST_F(ReportFiles, OnlyRegularFilesAreWrittenAndLinksStay)
{
    fs::create_directory(directory / "taken");
    ASSERT_EQ(mkfifo((directory / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/proc/version", directory / "to-proc");
    fs::create_symlink("/proc/self/fd/1", directory / "to-output");
    const struct { std::string name; int errorNumber; std::string refusal; } rows[] = {
        {"missing/r.txt", ENOENT, "no folder " + (directory / "missing").string() + " to write "},
        {"taken", EISDIR, "taken is a folder, not a file"},
        {"taken/", EISDIR, "taken/ names a folder, not a file"},
        {"fifo", EPERM, "fifo is a FIFO, not a file"},
        {"to-proc", EPERM, "to-proc (/proc/version) is under /proc, where no file is saved"},
        {"/proc/self/fd/1", EPERM, "is under /proc, where no file is saved"},  // not the file it stands for
        {"to-output", EPERM, "is under /proc, where no file is saved"},
    };
    for (const auto& row : rows) {
        const ReportSaveResult result = SaveReportFile((directory / row.name).string(), run, kTextReportFormat, 0);
        EXPECT_EQ(result.errorNumber, row.errorNumber) << row.name;
        EXPECT_NE(ReportSaveFailureText(result).find(row.refusal), std::string::npos) << ReportSaveFailureText(result);
    }
    EXPECT_TRUE(fs::is_fifo(directory / "fifo"));
    EXPECT_EQ(Entries(), 4);
    // A folder beside /proc whose name begins the same is no part of it.
    const fs::path beside = "/proc-kestrelia-" + std::to_string(getpid());
    fs::create_directory(beside);
    EXPECT_TRUE(SaveReportFile((beside / "r.txt").string(), run, kTextReportFormat, 0).ok());
    fs::remove_all(beside);

    // Through a link the file it names is written, whether it exists or not,
    // with mode 0666 less the umask (never world-writable, whatever it had).
    std::ofstream(directory / "old.txt") << "old";
    fs::permissions(directory / "old.txt", fs::perms(0666));
    fs::create_symlink("old.txt", directory / "to-old");
    fs::create_symlink(directory / "new.txt", directory / "to-new");
    for (const auto& [link, mask] : {std::pair{"to-old", 022}, std::pair{"to-new", 077}}) {
        const mode_t previous = umask(mask);
        ASSERT_TRUE(SaveReportFile(directory / link, run, kTextReportFormat, 0).ok()) << link;
        umask(previous);
        EXPECT_TRUE(fs::is_symlink(directory / link));
        EXPECT_EQ(ReadFile(directory / link), CurrentReport()) << link;
        EXPECT_EQ(fs::status(directory / link).permissions(), fs::perms(0666 & ~mask)) << link;
    }
    EXPECT_EQ(Entries(), 8);
}

}  // namespace
