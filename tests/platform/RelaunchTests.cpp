// The privileged relaunch, with pkexec replaced by stand-ins on PATH.
#include <gtest/gtest.h>

#include "platform/PrivilegedRelaunch.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
class Relaunch : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/kestrelia-relaunch-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        directory = name;
        const char* path = std::getenv("PATH");
        savedPath = path != nullptr ? path : "";
        setenv("PATH", directory.c_str(), 1);  // nothing else: no real pkexec can be reached
    }
    void TearDown() override
    {
        setenv("PATH", savedPath.c_str(), 1);
        fs::remove_all(directory);
    }
    // A pkexec that writes its arguments, one per line, and exits with status.
    void StandIn(int status)
    {
        const fs::path script = directory / "pkexec";
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done >> '"
                              << (directory / "calls").string() << "'\necho --- >> '"
                              << (directory / "calls").string() << "'\nexit " << status << "\n";
        fs::permissions(script, fs::perms::owner_all);
    }
    std::vector<std::string> Calls() const
    {
        std::ifstream in(directory / "calls");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    fs::path directory;
    std::string savedPath;
};

TEST_F(Relaunch, RunsThePrivilegedCopyOnceWithItsSingleArgumentAndTheDisplay)
{
    StandIn(0);
    setenv("DISPLAY", ":7", 1);
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(RelaunchWithAdministratorRights("/opt/kestrelia/bin/kestrelia", "/usr/bin/kestrelia").outcome,
              RelaunchOutcome::Relaunched);
    std::vector<std::string> calls = Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls.front(), "/usr/bin/env");
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"/opt/kestrelia/bin/kestrelia", "-un", "---"}));
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "---"), 1) << "exactly one relaunch";
    EXPECT_NE(std::find(calls.begin(), calls.end(), "DISPLAY=:7"), calls.end());
    // The installed program is run directly, under its polkit action.
    fs::remove(directory / "calls");
    EXPECT_EQ(RelaunchWithAdministratorRights("/usr/bin/kestrelia", "/usr/bin/kestrelia").outcome,
              RelaunchOutcome::Relaunched);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"/usr/bin/kestrelia", "-un", "---"}));
}

TEST_F(Relaunch, CancelRefusalAndAMissingPkexecAreToldApart)
{
    EXPECT_EQ(RelaunchWithAdministratorRights("/bin/true", "").outcome, RelaunchOutcome::ElevationMissing);
    for (const int status : {126, 127}) {
        StandIn(status);
        const RelaunchResult result = RelaunchWithAdministratorRights("/bin/true", "");
        EXPECT_EQ(result.outcome, RelaunchOutcome::Refused) << status;
        EXPECT_EQ(result.exitStatus, status);
    }
    StandIn(3);  // the privileged copy's own status is its business
    EXPECT_EQ(RelaunchWithAdministratorRights("/bin/true", "").outcome, RelaunchOutcome::Relaunched);
}

TEST(ExecutablePath, ReportsTheSizeNeededWhenTheBufferIsShort)
{
    uint32_t size = 0;
    EXPECT_EQ(MyGetExecutablePath(nullptr, &size), -1);
    ASSERT_GT(size, 1u);
    std::string path(size, '\0');
    EXPECT_EQ(MyGetExecutablePath(path.data(), &size), 0);
    path.resize(size - 1);
    EXPECT_EQ(fs::path(path).filename(), "platform_tests");
    EXPECT_EQ(path, fs::canonical("/proc/self/exe").string());
}
}  // namespace
