// The user the program acts for. Run as root through pkexec or sudo, that is
// the user who started it (PKEXEC_UID, else SUDO_UID/SUDO_GID); these are
// believed only when the process really runs as root, real and effective
// user both, so an ordinary user's environment can point nowhere else.
// Otherwise there is no calling user and files are the process's own.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct CallingUserInfo {
    long uid = -1;            // -1: no calling user
    long gid = -1;
    std::string name;         // login name, else the number
    std::string home;         // that user's home folder, else $HOME
    std::string via;          // "pkexec" or "sudo"
    std::vector<gid_t> groups;  // every group of the user, the primary one included
    bool active() const { return uid >= 0; }
};

CallingUserInfo CallingUser();

// The user with this number as the program acts for them (gid -1: the
// user's own primary group), with "via" naming how they started it.
CallingUserInfo UserInfoFor(uid_t uid, long gid, const std::string& via);

// "written as user alice, who started the program through sudo"; empty
// without a calling user.
std::string WrittenAsText(const CallingUserInfo& user);
