#include "reports/ReportOwner.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {
// A user or group number from the environment; -1 when unset or malformed.
long IdFromEnvironment(const char* name)
{
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return -1;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < 0)
        return -1;
    return value;
}
}  // namespace

ReportOwner CallingUser()
{
    ReportOwner owner;
    long uid = IdFromEnvironment("PKEXEC_UID");
    long gid = -1;
    if (uid < 0) {
        uid = IdFromEnvironment("SUDO_UID");
        gid = IdFromEnvironment("SUDO_GID");
    }
    const passwd* user = uid >= 0 ? getpwuid(static_cast<uid_t>(uid)) : nullptr;
    if (uid >= 0 && geteuid() == 0 && static_cast<uid_t>(uid) != geteuid()) {
        owner.uid = uid;
        owner.gid = gid >= 0 ? gid : (user != nullptr ? static_cast<long>(user->pw_gid) : -1);
        if (owner.gid < 0)
            owner.uid = -1;  // a file given to a user without a group would be half theirs
    }
    if (user != nullptr && user->pw_dir != nullptr)
        owner.home = user->pw_dir;
    else if (const char* home = std::getenv("HOME"))
        owner.home = home;
    return owner;
}
