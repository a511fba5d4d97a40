// The program from launch to quit, and the privileged relaunch of a copy
// started by an ordinary user with pkexec replaced by a recording stand-in.
#include "LoopDevice.h"
#include "app/Startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
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
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    void TearDown() override { fs::remove_all(folder); }

    // A pkexec stand-in that records its arguments and ends with status.
    void StandIn(int status)
    {
        fs::create_directory(folder / "bin");
        fs::permissions(folder / "bin", fs::perms::all);
        const fs::path script = folder / "bin" / "pkexec";
        std::ofstream(script) << "#!/bin/sh\necho \"$@\" >> " << (folder / "calls").string() << "\nexit " << status
                              << "\n";
        fs::permissions(script, fs::perms::all);
    }
    // Runs the program as the nobody user with only the stand-in's folder on PATH.
    int RunUnprivileged(std::string* output)
    {
        const std::string command = "cd " + folder.string() + " && env -i QT_QPA_PLATFORM=offscreen HOME=" +
                                    folder.string() + " XDG_CONFIG_HOME=" + (folder / "config").string() +
                                    " PATH=" + (folder / "bin").string() +
                                    " /usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups " + kProgram;
        return RunCommand(command, output);
    }

    fs::path folder;
};

TEST_F(Program, TestsALoopDriveThroughItsWindowAndQuitsWithThePreferencesSaved)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    LoopDevice drive(2ull << 30, "");
    ASSERT_TRUE(drive.attached()) << drive.error();
    ASSERT_TRUE(drive.FillWithPattern());
    const std::string checksum = drive.Checksum();

    // The picture run of the same program: it chooses the drive in the popup,
    // sets 32 MB, 10 zones and 5 cycles in the options sheet, presses Start,
    // runs the random test too, and quits by itself when done.
    std::string output;
    const int status = RunCommand("XDG_CONFIG_HOME=" + (folder / "config").string() +
                                      " XDG_DATA_HOME=" + (folder / "data").string() +
                                      " KESTRELIA_SCREENSHOTS=" + folder.string() +
                                      " KESTRELIA_SCREENSHOT_DRIVE=" + drive.node() + " timeout 300 " +
                                      KESTRELIA_PICTURES_PATH,
                                  &output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_TRUE(fs::is_regular_file(folder / "finished.png"));
    EXPECT_TRUE(fs::is_regular_file(folder / "random.png"));
    const std::string preferences = ReadText(folder / "config" / "Kestrelia" / "Kestrelia.ini");
    EXPECT_NE(preferences.find("ZonesPopup=10"), std::string::npos) << preferences;
    EXPECT_NE(preferences.find("IterationsPopup=5"), std::string::npos) << preferences;
    EXPECT_NE(preferences.find("TransferSize=32"), std::string::npos) << preferences;
    // Every write put back what it read.
    RunCommand("blockdev --flushbufs " + drive.node());
    EXPECT_EQ(drive.Checksum(), checksum);
    // The shipped program holds no such test path.
    EXPECT_EQ(ReadText(kProgram).find("KESTRELIA_SCREENSHOT"), std::string::npos);
}

TEST_F(Program, AnOrdinaryUserGetsExactlyOnePrivilegedCopy)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "changing to another user needs root";
    StandIn(0);
    std::string output;
    EXPECT_EQ(RunUnprivileged(&output), 0) << output;
    const std::string calls = ReadText(folder / "calls");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), 1) << calls;
    EXPECT_NE(calls.find(kProgram + " -un\n"), std::string::npos) << calls;
    EXPECT_FALSE(fs::exists(folder / "config" / "Kestrelia")) << "no window was built, nothing saved";
}

TEST_F(Program, AFailedElevationIsSaidNotSwallowed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "changing to another user needs root";
    std::string output;
    fs::create_directory(folder / "bin");
    EXPECT_EQ(RunUnprivileged(&output), 1);
    EXPECT_NE(output.find("pkexec is not installed"), std::string::npos) << output;

    StandIn(126);  // the user dismissed the password dialog
    EXPECT_EQ(RunUnprivileged(&output), 1);
    EXPECT_NE(output.find("Error: Kestrelia was not given administrator rights: the request was cancelled."),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("sudo kestrelia-cli"), std::string::npos) << output;
}

TEST_F(Program, WithoutItsResourcesItEndsQuietly)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "the privileged run needs root";
    fs::create_directory(folder / "bin");
    fs::copy_file(kProgram, folder / "bin" / "kestrelia");
    fs::permissions(folder / "bin" / "kestrelia", fs::perms::owner_all);
    std::string output;
    EXPECT_EQ(RunCommand((folder / "bin" / "kestrelia").string() + " 2>&1 | grep -v XDG_RUNTIME_DIR", &output), 1)
        << "grep finds nothing: " << output;
}

TEST_F(Program, TheInstalledTreeHoldsEverythingADesktopNeeds)
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
    for (const char* file : {"bin/kestrelia", "bin/kestrelia-cli", "share/kestrelia/AppIcon.icns",
                             "share/kestrelia/unknownDevice.icns", "share/kestrelia/Gear16.icns",
                             "share/kestrelia/ui/MainWindow.ui", "share/kestrelia/ui/OptionsSheet.ui",
                             "share/kestrelia/ui/AboutWindow.ui", "share/kestrelia/Localizable.strings",
                             "share/applications/org.kestrelia.Kestrelia.desktop",
                             "share/metainfo/org.kestrelia.Kestrelia.metainfo.xml",
                             "share/icons/hicolor/scalable/apps/org.kestrelia.Kestrelia.svg",
                             "share/icons/hicolor/16x16/apps/org.kestrelia.Kestrelia.png",
                             "share/icons/hicolor/512x512/apps/org.kestrelia.Kestrelia.png",
                             "share/man/man1/kestrelia.1.gz", "share/man/man1/kestrelia-cli.1.gz",
                             "share/bash-completion/completions/kestrelia-cli"})
        EXPECT_TRUE(fs::exists(prefix / file)) << file;
    // What the desktop reads passes its validators, without hints.
    if (RunCommand("command -v desktop-file-validate && command -v appstreamcli", &output) == 0) {
        EXPECT_EQ(RunCommand("desktop-file-validate " + (prefix / "share/applications/org.kestrelia.Kestrelia.desktop").string(), &output), 0);
        EXPECT_EQ(output, "");
        EXPECT_EQ(RunCommand("appstreamcli validate --no-net --explain " +
                                 (prefix / "share/metainfo/org.kestrelia.Kestrelia.metainfo.xml").string(),
                             &output),
                  0)
            << output;
    }
    if (geteuid() != 0)
        return;
    // The installed program finds its resources, runs until it is told to quit
    // (SIGTERM, as Quit) and saves the preferences.
    const std::string config = (folder / "config").string();
    EXPECT_EQ(RunCommand("XDG_CONFIG_HOME=" + config + " timeout -s TERM 3 " + (prefix / "bin/kestrelia").string() +
                             "; test $? -eq 124",
                         &output),
              0)
        << output;
    EXPECT_NE(ReadText(folder / "config" / "Kestrelia" / "Kestrelia.ini").find("AppPrefsVersionNum=66305"),
              std::string::npos);
}

TEST(Startup, KernelCheck)
{
    EXPECT_TRUE(KernelIsRecentEnough("6.1.0-13-amd64"));
    EXPECT_TRUE(KernelIsRecentEnough("3.0.0"));
    EXPECT_FALSE(KernelIsRecentEnough("2.6.32-754.el6.x86_64"));
    EXPECT_FALSE(KernelIsRecentEnough("garbage"));
}
}  // namespace
