#include "platform/CallingUser.h"

#include <cerrno>
#include <cstdlib>
#include <grp.h>
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
    if (errno != 0 || *end != '\0' || value < 0 || value >= static_cast<long>(static_cast<uid_t>(-1)))
        return -1;
    return value;
}

// The password entry of uid; false when there is none.
bool LookUpUser(uid_t uid, passwd* entry, std::vector<char>* buffer)
{
    buffer->resize(16384);
    passwd* found = nullptr;
    return getpwuid_r(uid, entry, buffer->data(), buffer->size(), &found) == 0 && found != nullptr;
}

std::vector<gid_t> GroupsOf(const std::string& name, gid_t primary)
{
    std::vector<gid_t> groups(64);
    int count = static_cast<int>(groups.size());
    if (getgrouplist(name.c_str(), primary, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (getgrouplist(name.c_str(), primary, groups.data(), &count) < 0)
            return {primary};
    }
    groups.resize(static_cast<std::size_t>(count));
    return groups;
}
}  // namespace

CallingUserInfo UserInfoFor(uid_t uid, long gid, const std::string& via)
{
    CallingUserInfo user;
    user.uid = uid;
    user.via = via;
    passwd entry {};
    std::vector<char> buffer;
    const bool known = LookUpUser(uid, &entry, &buffer);
    // Without a group of its own, the user's number serves: never root's group.
    user.gid = gid >= 0 ? gid : known ? static_cast<long>(entry.pw_gid) : static_cast<long>(uid);
    user.name = known ? entry.pw_name : std::to_string(uid);
    if (known && entry.pw_dir != nullptr)
        user.home = entry.pw_dir;
    else if (const char* home = std::getenv("HOME"))
        user.home = home;  // written there with the user's rights all the same
    user.groups = known ? GroupsOf(user.name, static_cast<gid_t>(user.gid))
                        : std::vector<gid_t>{static_cast<gid_t>(user.gid)};
    return user;
}

CallingUserInfo CallingUser()
{
    if (getuid() == 0 && geteuid() == 0) {
        if (const long uid = IdFromEnvironment("PKEXEC_UID"); uid > 0)
            return UserInfoFor(static_cast<uid_t>(uid), -1, "pkexec");
        if (const long uid = IdFromEnvironment("SUDO_UID"); uid > 0)
            return UserInfoFor(static_cast<uid_t>(uid), IdFromEnvironment("SUDO_GID"), "sudo");
    }
    CallingUserInfo user;
    passwd entry {};
    std::vector<char> buffer;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        user.home = home;
    else if (LookUpUser(getuid(), &entry, &buffer) && entry.pw_dir != nullptr)
        user.home = entry.pw_dir;
    return user;
}

std::string WrittenAsText(const CallingUserInfo& user)
{
    if (!user.active())
        return {};
    return "written as user " + user.name + ", who started the program through " + user.via;
}
