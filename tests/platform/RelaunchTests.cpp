// The privileged relaunch, with pkexec replaced by stand-ins on PATH (the real
// one is run by tests/app/ProgramTests.cpp).
#include <gtest/gtest.h>

#include "platform/PrivilegedRelaunch.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// pkexec runs once, never asking on a terminal, with the program and its
// single argument (nothing of the session: the copy reads it from its parent);
// a dismissed dialog, which the real one cannot be made to give here, is told
// apart.
TEST(Relaunch, RunsThePrivilegedCopyOnce)
{
    char name[] = "/tmp/kestrelia-relaunch-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const fs::path folder = name;
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", name, 1);  // nothing else: no real pkexec can be reached
    setenv("DISPLAY", ":7", 1);
    EXPECT_EQ(RelaunchWithAdministratorRights("/bin/true").outcome, RelaunchOutcome::ElevationMissing);
    const struct {
        int status;
        const char* errorText;
        RelaunchOutcome outcome;
    } cases[] = {
        {0, "", RelaunchOutcome::Relaunched},
        {3, "", RelaunchOutcome::Relaunched},  // the privileged copy's own status is its business
        {126, "Error executing command as another user: Request dismissed", RelaunchOutcome::Cancelled},
        {127, "Cannot run program /opt/kestrelia/bin/kestrelia: No such file or directory", RelaunchOutcome::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.status) + " " + c.errorText);
        // A pkexec that writes its arguments, one per line, says errorText on stderr and exits with status.
        std::ofstream(folder / "pkexec") << "#!/bin/sh\nprintf '%s\\n' \"$@\" --- >> '" << (folder / "calls").string()
                                         << "'\necho '" << c.errorText << "' >&2\nexit " << c.status << "\n";
        fs::permissions(folder / "pkexec", fs::perms::owner_all);
        const RelaunchResult result = RelaunchWithAdministratorRights("/opt/kestrelia/bin/kestrelia");
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.exitStatus, c.status);
        std::ifstream in(folder / "calls");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
                  "--disable-internal-agent\n/opt/kestrelia/bin/kestrelia\n-un\n---\n");
        fs::remove(folder / "calls");
    }
    setenv("PATH", savedPath.c_str(), 1);
    fs::remove_all(folder);
}
}  // namespace
