#include "platform/ActAsUser.h"

#include <cerrno>
#include <sys/fsuid.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// The raw call changes the calling thread's groups only; the C library's
// setgroups() would change every thread of the process.
int SetThreadGroups(const std::vector<gid_t>& groups)
{
    return static_cast<int>(syscall(SYS_setgroups, groups.size(), groups.data()));
}
}  // namespace

ActAsCallingUser::ActAsCallingUser() : ActAsCallingUser(CallingUser()) {}

ActAsCallingUser::ActAsCallingUser(const CallingUserInfo& user) : user_(user)
{
    if (!user_.active())
        return;
    const uid_t uid = static_cast<uid_t>(user_.uid);
    const gid_t gid = static_cast<gid_t>(user_.gid);
    const int count = getgroups(0, nullptr);
    savedGroups_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count < 0 || getgroups(count, savedGroups_.data()) != count) {
        error_ = count < 0 ? errno : EAGAIN;
        return;
    }
    if (SetThreadGroups(user_.groups.empty() ? std::vector<gid_t>{gid} : user_.groups) != 0) {
        error_ = errno;
        return;
    }
    groupsChanged_ = true;
    // Each call returns the identity before it: the second one tells whether the first took.
    savedGid_ = static_cast<gid_t>(setfsgid(gid));
    gidChanged_ = true;
    if (static_cast<gid_t>(setfsgid(gid)) != gid) {
        error_ = EPERM;
        Restore();
        return;
    }
    savedUid_ = static_cast<uid_t>(setfsuid(uid));
    uidChanged_ = true;
    if (static_cast<uid_t>(setfsuid(uid)) != uid) {
        error_ = EPERM;
        Restore();
    }
}

ActAsCallingUser::~ActAsCallingUser()
{
    Restore();
}

void ActAsCallingUser::Restore()
{
    if (uidChanged_)
        setfsuid(savedUid_);
    if (gidChanged_)
        setfsgid(savedGid_);
    if (groupsChanged_)
        SetThreadGroups(savedGroups_);
    uidChanged_ = gidChanged_ = groupsChanged_ = false;
}
