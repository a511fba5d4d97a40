// The privileged relaunch, with pkexec replaced by stand-ins on PATH.
#include <gtest/gtest.h>

#include "platform/PrivilegedRelaunch.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    // A pkexec that writes its arguments, one per line, says errorText on
    // stderr and exits with status.
    void StandIn(int status, const std::string& errorText = "")
    {
        const fs::path script = directory / "pkexec";
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done >> '"
                              << (directory / "calls").string() << "'\necho --- >> '"
                              << (directory / "calls").string() << "'\nprintf '%s\\n' '" << errorText
                              << "' >&2\nexit " << status << "\n";
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

TEST_F(Relaunch, RunsThePrivilegedCopyOnceWithItsSingleArgument)
{
    StandIn(0);
    setenv("DISPLAY", ":7", 1);
    const RelaunchResult result = RelaunchWithAdministratorRights("/opt/kestrelia/bin/kestrelia");
    EXPECT_EQ(result.outcome, RelaunchOutcome::Relaunched);
    // Nothing of the session on pkexec's command line: the copy reads it from its parent.
    EXPECT_EQ(Calls(), (std::vector<std::string>{"/opt/kestrelia/bin/kestrelia", "-un", "---"}));
}

TEST_F(Relaunch, EveryWayElevationFailsIsToldApart)
{
    EXPECT_EQ(RelaunchWithAdministratorRights("/bin/true").outcome, RelaunchOutcome::ElevationMissing);
    const struct {
        int status;
        const char* errorText;
        RelaunchOutcome outcome;
    } cases[] = {
        {0, "", RelaunchOutcome::Relaunched},
        {3, "", RelaunchOutcome::Relaunched},  // the privileged copy's own status is its business
        {126, "Error executing command as another user: Request dismissed", RelaunchOutcome::Cancelled},
        {127, "Error executing command as another user: Not authorized", RelaunchOutcome::Refused},
        {127, "Error executing command as another user: No authentication agent found.", RelaunchOutcome::NoAgent},
        {127, "Error getting authority: Error initializing authority: Could not connect: No such file or directory",
         RelaunchOutcome::NoAgent},
    };
    for (const auto& c : cases) {
        StandIn(c.status, c.errorText);
        const RelaunchResult result = RelaunchWithAdministratorRights("/bin/true");
        EXPECT_EQ(result.outcome, c.outcome) << c.status << " " << c.errorText;
        EXPECT_EQ(result.exitStatus, c.status);
    }
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
