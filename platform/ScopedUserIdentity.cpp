#include "platform/ScopedUserIdentity.h"

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/fsuid.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// The raw call changes the calling thread's groups only; the C library's
// setgroups() changes every thread of the process.
int SetThreadGroups(const std::vector<gid_t>& groups)
{
    return static_cast<int>(syscall(SYS_setgroups, groups.size(), groups.data()));
}

void GroupsOf(uid_t uid, gid_t* primary, std::vector<gid_t>* groups)
{
    *primary = static_cast<gid_t>(uid);
    *groups = {*primary};
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return;
    *primary = entry.pw_gid;
    int count = 64;
    groups->assign(static_cast<std::size_t>(count), 0);
    if (getgrouplist(entry.pw_name, entry.pw_gid, groups->data(), &count) < 0) {
        groups->assign(static_cast<std::size_t>(count), 0);
        if (getgrouplist(entry.pw_name, entry.pw_gid, groups->data(), &count) < 0)
            count = 0;
    }
    groups->resize(static_cast<std::size_t>(count));
    if (groups->empty())
        groups->push_back(*primary);
}
}  // namespace

ScopedUserIdentity::ScopedUserIdentity(uid_t uid)
{
    gid_t gid = 0;
    std::vector<gid_t> groups;
    GroupsOf(uid, &gid, &groups);
    const int count = getgroups(0, nullptr);
    savedGroups_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count < 0 || getgroups(count, savedGroups_.data()) != count) {
        error_ = count < 0 ? errno : EAGAIN;
        return;
    }
    if (SetThreadGroups(groups) != 0) {
        error_ = errno;
        return;
    }
    switched_ = true;
    // Each call returns the id before it: the second call tells whether the first one took.
    savedGid_ = static_cast<gid_t>(setfsgid(gid));
    savedUid_ = static_cast<uid_t>(setfsuid(uid));
    if (static_cast<gid_t>(setfsgid(gid)) != gid || static_cast<uid_t>(setfsuid(uid)) != uid) {
        error_ = EPERM;
        Restore();
    }
}

ScopedUserIdentity::~ScopedUserIdentity()
{
    Restore();
}

void ScopedUserIdentity::Restore()
{
    if (!switched_)
        return;
    setfsuid(savedUid_);
    setfsgid(savedGid_);
    SetThreadGroups(savedGroups_);
    switched_ = false;
}
