// Run documents through JSON and the run history: a run captured from the
// run comes back unchanged and matches the schema; documents no run can
// have are refused; the history keeps at most 200 runs per drive, newest
// first by the time inside them, never drops the run just saved, and skips
// corrupt and foreign files.
#include "reports/RunHistory.h"

#include "platform/CallingUser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
class RunHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Not under /dev/shm: saved files are refused anywhere under /dev.
        std::string pattern = (fs::temp_directory_path() / "kestrelia-history-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        unsetenv("PKEXEC_UID");
        unsetenv("SUDO_UID");
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
};

// A standard run of 3 zones of 2 cycles of 4 MB with writes on a 2 GiB loop drive, ended at when.
Run StandardRun(std::time_t when)
{
    Run run;
    run.target = {.devicePath = "/dev/loop3", .identity = "loop:/dev/shm/disk", .name = "Loop Drive (2.00 GB)",
                  .sizeLabel = "2 Gigabytes", .sizeBytes = 2147483648ull};
    run.settings = {.zones = 3, .cycles = 2, .transferMegabytes = 4, .writes = true};
    run.started = run.ended = when;
    run.end = RunEnd::Completed;
    run.zones.resize(3);
    for (int z = 0; z < 3; ++z)
        for (ZoneSpeeds* speeds : {&run.zones[z].read, &run.zones[z].write}) {
            run.zones[z].firstSector = z * 1000000ull;
            run.zones[z].lastSector = z * 1000000ull + 8191;
            speeds->cycles[0] = speeds->minimum = 100.0 + z;
            speeds->cycles[1] = speeds->maximum = 110.5 + z;
            speeds->average = 105.25 + z;
        }
    run.maxSpeed = 112.5;
    return run;
}
const std::string kIdentity = "loop:/dev/shm/disk";

TEST_F(RunHistoryTest, ARunComesBackFromJsonAsItWasAndMatchesTheSchema)
{
    const ::Run measured = StandardRun(1796672452);
    const RunDocument run = CaptureRunDocument(measured);
    EXPECT_EQ(run.when, "2026-12-07T19:40:52Z");
    EXPECT_EQ(run.queueDepth, 1);

    const std::string path = (folder_ / "run.json").string();
    ASSERT_TRUE(WriteRunDocumentFile(path, run).ok());
    std::string why;
    const std::optional<RunDocument> back = ReadRunDocumentFile(path, &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(RunFromDocument(*back), measured) << "every result, setting and the drive as they were";
    EXPECT_EQ(RunDocumentToJson(*back), RunDocumentToJson(run));

    EXPECT_EQ(std::system((KESTRELIA_SOURCE_DIR "/tests/support/validate-run-documents " KESTRELIA_SOURCE_DIR
                           "/docs/run-document.schema.json " + path).c_str()), 0);
}

TEST_F(RunHistoryTest, MalformedDocumentsAreRefusedWithAReason)
{
    const std::string good = RunDocumentToJson(CaptureRunDocument(StandardRun(0)));
    auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct { std::string text; const char* reason; } cases[] = {
        {"{\"format\": ", "not JSON"},
        {"[1, 2]", "not a Kestrelia run document"},
        {replaced("\"kestrelia-run\"", "\"other\""), "not a Kestrelia run document"},
        {replaced("\"format_version\": 2", "\"format_version\": 9"), "another version"},
        {replaced("\"zones\": 3", "\"zones\": 51"), "impossible content: zone count: 51"},
        {replaced("\"test\": \"standard\"", "\"test\": \"random\""), "zones of a random run: 3"},
        {replaced("\"queue_depth\": 1", "\"queue_depth\": 99999"), "queue depth: 99999"},
        {replaced("\"size_bytes\": 2147483648", "\"size_bytes\": -2147483648"), "a negative size"},
        {replaced("\"last_sector\": 8191", "\"last_sector\": 18446744073709551616"), "sector beyond 2^64"},
        {replaced("\"when\": \"1970-01-01T00:00:00Z\"", "\"when\": \"yesterday\""), "no UTC time"},
        {replaced("\"when\": \"1970-01-01T00:00:00Z\"", "\"when\": \"1970-01-\\t1T00:00:00Z\""), "no UTC time"},
        {replaced("\"min\": 100.0", "\"min\": -1"), "negative"},
        {replaced("\"writes\": true", "\"writes\": \"yes\""), "malformed"},
        {replaced("\"test\": \"standard\"", "\"test\": \"other\""), "unknown test kind"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(RunDocumentFromJson(c.text, &why)) << c.reason;
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    }
}

TEST_F(RunHistoryTest, AtMost200RunsNewestFirstNeverTheOneJustSavedCorruptAndForeignFilesSkipped)
{
    const std::string root = (folder_ / "history").string();
    const int64_t start = 1796672452000;  // 2026-12-07, names the files
    const std::time_t in2030 = 1893456000;
    std::string why;
    std::ostringstream notes;
    // Runs saved while the clock said 2030: the oldest by the time inside goes.
    std::string first;
    for (int i = 0; i < 201; ++i) {
        const std::string path =
            SaveRunToHistory(root, CaptureRunDocument(StandardRun(in2030 + i)), start + i * 1000, &why, notes);
        ASSERT_FALSE(path.empty()) << why;
        first = i == 0 ? path : first;
    }
    EXPECT_FALSE(fs::exists(first));
    // A run saved now stays though every other is dated after it, and so does
    // the next, saved in the same millisecond.
    const RunDocument run = CaptureRunDocument(StandardRun(start / 1000));
    const std::string saved = SaveRunToHistory(root, run, start + 300000, &why, notes);
    ASSERT_FALSE(saved.empty()) << why;
    EXPECT_NE(notes.str().find("200 runs of loop:/dev/shm/disk dated in the future, the latest 2030-01-01T00:03:20Z"),
              std::string::npos) << notes.str();
    EXPECT_EQ(ListDriveHistory(root, kIdentity, notes).back().path, saved);
    const std::string twin = SaveRunToHistory(root, run, start + 300000, &why, notes);
    EXPECT_TRUE(saved != twin && fs::exists(twin)) << twin;

    const std::string folder = DriveHistoryFolder(root, kIdentity);
    std::ofstream(folder + "/broken.json") << "{\"format\": \"kestrelia-run\", ";
    ASSERT_EQ(::mkfifo((folder + "/pipe.json").c_str(), 0600), 0);  // would block a plain read
    RunDocument foreign = run;
    foreign.identity = "serial:OTHER";
    ASSERT_TRUE(WriteRunDocumentFile(folder + "/foreign.json", foreign).ok());

    notes.str("");
    const std::vector<HistoryEntry> entries = ListDriveHistory(root, kIdentity, notes);
    ASSERT_EQ(entries.size(), kMaxRunsPerDrive);
    EXPECT_EQ(entries.front().run.when, "2030-01-01T00:03:20Z");
    EXPECT_EQ(entries.back().path, twin);
    for (const char* note : {"broken.json: not JSON", "foreign.json: the run of another drive", "pipe.json: not a regular file"})
        EXPECT_NE(notes.str().find(note), std::string::npos) << notes.str();
    EXPECT_NE(DriveHistoryFolder(root, "loop:/a/b"), DriveHistoryFolder(root, "loop:/a_b"));
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "no temporary file stays behind";
}
// Only a program that really runs as root acts for the user its environment
// names, and nonsense names nobody: an ordinary user's SUDO_UID=0 leaves the
// history in that user's own home.
TEST_F(RunHistoryTest, OnlyRootActsForTheUserNamedInTheEnvironment)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to become an ordinary user";
    for (const char* text : {"", "12x", "-3", "0", "99999999999999999999"}) {
        setenv("PKEXEC_UID", text, 1);
        EXPECT_FALSE(CallingUser().active()) << text;
    }
    setenv("PKEXEC_UID", "65534", 1);
    EXPECT_EQ(CallingUser().via, "pkexec");
    unsetenv("PKEXEC_UID");
    const pid_t child = fork();
    if (child == 0) {
        setenv("HOME", "/tmp/ordinary", 1);
        unsetenv("XDG_DATA_HOME");
        bool believed = setgid(65534) != 0 || setuid(65534) != 0;
        for (const char* uid : {"0", "1"}) {
            setenv("SUDO_UID", uid, 1);
            believed = believed || CallingUser().active() ||
                       HistoryRoot() != "/tmp/ordinary/.local/share/kestrelia/history";
        }
        _exit(believed ? 1 : 0);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
}
}  // namespace
