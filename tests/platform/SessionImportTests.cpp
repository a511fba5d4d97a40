// The privileged copy's session, read from a parent process: a child of the test
// running as another user with a hostile environment stands in for that parent.
#include <gtest/gtest.h>

#include "platform/SessionImport.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Started again as a stand-in parent (below), this executable only waits to be ended.
const bool kWaitingChild = [] {
    if (std::getenv("KESTRELIA_SESSION_CHILD") != nullptr)
        for (;;) pause();
    return false;
}();

constexpr uid_t kUser = 65534;  // nobody

class SessionImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/kestrelia-session-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        for (const char* dir : {"runtime", "root-runtime"}) fs::create_directory(folder / dir);
        std::ofstream(folder / "Xauthority") << "cookie";
        fs::create_directory_symlink(folder / "runtime", folder / "runtime-link");
        for (const char* own : {"runtime", "Xauthority"})
            ASSERT_EQ(lchown((folder / own).c_str(), kUser, kUser), 0);
    }
    void TearDown() override
    {
        for (const pid_t child : children) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        fs::remove_all(folder);
    }
    std::string Path(const char* name) const { return (folder / name).string(); }
    // Starts program as kUser with that environment, and returns once it runs.
    pid_t StartAsUser(std::string program, std::vector<std::string> environment)
    {
        environment.push_back("KESTRELIA_SESSION_CHILD=1");
        std::vector<char*> envp;
        for (std::string& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);
        char* argv[] = {program.data(), nullptr};
        int started[2];
        EXPECT_EQ(pipe2(started, O_CLOEXEC), 0);
        const pid_t child = fork();
        if (child == 0) {
            if (setgroups(0, nullptr) == 0 && setgid(kUser) == 0 && setuid(kUser) == 0)
                execve(program.c_str(), argv, envp.data());
            _exit(127);
        }
        children.push_back(child);
        close(started[1]);
        char byte = 0;
        EXPECT_EQ(read(started[0], &byte, 1), 0) << program << " did not start";  // closed by its exec
        close(started[0]);
        return child;
    }

    fs::path folder;
    std::vector<pid_t> children;
};

TEST_F(SessionImport, OnlyTheAllowlistWithValidValuesPasses)
{
    const struct {
        const char* name;
        std::string value;
        bool taken;
    } cases[] = {
        {"DISPLAY", "localhost:10.0", true},
        {"DISPLAY", ":0;touch /x", false},
        {"WAYLAND_DISPLAY", "../../etc/x", false},
        {"XDG_RUNTIME_DIR", Path("root-runtime"), false},  // not the user's
        {"XDG_RUNTIME_DIR", Path("runtime-link"), false},  // a link
        {"XDG_RUNTIME_DIR", "runtime", false},             // relative
        {"XAUTHORITY", Path("runtime"), false},  // a folder
        {"LC_MESSAGES", "fr_FR.UTF-8@euro", true},
        {"LANGUAGE", "de:en", true},
        {"QT_SCALE_FACTOR", "1e9", false},
        {"QT_SCREEN_SCALE_FACTORS", "eDP-1=2;HDMI-A-1=1.25", true},
        {"QT_SCREEN_SCALE_FACTORS", "eDP-1=/tmp", false},
    };
    for (const auto& c : cases) {
        const std::string entry = std::string(c.name) + "=" + c.value;
        EXPECT_EQ(AllowedSessionVariables("HOME=/x" + std::string(1, '\0') + entry, kUser).size(), c.taken ? 1u : 0u)
            << entry;
    }
}

TEST_F(SessionImport, TakesTheSessionOfTheSameProgramRunByTheUserOnly)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "starting a process as another user needs root";
    const pid_t parent = StartAsUser(fs::read_symlink("/proc/self/exe").string(),
                                     {"DISPLAY=:5", "WAYLAND_DISPLAY=wayland-1", "XDG_RUNTIME_DIR=" + Path("runtime"),
                                      "XAUTHORITY=" + Path("Xauthority"), "LANG=de_DE.UTF-8", "LC_TIME=../../tmp/x",
                                      "QT_SCALE_FACTOR=2", "LD_PRELOAD=libm.so.6", "QT_PLUGIN_PATH=/tmp/evil",
                                      "LOCPATH=/tmp", "XDG_CONFIG_HOME=/tmp", "PATH=/tmp", "LD_LIBRARY_PATH=/tmp",
                                      "GCONV_PATH=/tmp", "QT_QPA_PLATFORM=xcb",
                                      "DBUS_SESSION_BUS_ADDRESS=unix:path=/tmp/bus"});
    SessionVariables variables;
    ASSERT_EQ(ReadSessionOf(parent, kUser, &variables), SessionImportStatus::Imported);
    const std::map<std::string, std::string> expected = {
        {"DISPLAY", ":5"},       {"WAYLAND_DISPLAY", "wayland-1"}, {"XDG_RUNTIME_DIR", Path("runtime")},
        {"LANG", "de_DE.UTF-8"}, {"XAUTHORITY", Path("Xauthority")}, {"QT_SCALE_FACTOR", "2"}};
    const std::map<std::string, std::string> taken(variables.begin(), variables.end());
    EXPECT_EQ(taken, expected);

    // Not the user pkexec names, or another program (the test's own parent): nothing is read.
    variables.clear();
    EXPECT_EQ(ReadSessionOf(parent, 1000, &variables), SessionImportStatus::NotSameUser);
    EXPECT_EQ(ReadSessionOf(getppid(), kUser, &variables), SessionImportStatus::NotSameProgram);
    EXPECT_TRUE(variables.empty());
}
}  // namespace
