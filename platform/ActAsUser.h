// File-system access as the calling user for the length of a scope: the
// kernel checks every path component, link and folder with that user's
// rights (file-system user and group, and the user's own supplementary
// groups in place of root's), and what is created belongs to them. Only the
// calling thread is affected. Without a calling user nothing changes.
#pragma once

#include "platform/CallingUser.h"

#include <sys/types.h>
#include <vector>

class ActAsCallingUser {
public:
    ActAsCallingUser();
    explicit ActAsCallingUser(const CallingUserInfo& user);
    ~ActAsCallingUser();
    ActAsCallingUser(const ActAsCallingUser&) = delete;
    ActAsCallingUser& operator=(const ActAsCallingUser&) = delete;

    // 0, or the error number of the switch that failed (the identity is then
    // as before, and nothing may be done for the user).
    int error() const { return error_; }
    const CallingUserInfo& user() const { return user_; }

private:
    void Restore();

    CallingUserInfo user_;
    int error_ = 0;
    bool groupsChanged_ = false;
    bool gidChanged_ = false;
    bool uidChanged_ = false;
    uid_t savedUid_ = 0;
    gid_t savedGid_ = 0;
    std::vector<gid_t> savedGroups_;
};
