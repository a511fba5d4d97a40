// The privileged relaunch: the real pkexec against a polkit of the test's own,
// and stand-ins on PATH for what a test cannot make the real one do.
#include <gtest/gtest.h>

#include "platform/PrivilegedRelaunch.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Started again by the polkit sandbox, this executable asks for the rights as
// the user nobody and ends with the outcome.
const bool kRelaunchChild = [] {
    if (std::getenv("KESTRELIA_RELAUNCH_AS_NOBODY") == nullptr)
        return false;
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
        _exit(99);
    _exit(static_cast<int>(RelaunchWithAdministratorRights("/bin/true").outcome));
}();

TEST(Relaunch, TellsTheRealPkexecsFailuresApart)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "a polkit of the test's own needs root";
    if (FindOnPath("pkexec").empty())
        GTEST_SKIP() << "pkexec is not installed";
    const struct {
        const char* mode;
        RelaunchOutcome outcome;
    } cases[] = {
        {"no-bus", RelaunchOutcome::NoAgent},
        {"no-polkit", RelaunchOutcome::NoAgent},
        {"no-agent", RelaunchOutcome::NoAgent},  // and no password prompt on a terminal instead
        {"deny-nobody", RelaunchOutcome::Refused},
    };
    for (const auto& c : cases) {
        const std::string command = std::string("KESTRELIA_RELAUNCH_AS_NOBODY=1 ") + KESTRELIA_POLKIT_SANDBOX + " " +
                                    c.mode + " " + fs::read_symlink("/proc/self/exe").string() + " </dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 77)
            GTEST_SKIP() << "no polkit of the test's own could be started";
        EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(c.outcome)) << c.mode;
    }
}

// pkexec runs once with the program and its single argument: nothing of the
// session on its command line, the copy reads it from its parent.
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
