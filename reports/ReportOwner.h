// The user a saved report is given to: the one who started the program when
// it runs as root on their behalf (pkexec's PKEXEC_UID, or sudo's
// SUDO_UID/SUDO_GID), else nobody in particular (-1).
#pragma once

#include <string>

struct ReportOwner {
    long uid = -1;
    long gid = -1;
    std::string home;  // that user's home folder, else $HOME
};
ReportOwner CallingUser();
