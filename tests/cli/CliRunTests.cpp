// kestrelia-cli end to end on loop devices and file systems the test makes:
// saved files never reach a device, bad targets are refused up front,
// failures say where, files on 4096-byte-sector storage are measured with
// aligned transfers, saved runs can be compared, and a stop signal either
// keeps nothing of a run or comes too late to change any of its outputs.
// The patterned device ends every test as it began.
#include "LoopDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <regex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct CliRow {
    std::string arguments;
    int exitStatus;
    std::string message;
    std::string output;  // expected too, or empty
};

class CliRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_LOOP_DEVICES();
        fs::create_directories(folder);  // nothing is saved under /dev
        device = std::make_unique<LoopDevice>(64ull << 20, "--direct-io=on");
        ASSERT_TRUE(device->attached()) << device->error();
        ASSERT_TRUE(device->FillWithPattern());
        checksum = device->Checksum();
    }
    void TearDown() override
    {
        if (!checksum.empty()) {
            EXPECT_EQ(checksum, device->Checksum());
        }
        fs::remove_all(folder);
    }

    // kestrelia-cli keeping its runs in a history of its own under the folder,
    // with that environment too.
    std::string Cli(const std::string& environment = "") const
    {
        return "env -u SUDO_UID -u PKEXEC_UID XDG_DATA_HOME=" + (folder / "data").string() + " " + environment +
               KESTRELIA_CLI_PATH " ";
    }
    // The run documents kept in that history.
    int KeptRuns() const
    {
        int runs = 0;
        if (fs::exists(folder / "data"))
            for (const auto& entry : fs::recursive_directory_iterator(folder / "data"))
                runs += entry.path().extension() == ".json";
        return runs;
    }
    // A run of the device with writes over three zones saved as a file named
    // with a quote; its name as the shell is given it.
    std::string SavedRun()
    {
        const std::string saved = "'" + (folder / "first\"run.json").string() + "'";
        EXPECT_EQ(0, RunCommand(Cli() + "--write --zones 3 --save-json " + saved + " " + target(), &out)) << out;
        return saved;
    }
    void ExpectRows(const std::vector<CliRow>& rows, const std::string& prefix = "")
    {
        for (const CliRow& row : rows) {
            EXPECT_EQ(row.exitStatus, RunCommand(prefix + Cli() + row.arguments, &out)) << row.arguments << ": " << out;
            EXPECT_NE(std::string::npos, out.find(row.message)) << row.arguments << ": " << out;
            EXPECT_NE(std::string::npos, out.find(row.output)) << row.arguments << ": " << out;
        }
    }
    const std::string& target() const { return device->node(); }

    const fs::path folder = "/tmp/kestrelia-cli-run-" + std::to_string(getpid());
    std::unique_ptr<LoopDevice> device;
    std::string checksum;
    std::string out;
};

TEST_F(CliRun, RefusesTargetsAndFilesItCannotUseBeforeAnyTest)
{
    const std::string link = (folder / "link").string();
    fs::create_symlink(target(), link);
    LoopDevice readOnly(64ull << 20, "-r");
    ASSERT_TRUE(readOnly.attached()) << readOnly.error();
    const TemporaryMount ramfs("-t ramfs kestrelia");
    const TemporaryMount readOnlyFs("-t tmpfs kestrelia", "ro");
    ASSERT_TRUE(ramfs.mounted() && readOnlyFs.mounted()) << ramfs.error() << readOnlyFs.error();
    RunCommand("truncate -s 64M " + ramfs.path() + "/file");
    ExpectRows({
        // --graph, --report and --save-json never write a device, directly or through a link.
        {"--zones 2 --graph " + link + " " + target(), 2, "needs a file name", ""},
        {"--write --report " + target(), 2, "needs a file name", ""},  // the forgotten file name
        {"--report --zones 2 " + target(), 2, "needs a file name", ""},
        {"--save-json " + link + " " + target(), 2, "needs a file name", ""},
        // A file that could not be saved (here a read-only file system).
        {"--write --report " + readOnlyFs.path() + "/r.txt " + target(), 2, "r.txt: Read-only file system", ""},
        {"--write --zones 2 " + readOnly.node(), 2, "writes refused: the device is read-only", ""},
        {"--zones 2 " + ramfs.path() + "/file", 2, "direct I/O refused", ""},
        {"''", 2, "the target is an empty name", ""},
        {"--write --unmount /dev/kestrelia-none-" + std::to_string(getpid()), 2, ": the device node does not exist", ""},
        {"--zones 2 " + folder.string(), 2, folder.string() + " is a folder", ""},
        {"--zones 2 --cycles 2 --zones 3 " + target(), 2, "--zones given twice", ""},
    });
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(0, KeptRuns());
}

// The writes fill a small file system, on which the run's document then cannot be saved.
TEST_F(CliRun, AFailedTransferOrOutputFileSaysWhereItFailed)
{
    const TemporaryMount small("-t tmpfs kestrelia", "size=2M");
    ASSERT_TRUE(small.mounted()) << small.error();
    RunCommand("truncate -s 64M " + small.path() + "/zones " + small.path() + "/random");
    ExpectRows({
        {"--write --zones 3 " + small.path() + "/zones", 1,
         "the test failed: write failed at zone 3, cycle 1, sector ", ": No space left on device (ENOSPC)\n"},
        {"--write --test random " + small.path() + "/random", 1, "the test failed: write failed at transfer ", "Reads:  "},
        {"--write --test random --queue-depth 4 " + small.path() + "/random", 1,
         "the test failed: write failed at transfer ", ": No space left on device (ENOSPC)\n"},
        {"--zones 2 --save-json " + small.path() + "/run.json " + target(), 1, "/run.json: No space left on device", ""},
        {"--zones 2 --metrics " + small.path() + "/run.prom " + target(), 1, "/run.prom: No space left on device", ""},
        {"--zones 2 --report " + small.path() + "/run.txt " + target(), 1,
         "/run.txt: Error: Unable to save test results file (write): No space left on device.", ""},
    });
}

TEST_F(CliRun, AScratchFileOnFourKiBSectorsIsMeasuredAndRemoved)
{
    LoopDevice fourKiB(1300ull << 20, "--direct-io=on --sector-size 4096");
    ASSERT_TRUE(fourKiB.attached()) << fourKiB.error();
    ASSERT_EQ(0, RunCommand("mkfs.ext4 -q " + fourKiB.node(), &out)) << out;
    const TemporaryMount ext4(fourKiB.node());
    ASSERT_TRUE(ext4.mounted()) << ext4.error();
    ExpectRows({{"--write --zones 7 --cycles 1 --size 3", 0, "7 zones, 1 cycle, 3 MB transfers, reads and writes", ""}},
               "TMPDIR=" + ext4.path() + " ");
    for (const auto& entry : fs::directory_iterator(ext4.path()))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find("kestrelia-scratch")) << entry.path();
}

TEST_F(CliRun, ASavedRunIsComparedZoneByZoneOnlyWithTheSameZones)
{
    const std::string saved = SavedRun();
    const std::string savedRandom = (folder / "random.json").string();
    ASSERT_EQ(0, RunCommand(Cli() + "--test random --save-json " + savedRandom + " " + target(), &out)) << out;
    LoopDevice readOnly(64ull << 20, "-r");
    ASSERT_TRUE(readOnly.attached()) << readOnly.error();
    ExpectRows({
        {"--test random --queue-depth 4 --compare " + savedRandom + " " + readOnly.node(), 0,
         "Note: the earlier run is of another drive (loop:", "Note: the runs were measured at different queue depths: 1 then, 4 now.\n"},
        {"--zones 4 --compare " + saved + " " + target(), 2, "3 zones, which cannot be compared", ""},
        {"--zones 3 --compare " + saved + " " + target(), 0, "Compared with the run of ", "Zone  Earlier read  New read  Change"},
    });
    ASSERT_EQ(0, RunCommand(Cli() + "--write --zones 3 --json --compare " + saved + " " + target() + " 2>/dev/null", &out))
        << out;
    EXPECT_NE(out.find(", \"compared_with\": {\"file\": \"" + folder.string() + "/first\\\"run.json\""), std::string::npos) << out;
    // Each zone's new averages, of reads and of writes, are those this run measured.
    const auto averages = [this](const std::string& pattern) {
        const std::regex average(pattern);
        std::vector<std::string> found;
        for (auto it = std::sregex_iterator(out.begin(), out.end(), average); it != std::sregex_iterator(); ++it)
            found.push_back((*it)[1]);
        return found;
    };
    for (const std::string kind : {"read", "write"}) {
        const auto measured = averages("\"" + kind + "\": \\{\"min\": [0-9.]+, \"avg\": ([0-9.]+)");
        EXPECT_EQ(measured.size(), 3u) << out;
        EXPECT_EQ(measured, averages("\"" + kind + "\": \\{\"earlier_avg\": [0-9.]+, \"new_avg\": ([0-9.]+)")) << out;
    }
    EXPECT_EQ(0, RunCommand(KESTRELIA_SOURCE_DIR "/tests/support/validate-run-documents " KESTRELIA_SOURCE_DIR
                            "/docs/run-document.schema.json " + saved, &out)) << out;
}

TEST_F(CliRun, AHangupWhileTheLibrariesLoadStopsTheRunBeforeItBegins)
{
    EXPECT_EQ(143, RunCommand(Cli("LD_PRELOAD=" HANGUP_AT_LOAD " ") + "--zones 2 " + target(), &out));
    EXPECT_NE(out.find("kestrelia-cli: stopped before the test began"), std::string::npos) << out;
    EXPECT_EQ(0, KeptRuns());
}

// The results wait in a full pipe when Ctrl-C comes: the run had ended, so
// every output is written and the exit is 0.
TEST_F(CliRun, CtrlCWhileTheResultsAreWrittenChangesNoOutput)
{
    int results[2];
    ASSERT_EQ(0, pipe(results));
    ASSERT_EQ(4096, fcntl(results[1], F_SETPIPE_SZ, 4096));
    ASSERT_EQ(4096, write(results[1], std::string(4096, ' ').data(), 4096));  // full
    const std::string report = (folder / "report.txt").string();
    const std::string command = "exec " + Cli() + "--zones 2 --report " + report + " " + target() + " 2>/dev/null";
    const pid_t run = fork();
    if (run == 0)
        _exit(dup2(results[1], STDOUT_FILENO) < 0 ? 127 : execl("/bin/sh", "sh", "-c", command.c_str(), nullptr));
    close(results[1]);
    const std::string proc = "/proc/" + std::to_string(run);
    const auto waitsInWrite = [&proc] {
        std::string waitsIn;
        std::ifstream(proc + "/wchan") >> waitsIn;
        return waitsIn.find("pipe_write") != std::string::npos;  // anon_pipe_write on newer kernels
    };
    for (int i = 0; i < 1200 && !waitsInWrite(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(waitsInWrite());
    tgkill(run, run, SIGINT);  // at the thread that writes, not at a helper thread that might take it
    // The pipe is read only once the signal is held pending, or has been taken
    // and the run has ended: read earlier, the pipe's room lets a broken-off
    // write go on as if the signal had not come.
    const auto heldOrEnded = [&proc] {
        std::ifstream status(proc + "/status");
        uint64_t held = 1ull << (SIGINT - 1);  // pending and blocked: pending alone is not yet taken
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("State:", 0) == 0 && line.find("zombie") != std::string::npos)
                return true;
            if (line.rfind("SigPnd:", 0) == 0 || line.rfind("SigBlk:", 0) == 0)
                held &= std::stoull(line.substr(7), nullptr, 16);
        }
        return held != 0;
    };
    for (int i = 0; i < 1200 && !heldOrEnded(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::ifstream piped("/proc/self/fd/" + std::to_string(results[0]));
    out.assign(std::istreambuf_iterator<char>(piped), {});
    close(results[0]);
    int status = -1;
    waitpid(run, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NE(out.find("(MB/s)\n   1 "), std::string::npos) << out;  // the table to its last zone
    EXPECT_NE(out.find("\n   2 "), std::string::npos) << out;
    EXPECT_TRUE(fs::exists(report));
    EXPECT_EQ(1, KeptRuns());
}

TEST_F(CliRun, TheHistoryListsTheRunsKeptAlsoAsJson)
{
    SavedRun();
    ASSERT_EQ(0, RunCommand(Cli() + "--test random " + target(), &out)) << out;
    ASSERT_EQ(0, RunCommand(Cli() + "--history " + target(), &out)) << out;
    EXPECT_NE(out.find("(loop:" + device->backingFile() + "): 2 runs\n"), std::string::npos) << out;
    EXPECT_NE(out.find(" UTC, Random test, queue depth 1, reads only\n"), std::string::npos) << out;
    // As JSON too, of a file named with a quote (files keep no runs).
    const std::string quoted = (folder / "fi\"le").string();
    std::ofstream{quoted};
    EXPECT_EQ(0, RunCommand(Cli() + "--json --history '" + quoted + "' 2>/dev/null | python3 -c 'import json, sys; "
                            "h = json.load(sys.stdin); print(h[\"target\"], h[\"identity\"], len(h[\"runs\"]))'", &out));
    EXPECT_EQ(quoted + " file:" + quoted + " 0\n", out);
}

// A run document whose date would retitle the terminal (OSC, BEL, C1 CSI) is
// no run: skipped by the listing, refused by the comparison, the date shown
// escaped in both.
TEST_F(CliRun, ARunDocumentWithTerminalControlsIsShownEscaped)
{
    SavedRun();
    std::ifstream in(folder / "first\"run.json");
    const std::string hostile = std::regex_replace(std::string(std::istreambuf_iterator<char>(in), {}),
                                                   std::regex(R"("when": ?"[^"]*")"),
                                                   R"("when": "\u001b]0;PWNED\u0007\u009b2J")");
    for (const auto& entry : fs::recursive_directory_iterator(folder / "data"))
        if (entry.path().extension() == ".json")
            std::ofstream(entry.path()) << hostile;
    std::ofstream(folder / "hostile.json") << hostile;
    const std::string compare = "--zones 3 --compare " + (folder / "hostile.json").string() + " " + target();
    for (const std::string& arguments : {"--history " + target(), compare}) {
        EXPECT_EQ(arguments == compare ? 2 : 0, RunCommand(Cli() + arguments, &out)) << arguments << ": " << out;
        EXPECT_NE(out.find("\\x1B]0;PWNED\\x07\\xC2\\x9B2J"), std::string::npos) << arguments << ": " << out;
        for (const char* control : {"\x1B", "\x07", "\xC2\x9B"})  // none of the date's controls reaches the terminal
            EXPECT_EQ(out.find(control), std::string::npos) << arguments << ": " << out;
    }
}

}  // namespace
