// The privileged copy's session, read from a parent process (the whole way, from
// an ordinary user's copy, in the program's own test of a Wayland desktop).
#include <gtest/gtest.h>

#include "platform/SessionDisplay.h"
#include "platform/SessionImport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <map>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
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
    void TearDown() override { fs::remove_all(folder); }
    std::string Path(const char* name) const { return (folder / name).string(); }
    fs::path folder;
};

TEST_F(SessionImport, OnlyTheAllowlistWithValidValuesPasses)
{
    const struct { const char* name; std::string value; bool taken; } cases[] = {
        {"DISPLAY", "unix:0.1", true},
        {"DISPLAY", "localhost:10.0", false},  // over the network
        {"DISPLAY", ":0;touch /x", false},
        {"XDG_RUNTIME_DIR", Path("root-runtime"), false},  // not the user's
        {"XDG_RUNTIME_DIR", Path("runtime-link"), false},  // a link
        {"XDG_RUNTIME_DIR", "runtime", false},             // relative
        {"LC_MESSAGES", "fr_FR.UTF-8@euro", true},
        {"LANGUAGE", "de:en", true},
        {"LANGUAGE", std::string(64, 'a') + ":" + std::string(63, 'b') + ":" + std::string(63, 'c') + ":" +
                         std::string(63, 'd'), true},  // 256 characters, the most
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
    const struct { std::string display; const char* refusal; } refused[] = {
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
    std::string block;
    for (const std::string entry : {"DISPLAY=:5", "WAYLAND_DISPLAY=wayland-1", "LANG=de_DE.UTF-8", "LC_TIME=../../tmp/x",
                                    "LD_PRELOAD=libm.so.6", "QT_PLUGIN_PATH=/tmp/evil", "LOCPATH=/tmp", "PATH=/tmp",
                                    "QT_SCALE_FACTOR=2", "QT_QPA_PLATFORM=xcb", "DBUS_SESSION_BUS_ADDRESS=unix:path=/x"})
        block += entry + '\0';
    const SessionVariables variables = AllowedSessionVariables(block, kUser, nullptr);
    const std::map<std::string, std::string> expected = {
        {"DISPLAY", ":5"}, {"WAYLAND_DISPLAY", "wayland-1"}, {"LANG", "de_DE.UTF-8"}, {"QT_SCALE_FACTOR", "2"}};
    const std::map<std::string, std::string> taken(variables.begin(), variables.end());
    EXPECT_EQ(taken, expected);

    // Not the user pkexec names (this process, not nobody's), or another program (the test's own parent).
    SessionVariables read;
    EXPECT_EQ(ReadSessionOf(getpid(), kUser, &read), SessionImportStatus::NotSameUser);
    EXPECT_EQ(ReadSessionOf(getppid(), kUser, &read), SessionImportStatus::NotSameProgram);
    EXPECT_TRUE(read.empty());
}
}  // namespace
