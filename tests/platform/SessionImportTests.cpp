// The privileged copy's session, read from a parent process: a child of the test
// running as another user with a hostile environment stands in for that parent.
#include <gtest/gtest.h>

#include "platform/SessionDisplay.h"
#include "platform/SessionImport.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <map>
#include <sys/socket.h>
#include <sys/un.h>
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
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        for (const char* dir : {"runtime", "root-runtime"}) fs::create_directory(folder / dir);
        std::ofstream(folder / "Xauthority") << "cookie";
        std::ofstream(folder / "secret") << "root only";
        fs::permissions(folder / "secret", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        fs::create_symlink(folder / "secret", folder / "runtime" / "Xauthority-link");
        fs::create_directory_symlink(folder / "runtime", folder / "runtime-link");
        for (const char* own : {"runtime", "Xauthority", "runtime/Xauthority-link"})
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
        {"DISPLAY", "unix:0.1", true},
        {"DISPLAY", "localhost:10.0", false},  // over the network
        {"DISPLAY", ":0;touch /x", false},
        {"XDG_RUNTIME_DIR", Path("root-runtime"), false},  // not the user's
        {"XDG_RUNTIME_DIR", Path("runtime-link"), false},  // a link
        {"XDG_RUNTIME_DIR", "runtime", false},             // relative
        {"LC_MESSAGES", "fr_FR.UTF-8@euro", true},
        {"LANGUAGE", "de:en", true},
        {"QT_SCALE_FACTOR", "1e9", false},
        {"QT_SCREEN_SCALE_FACTORS", "eDP-1=2;HDMI-A-1=1.25", true},
        {"QT_SCREEN_SCALE_FACTORS", "eDP-1=/tmp", false},
    };
    for (const auto& c : cases) {
        const std::string entry = std::string(c.name) + "=" + c.value;
        std::vector<std::string> refusals;
        EXPECT_EQ(AllowedSessionVariables("HOME=/x" + std::string(1, '\0') + entry, kUser, &refusals).size(),
                  c.taken ? 1u : 0u)
            << entry;
        EXPECT_EQ(refusals.size(), c.taken ? 0u : 1u) << entry;
    }
    std::vector<std::string> refusals;
    AllowedSessionVariables("DISPLAY=remote:0", kUser, &refusals);
    EXPECT_EQ(refusals, std::vector<std::string>{"DISPLAY was not used: only a display of this machine "
                                                 "(:N, :N.S or unix:N) is"});
}

// The user's X authority and Wayland socket are opened with the user's rights,
// once: never a file of root's through a planted link, never a socket outside
// the user's runtime folder.
TEST_F(SessionImport, OpensTheUsersDisplayFilesWithTheUsersRightsOnly)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    const gid_t rootGroup = 0;
    ASSERT_EQ(setgroups(1, &rootGroup), 0);  // root's groups, which acting as the user drops
    std::string why;
    const UniqueFd copy = PrivateXAuthorityCopy(Path("Xauthority"), kUser, &why);
    ASSERT_TRUE(copy.valid()) << why;
    std::ifstream in("/proc/self/fd/" + std::to_string(copy.get()));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "cookie");
    EXPECT_LT(write(copy.get(), "x", 1), 0);  // sealed
    for (const auto& [path, refusal] : {std::pair{Path("runtime/Xauthority-link"), "it is a symbolic link"},
                                        {Path("secret"), "Permission denied"}}) {
        EXPECT_FALSE(PrivateXAuthorityCopy(path, kUser, &why).valid()) << path;
        EXPECT_EQ(why, refusal) << path;
    }

    // A compositor socket in the runtime folder, one outside it and a link out.
    const auto listen = [](const fs::path& path, uid_t owner) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        path.string().copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
        EXPECT_EQ(::listen(fd, 4), 0);
        EXPECT_EQ(lchown(path.c_str(), owner, owner), 0);
        return UniqueFd(fd);
    };
    const UniqueFd compositor = listen(folder / "runtime" / "wayland-7", kUser);
    const UniqueFd outside = listen(folder / "outside-0", kUser);
    const UniqueFd roots = listen(folder / "runtime" / "root-0", 0);
    fs::create_symlink("../outside-0", folder / "runtime" / "wayland-out");
    const std::string runtime = Path("runtime");
    for (const std::string& display : {std::string("wayland-7"), runtime + "/wayland-7"}) {
        const UniqueFd connection = ConnectWaylandAsUser(runtime, display, kUser, &why);
        EXPECT_TRUE(connection.valid()) << display << ": " << why;
        EXPECT_GE(UniqueFd(accept(compositor.get(), nullptr, nullptr)).get(), 0) << display;
    }
    const struct {
        std::string display;
        const char* refusal;
    } refused[] = {
        {"../outside-0", "it leads out of the user's runtime folder"},
        {"wayland-out", "it leads out of the user's runtime folder"},
        {Path("outside-0"), "not inside the user's runtime folder"},
        {"root-0", "not a socket of the user's own"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(ConnectWaylandAsUser(runtime, r.display, kUser, &why).valid()) << r.display;
        EXPECT_EQ(why, r.refusal) << r.display;
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
