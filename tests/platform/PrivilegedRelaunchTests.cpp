// pkexec's standard error passes through and tells its refusal, also when a
// signal interrupts the reads or our own standard error takes nothing.
#include "platform/PrivilegedRelaunch.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/time.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(PrivilegedRelaunch, RefusalToldWithInterruptedReadsAndAFullStandardError)
{
    char name[] = "/tmp/kestrelia-relaunch-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const fs::path folder = name;
    const std::string refusal = "Error executing command as another user: Not authorized\n";
    std::ofstream(folder / "pkexec") << "#!/bin/sh\necho asked >&2; sleep 0.3; printf '" << refusal
                                      << "' >&2; exit 127\n";
    fs::permissions(folder / "pkexec", fs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (folder.string() + ":" + path).c_str(), 1);
    for (const bool interrupted : {true, false}) {
        // Interrupted every 10 ms by a signal handled without SA_RESTART; else
        // a pass-through that never ends is ended by the signal after 10 s.
        struct sigaction action {};
        action.sa_handler = interrupted ? +[](int) {} : SIG_DFL;
        sigaction(SIGALRM, &action, nullptr);
        const itimerval timer = interrupted ? itimerval{{0, 10000}, {0, 10000}} : itimerval{{0, 0}, {10, 0}};
        const int standardError = dup(STDERR_FILENO);
        const int errorFile = open(interrupted ? (folder / "said").c_str() : "/dev/full", O_WRONLY | O_CREAT, 0600);
        dup2(errorFile, STDERR_FILENO);
        close(errorFile);
        setitimer(ITIMER_REAL, &timer, nullptr);
        const RelaunchOutcome outcome = RelaunchWithAdministratorRights("/bin/true").outcome;
        const itimerval stopped{};
        setitimer(ITIMER_REAL, &stopped, nullptr);
        dup2(standardError, STDERR_FILENO);
        close(standardError);
        EXPECT_EQ(RelaunchOutcome::Refused, outcome) << (interrupted ? "interrupted" : "/dev/full");
    }
    setenv("PATH", path.c_str(), 1);
    std::ifstream said(folder / "said");
    EXPECT_EQ("asked\n" + refusal, std::string(std::istreambuf_iterator<char>(said), {}));
    fs::remove_all(folder);
}
