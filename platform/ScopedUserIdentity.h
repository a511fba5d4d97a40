// File-system access with another user's rights for the length of a scope:
// file-system user and group ids and that user's supplementary groups, on the
// calling thread only. The kernel then checks every path component, link and
// permission as it would for that user.
#pragma once

#include <sys/types.h>
#include <vector>

class ScopedUserIdentity {
public:
    // uid's primary group and groups from the user database; uid alone as
    // its group when the user is not listed there.
    explicit ScopedUserIdentity(uid_t uid);
    ~ScopedUserIdentity();
    ScopedUserIdentity(const ScopedUserIdentity&) = delete;
    ScopedUserIdentity& operator=(const ScopedUserIdentity&) = delete;

    // 0, or the error number of the switch that failed: the identity is then
    // the process's own and nothing may be done for the user.
    int error() const { return error_; }

private:
    void Restore();

    int error_ = 0;
    bool switched_ = false;
    uid_t savedUid_ = 0;
    gid_t savedGid_ = 0;
    std::vector<gid_t> savedGroups_;
};
