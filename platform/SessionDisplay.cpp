#include "platform/SessionDisplay.h"

#include "platform/ActAsUser.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/openat2.h>
#include <memory>
#include <regex>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
constexpr off_t kLargestXAuthority = 1 << 20;

// The one place that takes on the user's rights for this file.
std::unique_ptr<ActAsCallingUser> TakeUserRights(uid_t user, std::string* why)
{
    auto identity = std::make_unique<ActAsCallingUser>(UserInfoFor(user, -1, "pkexec"));
    if (identity->error() != 0) {
        *why = std::string("the user's rights could not be taken: ") + std::strerror(identity->error());
        return nullptr;
    }
    return identity;
}

UniqueFd Refuse(std::string* why, std::string text)
{
    *why = std::move(text);
    return UniqueFd();
}
}  // namespace

bool IsLocalXDisplay(const std::string& display)
{
    static const std::regex local("(unix)?:[0-9]{1,5}(\\.[0-9]{1,3})?");
    return display.size() <= 32 && std::regex_match(display, local);
}

UniqueFd PrivateXAuthorityCopy(const std::string& path, uid_t user, std::string* why)
{
    if (path.empty() || path[0] != '/')
        return Refuse(why, "not an absolute path");
    UniqueFd file;
    {
        const auto identity = TakeUserRights(user, why);
        if (!identity)
            return UniqueFd();
        // Non-blocking: a named pipe in its place must not hold up the start.
        file = UniqueFd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    }
    if (!file.valid())
        return Refuse(why, errno == ELOOP ? "it is a symbolic link" : std::strerror(errno));
    struct stat status {};
    if (fstat(file.get(), &status) != 0)
        return Refuse(why, std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        return Refuse(why, "not a regular file");
    if (status.st_uid != user)
        return Refuse(why, "not the user's own file");
    if (status.st_size > kLargestXAuthority)
        return Refuse(why, "larger than 1 MiB");
    std::string contents;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(file.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Refuse(why, std::strerror(errno));
        if (count == 0)
            break;
        contents.append(buffer, static_cast<std::size_t>(count));
        if (contents.size() > static_cast<std::size_t>(kLargestXAuthority))
            return Refuse(why, "larger than 1 MiB");
    }
    UniqueFd copy(memfd_create("kestrelia-xauthority", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    // One write to memory: anything short of all of it is a failure.
    if (!copy.valid() ||
        write(copy.get(), contents.data(), contents.size()) != static_cast<ssize_t>(contents.size()) ||
        fcntl(copy.get(), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0)
        return Refuse(why, std::string("no private copy: ") + std::strerror(errno));
    return copy;
}

UniqueFd ConnectWaylandAsUser(const std::string& runtimeDir, const std::string& display, uid_t user,
                              std::string* why)
{
    if (runtimeDir.empty() || runtimeDir[0] != '/')
        return Refuse(why, "the user's runtime folder (XDG_RUNTIME_DIR) is not known");
    std::string inside = display;
    if (!display.empty() && display[0] == '/') {
        const std::string prefix = runtimeDir + "/";
        if (display.compare(0, prefix.size(), prefix) != 0)
            return Refuse(why, "not inside the user's runtime folder");
        inside = display.substr(prefix.size());
    }
    if (inside.empty())
        return Refuse(why, "no socket name");
    const auto identity = TakeUserRights(user, why);
    if (!identity)
        return UniqueFd();
    const UniqueFd folder(open(runtimeDir.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid())
        return Refuse(why, std::string("the user's runtime folder: ") + std::strerror(errno));
    open_how how {};
    how.flags = O_PATH | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    const UniqueFd entry(static_cast<int>(syscall(SYS_openat2, folder.get(), inside.c_str(), &how, sizeof how)));
    if (!entry.valid())
        return Refuse(why, errno == EXDEV ? "it leads out of the user's runtime folder" : std::strerror(errno));
    struct stat status {};
    if (fstat(entry.get(), &status) != 0)
        return Refuse(why, std::strerror(errno));
    if (!S_ISSOCK(status.st_mode) || status.st_uid != user)
        return Refuse(why, "not a socket of the user's own");
    // Connected through the descriptor just checked, not through its name again.
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "/proc/self/fd/%d", entry.get());
    UniqueFd socketFd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socketFd.valid() || connect(socketFd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return Refuse(why, std::string("no connection: ") + std::strerror(errno));
    return socketFd;
}
