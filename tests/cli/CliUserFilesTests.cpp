// kestrelia-cli run as root for an ordinary user (sudo, pkexec), with links
// that user planted: every file the user names is written with the user's
// rights, refused before any test when the user may not write it, and
// nothing of root's is touched or given away.
#include "LoopDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Removes the ordinary user the test made.
struct RemovedAtEnd {
    std::string user;
    ~RemovedAtEnd() { RunCommand("userdel " + user + "; groupdel " + user + " 2>/dev/null"); }
};

TEST(CliUserFiles, EveryFileTheUserNamesIsWrittenWithTheirRights)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act for another user";
    SKIP_WITHOUT_LOOP_DEVICES();
    const fs::path folder = "/tmp/kestrelia-userfiles-" + std::to_string(getpid());
    const fs::path home = folder / "home", rootOnly = folder / "root-only", groupRoot = folder / "group-root";
    ASSERT_EQ(0, RunCommand("install -d -m 0755 " + folder.string() + " " + rootOnly.string() + " && install -d -m 0770 " +
                            groupRoot.string()));
    const fs::path victim = rootOnly / "victim.conf";
    std::ofstream(victim) << "root's own\n";
    fs::permissions(victim, fs::perms(0600));
    const std::string name = "kestrelia-u" + std::to_string(getpid());
    std::string out;
    ASSERT_EQ(0, RunCommand("useradd -M -U -s /usr/sbin/nologin -d " + home.string() + " " + name +
                            " && install -d -o " + name + " -g " + name + " " + home.string(), &out)) << out;
    const RemovedAtEnd removed{name};
    const passwd* user = getpwnam(name.c_str());
    ASSERT_NE(user, nullptr);
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;
    // The user's own links: a "report in its home" naming root's file, and its
    // data folder in a folder only group root may write.
    ASSERT_EQ(0, RunCommand("runuser -u " + name + " -- sh -c 'ln -s " + victim.string() + " " +
                                (home / "results.txt").string() + " && mkdir " + (home / ".local").string() +
                                " && ln -s " + groupRoot.string() + " " + (home / ".local/share").string() + "'",
                            &out)) << out;
    LoopDevice device(16ull << 20, "");
    ASSERT_TRUE(device.attached()) << device.error();
    ASSERT_TRUE(device.FillWithPattern());
    const std::string checksum = device.Checksum();

    const std::string ids = "=" + std::to_string(uid) + " ";
    // Run with group root among its groups, as root usually is.
    const std::string start = "cd " + home.string() + " && umask 022 && setpriv --groups 0 env -u XDG_DATA_HOME ";
    const std::string sudo = start + "-u PKEXEC_UID SUDO_UID" + ids + "SUDO_GID=" + std::to_string(gid) +
                             " " KESTRELIA_CLI_PATH " --zones 1 ";
    const std::string pkexec = start + "-u SUDO_UID PKEXEC_UID" + ids + KESTRELIA_CLI_PATH " --zones 1 ";
    const std::string denied = std::string(": ") + std::strerror(EACCES) + " (written as user " + name +
                               ", who started the program through ";
    const struct { std::string command; int exitStatus; std::string message; } rows[] = {
        {sudo + "--report results.txt " + device.node(), 2, "--report: results.txt" + denied + "sudo)"},
        {sudo + "--graph " + (rootOnly / "g.png").string() + " " + device.node(), 2, "g.png" + denied + "sudo)"},
        {pkexec + "--save-json " + (rootOnly / "r.json").string() + " " + device.node(), 2, denied + "pkexec)"},
        {"{ " + sudo + "--report /proc/self/fd/1 " + device.node() + " > out.txt; }", 2,
         "is under /proc, where no file is saved"},
        // The test runs; its history cannot be kept through the user's link, the report in the user's folder is theirs.
        {sudo + "--report own.txt " + device.node(), 0,
         "could not be kept in the history: " + (home / ".local/share/kestrelia").string()},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.exitStatus, RunCommand(row.command, &out)) << row.command << ": " << out;
        EXPECT_NE(std::string::npos, out.find(row.message)) << row.command << ": " << out;
    }
    EXPECT_NE(std::string::npos, out.find(denied)) << out;

    // Root's file as it was, the user's report the user's own.
    RunCommand("stat -c '%u:%g %a' " + victim.string() + " " + (home / "own.txt").string() + " && cat " + victim.string(), &out);
    EXPECT_EQ("0:0 600\n" + std::to_string(uid) + ":" + std::to_string(gid) + " 644\nroot's own\n", out);
    EXPECT_EQ(1, std::distance(fs::directory_iterator(rootOnly), fs::directory_iterator()));
    EXPECT_TRUE(fs::is_empty(groupRoot));
    EXPECT_TRUE(fs::is_empty(home / "out.txt"));
    EXPECT_EQ(checksum, device.Checksum());
    fs::remove_all(folder);
}
}  // namespace
