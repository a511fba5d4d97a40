// The desktop program as installed and as started: its installed tree, a run
// until it is told to quit and one without its resources, and the privileged
// relaunch of a copy started by an ordinary user.
#include "LoopDevice.h"
#include "app/Startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
const std::string kProgram = KESTRELIA_APP_PATH;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Program : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/kestrelia-program-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        fs::permissions(folder, fs::perms::all);  // the ordinary user writes here too
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
};

// Started by an ordinary user (nobody, with only a pkexec stand-in that
// records its arguments on PATH): exactly one call of pkexec for the
// privileged copy and no window of its own, or a failed elevation said.
TEST_F(Program, AnOrdinaryUserGetsExactlyOnePrivilegedCopyOrIsToldWhyNot)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "changing to another user needs root";
    // A pkexecStatus of -1: no pkexec installed.
    const struct { int pkexecStatus; int status; std::vector<std::string> said; } rows[] = {
        {0, 0, {}},
        {3, 0, {}},  // the privileged copy's own status is its business
        {-1, 1, {"pkexec is not installed"}},
        {127, 1, {"Kestrelia could not be started with administrator rights."}},
        {126, 1, {"Error: Kestrelia was not given administrator rights: the request was cancelled.",
                  "sudo kestrelia-cli"}},
    };
    const fs::path bin = folder / "bin";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pkexecStatus);
        fs::remove_all(bin);
        fs::remove(folder / "calls");
        fs::create_directory(bin);
        fs::permissions(bin, fs::perms::all);
        if (row.pkexecStatus >= 0) {
            std::ofstream(bin / "pkexec") << "#!/bin/sh\necho \"$@\" >> " << (folder / "calls").string() << "\nexit "
                                          << row.pkexecStatus << "\n";
            fs::permissions(bin / "pkexec", fs::perms::all);
        }
        std::string output;
        EXPECT_EQ(RunCommand("cd " + folder.string() + " && env -i QT_QPA_PLATFORM=offscreen HOME=" + folder.string() +
                                 " XDG_CONFIG_HOME=" + (folder / "config").string() + " PATH=" + bin.string() +
                                 " /usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups " + kProgram,
                             &output),
                  row.status)
            << output;
        for (const std::string& text : row.said)
            EXPECT_NE(output.find(text), std::string::npos) << output;
        EXPECT_EQ(ReadText(folder / "calls"),
                  row.pkexecStatus < 0 ? "" : "--disable-internal-agent " + kProgram + " -un\n");
        EXPECT_FALSE(fs::exists(folder / "config" / "Kestrelia")) << "no window was built, nothing saved";
    }
    // The real pkexec against a polkit of the test's own: no system bus, no polkit on it, no agent
    // (and no password asked on the terminal instead), and a refusal, each said as what it is.
    const char* const noAgent = "no polkit authentication agent is running";
    for (const auto& [mode, said] : {std::pair{"no-bus", noAgent}, {"no-polkit", noAgent}, {"no-agent", noAgent},
                                     {"deny-nobody", "the authorisation was refused"}}) {
        std::string output;
        const int status = RunCommand(std::string(KESTRELIA_POLKIT_SANDBOX " ") + mode +
                                          " env -i QT_QPA_PLATFORM=offscreen HOME=" + folder.string() +
                                          " PATH=/usr/bin:/bin /usr/bin/setpriv --reuid=65534 --regid=65534 "
                                          "--clear-groups " + kProgram + " </dev/null",
                                      &output);
        if (status == 77)
            GTEST_SKIP() << "no polkit of the test's own: " << output;
        EXPECT_EQ(status, 1) << mode << ": " << output;
        EXPECT_NE(output.find(said), std::string::npos) << mode << ": " << output;
    }
}

// Granted the rights by the real pkexec, the privileged copy shows its window on
// the user's Wayland desktop (a headless weston of nobody's, whose log of requests
// holds the window's title), with the socket named in the runtime folder or in full.
TEST_F(Program, ThePrivilegedCopysWindowReachesTheUsersWaylandDesktop)
{
    std::string output;
    if (geteuid() != 0 || RunCommand("command -v weston", &output) != 0)
        GTEST_SKIP() << "needs root and weston";
    const std::string runtime = (folder / "runtime").string();
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    ASSERT_EQ(chown(runtime.c_str(), 65534, 65534), 0);
    // Inside the polkit's own mount namespace, where root's home is a private one too. The
    // privileged copy is ended as at Quit; without it the ordinary one, which says why.
    const std::string nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME=" + folder.string() +
                               " XDG_RUNTIME_DIR=" + runtime + " PATH=/usr/bin:/bin ";
    const std::string script =
        "mount -t tmpfs -o mode=0700 kestrelia-root /root; log=" + folder.string() + "/weston.log; " + nobody +
        "WAYLAND_DEBUG=server weston --backend=headless-backend.so --socket=wayland-kt >/dev/null 2>$log & w=$!; "
        "i=0; until [ -S " + runtime + "/wayland-kt ] || [ $i -gt 100 ]; do sleep 0.1; i=$((i+1)); done; " + nobody +
        "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=$0 " + kProgram + " & u=$!; "
        "i=0; until grep -q \"set_title(.Kestrelia.)\" $log || [ $i -gt 200 ]; do sleep 0.1; i=$((i+1)); done; "
        "c=$(cat /proc/$u/task/$u/children 2>/dev/null); kill ${c:-$u}; wait $u; s=$?; kill $w; wait $w; "
        "grep -o \"set_title(.Kestrelia.)\" $log; exit $s";
    for (const std::string& display : {std::string("wayland-kt"), runtime + "/wayland-kt"}) {
        const int status = RunCommand(std::string(KESTRELIA_POLKIT_SANDBOX " allow-nobody sh -c '") + script +
                                          "' " + display,
                                      &output);
        if (status == 77)
            GTEST_SKIP() << "no polkit of the test's own: " << output;
        EXPECT_EQ(status, 0) << display << ": " << output;
        EXPECT_NE(output.find("set_title(\"Kestrelia\")"), std::string::npos) << display << ": " << output;
    }
}

TEST_F(Program, TheInstalledTreeHoldsEverythingADesktopNeedsAndRuns)
{
    // Installed into a staging folder (DESTDIR), as a package is made: the polkit action
    // goes to /usr/share/polkit-1/actions whatever the prefix and names the program's real
    // path, here once through a link in the prefix.
    const fs::path stage = folder / "stage";
    fs::create_directories(stage / "opt" / "kestrelia-real");
    fs::create_directory_symlink("kestrelia-real", stage / "opt" / "kestrelia-link");
    const fs::path policy = stage / "usr/share/polkit-1/actions/org.kestrelia.Kestrelia.policy";
    std::string output;
    for (const auto& [prefix, execPath] : {std::pair<std::string, std::string>{"/opt/kestrelia-link", "/opt/kestrelia-real/bin/kestrelia"},
                                           {"/usr/local", "/usr/local/bin/kestrelia"}}) {
        ASSERT_EQ(RunCommand("DESTDIR=" + stage.string() + " cmake --install " KESTRELIA_BUILD_DIR " --prefix " + prefix,
                             &output),
                  0)
            << output;
        EXPECT_NE(ReadText(policy).find("<annotate key=\"org.freedesktop.policykit.exec.path\">" + execPath +
                                        "</annotate>"),
                  std::string::npos)
            << prefix << "\n" << ReadText(policy);
        EXPECT_TRUE(fs::exists(stage.string() + execPath)) << execPath;
    }
    const fs::path prefix = stage / "usr/local";
    // (The program itself and its icon are the run's below.)
    for (const char* file : {"bin/kestrelia-cli", "libexec/kestrelia/kestrelia-cli-qt.so",
                             "share/kestrelia/unknownDevice.icns", "share/kestrelia/Gear16.icns",
                             "share/kestrelia/Localizable.strings",
                             "share/applications/org.kestrelia.Kestrelia.desktop",
                             "share/metainfo/org.kestrelia.Kestrelia.metainfo.xml",
                             "share/icons/hicolor/scalable/apps/org.kestrelia.Kestrelia.svg",
                             "share/icons/hicolor/16x16/apps/org.kestrelia.Kestrelia.png",
                             "share/icons/hicolor/512x512/apps/org.kestrelia.Kestrelia.png",
                             "share/man/man1/kestrelia.1.gz", "share/man/man1/kestrelia-cli.1.gz",
                             "share/bash-completion/completions/kestrelia-cli"})
        EXPECT_TRUE(fs::exists(prefix / file)) << file;
    // The shipped program holds no picture-run path.
    EXPECT_EQ(ReadText(prefix / "bin/kestrelia").find("KESTRELIA_SCREENSHOT"), std::string::npos);
    // What the desktop reads passes its validators, without hints.
    if (RunCommand("command -v desktop-file-validate && command -v appstreamcli", &output) == 0) {
        const std::string share = (prefix / "share").string();
        const std::string desktop = share + "/applications/org.kestrelia.Kestrelia.desktop";
        EXPECT_EQ(RunCommand("desktop-file-validate " + desktop, &output), 0);
        EXPECT_EQ(output, "");
        const std::string metainfo = share + "/metainfo/org.kestrelia.Kestrelia.metainfo.xml";
        EXPECT_EQ(RunCommand("appstreamcli validate --pedantic --explain " + metainfo, &output), 0) << output;
    }
    if (geteuid() != 0)
        return;
    // The installed program finds its resources, runs until it is told to quit
    // (SIGTERM, as Quit) and saves the preferences.
    const std::string run =
        "XDG_CONFIG_HOME=" + (folder / "config").string() + " " + (prefix / "bin/kestrelia").string();
    EXPECT_EQ(RunCommand("timeout -s TERM 3 env " + run + "; test $? -eq 124", &output), 0) << output;
    EXPECT_NE(ReadText(folder / "config" / "Kestrelia" / "Kestrelia.ini").find("AppPrefsVersionNum=66305"),
              std::string::npos);
    // So does a hangup that comes while its libraries load, long before the window is up.
    fs::remove(folder / "config" / "Kestrelia" / "Kestrelia.ini");
    EXPECT_EQ(RunCommand("env LD_PRELOAD=" HANGUP_AT_LOAD " " + run, &output), 0) << output;
    EXPECT_TRUE(fs::exists(folder / "config" / "Kestrelia" / "Kestrelia.ini"));
    // Without its resources it ends quietly.
    fs::remove_all(prefix / "share/kestrelia");
    EXPECT_EQ(RunCommand(run + " 2>&1 | grep -v XDG_RUNTIME_DIR", &output), 1) << "grep finds nothing: " << output;
}

TEST(Startup, KernelCheck)
{
    EXPECT_TRUE(KernelIsRecentEnough("6.1.0-13-amd64"));
    EXPECT_TRUE(KernelIsRecentEnough("3.0.0"));
    EXPECT_FALSE(KernelIsRecentEnough("2.6.32-754.el6.x86_64"));
    EXPECT_FALSE(KernelIsRecentEnough("garbage"));
}
}  // namespace
