#include "reports/OutputPath.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kMostLinksFollowed = 40;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Joined(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The system's own trees: devices, processes and kernel objects.
const char* SystemTreeOf(const std::string& resolved)
{
    for (const char* root : {"/dev", "/proc", "/sys"}) {
        const std::size_t length = std::strlen(root);
        if (resolved.compare(0, length, root) == 0 && (resolved.size() == length || resolved[length] == '/'))
            return root;
    }
    return nullptr;
}

// What a file that is not a regular file is, for the refusal.
const char* KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

OutputPathCheck Refused(std::string refusal, int errorNumber)
{
    OutputPathCheck check;
    check.refusal = std::move(refusal);
    check.errorNumber = errorNumber;
    return check;
}

// "PATH", or "PATH (RESOLVED)" when links or ".." lead elsewhere.
std::string Named(const std::string& given, const std::string& resolved)
{
    return given == resolved ? given : given + " (" + resolved + ")";
}
}  // namespace

OutputPathCheck CheckOutputPath(const std::string& given)
{
    if (given.empty())
        return Refused("no file name given", EINVAL);
    if (given.back() == '/')
        return Refused(given + " names a folder, not a file", EISDIR);

    std::string current = given;
    if (current.front() != '/') {
        char folder[PATH_MAX];
        if (getcwd(folder, sizeof folder) == nullptr)
            return Refused(std::string("no current folder: ") + std::strerror(errno), errno);
        current = Joined(folder, current);
    }
    // Follow symbolic links in the last part of the name to the file they name.
    struct stat status {};
    bool exists = false;
    for (int hops = 0;; ++hops) {
        if (lstat(current.c_str(), &status) != 0) {
            if (errno != ENOENT)
                return Refused(given + ": " + std::strerror(errno), errno);
            break;
        }
        exists = true;
        if (!S_ISLNK(status.st_mode))
            break;
        if (hops == kMostLinksFollowed)
            return Refused(given + ": " + std::strerror(ELOOP), ELOOP);
        char target[PATH_MAX];
        const ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0)
            return Refused(given + ": " + std::strerror(errno), errno);
        const std::string link(target, static_cast<std::size_t>(length));
        current = link.front() == '/' ? link : Joined(FolderOf(current), link);
        exists = false;
    }

    // The folder with every link and ".." resolved.
    const std::string name = NameOf(current);
    char folder[PATH_MAX];
    if (realpath(FolderOf(current).c_str(), folder) == nullptr)
        return Refused("no folder " + FolderOf(current) + " to write " + given + " into", ENOENT);
    struct stat folderStatus {};
    if (stat(folder, &folderStatus) != 0 || !S_ISDIR(folderStatus.st_mode))
        return Refused("no folder " + std::string(folder) + " to write " + given + " into", ENOTDIR);
    if (name.empty() || name == "." || name == "..")
        return Refused(given + " names a folder, not a file", EISDIR);
    const std::string resolved = Joined(folder, name);

    if (const char* tree = SystemTreeOf(resolved))
        return Refused(Named(given, resolved) + " is under " + tree + ", where no file is saved", EPERM);
    if (exists && !S_ISREG(status.st_mode)) {
        const int errorNumber = S_ISDIR(status.st_mode) ? EISDIR : EPERM;
        return Refused(Named(given, resolved) + " is " + KindOf(status.st_mode) + ", not a file", errorNumber);
    }
    OutputPathCheck check;
    check.path = resolved;
    return check;
}

int CreateFileBeside(const std::string& destination, std::string* temporary)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    const std::string stem = Joined(FolderOf(destination), "." + NameOf(destination) + ".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem;
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(source)];
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            *temporary = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

int ReplaceWithFile(const std::string& temporary, const std::string& destination)
{
    // Something may have taken the destination's place since the check.
    struct stat status {};
    if (lstat(destination.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return S_ISDIR(status.st_mode) ? EISDIR : EPERM;
    if (rename(temporary.c_str(), destination.c_str()) != 0)
        return errno;
    return 0;
}

OutputSaveResult SaveFileContents(const std::string& path, const std::string& bytes, long ownerUid,
                                  long ownerGid)
{
    const OutputPathCheck check = CheckOutputPath(path);
    if (!check.ok())
        return {check.errorNumber, "check", check.refusal};
    std::string temporary;
    const int fd = CreateFileBeside(check.path, &temporary);
    if (fd < 0)
        return {errno, "create", {}};
    const auto fail = [&](int errorNumber, const char* step) {
        if (fd >= 0)
            close(fd);
        unlink(temporary.c_str());
        return OutputSaveResult{errorNumber, step, {}};
    };
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t count = write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return fail(count < 0 ? errno : EIO, "write");
        written += static_cast<std::size_t>(count);
    }
    if (fsync(fd) != 0)
        return fail(errno, "write");
    if (fchmod(fd, 0644) != 0)
        return fail(errno, "permissions");
    if (ownerUid >= 0 && fchown(fd, static_cast<uid_t>(ownerUid), static_cast<gid_t>(ownerGid)) != 0)
        return fail(errno, "owner");
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return {error, "close", {}};
    }
    if (const int error = ReplaceWithFile(temporary, check.path); error != 0) {
        unlink(temporary.c_str());
        return {error, "replace", {}};
    }
    return {};
}
