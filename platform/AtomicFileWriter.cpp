#include "platform/AtomicFileWriter.h"

#include "platform/ActAsUser.h"
#include "platform/RawDevice.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <sys/vfs.h>
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

// The system's own trees: devices, processes and kernel objects, by where a
// folder really is or by what is mounted there.
const char* SystemTreeOf(const std::string& resolved, int folder)
{
    for (const char* root : {"/dev", "/proc", "/sys"}) {
        const std::size_t length = std::strlen(root);
        if (resolved.compare(0, length, root) == 0 && (resolved.size() == length || resolved[length] == '/'))
            return root;
    }
    struct statfs volume {};
    if (fstatfs(folder, &volume) == 0) {
        if (volume.f_type == PROC_SUPER_MAGIC)
            return "/proc";
        if (volume.f_type == SYSFS_MAGIC)
            return "/sys";
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

// "PATH", or "PATH (RESOLVED)" when links or ".." lead elsewhere.
std::string Named(const std::string& given, const std::string& resolved)
{
    return given == resolved ? given : given + " (" + resolved + ")";
}

FileWriteResult Refused(std::string refusal, int errorNumber)
{
    return {errorNumber, "check", std::move(refusal), {}};
}

FileWriteResult Failed(int errorNumber, const char* step)
{
    return {errorNumber, step, {}, {}};
}

// Where a save goes: the folder, held open from the check to the rename, and
// the name in it.
struct Destination {
    UniqueFd folder;
    std::string realFolder;
    std::string name;
    bool created = false;  // made empty through a link by the check; removed again on failure

    void RemoveCreated() const
    {
        if (created)
            unlinkat(folder.get(), name.c_str(), 0);
    }
};

// Opens folder with the current identity, following links, and names where it really is.
FileWriteResult OpenFolder(const std::string& given, const std::string& folder, Destination* destination)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && errno == EACCES)
        fd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);  // searchable, not listable
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Refused("no folder " + folder + " to write " + given + " into", errno);
        return Failed(errno, "check");
    }
    destination->folder = UniqueFd(fd);
    char real[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = readlink(link.c_str(), real, sizeof real - 1);
    if (length <= 0)
        return Failed(length < 0 ? errno : EIO, "check");
    destination->realFolder.assign(real, static_cast<std::size_t>(length));
    return {};
}

// Follows given to the regular file it names or would create, checking every
// place it leads. Everything runs with the caller's identity.
FileWriteResult ResolveDestination(const std::string& given, const FileWriteOptions& options,
                                   Destination* destination)
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
    struct stat status {};
    bool exists = false;
    int hops = 0;
    for (;; ++hops) {
        destination->name = NameOf(current);
        if (destination->name.empty() || destination->name == "." || destination->name == "..")
            return Refused(given + " names a folder, not a file", EISDIR);
        if (FileWriteResult opened = OpenFolder(given, FolderOf(current), destination); !opened.ok())
            return opened;
        const std::string resolved = Joined(destination->realFolder, destination->name);
        const char* tree = SystemTreeOf(destination->realFolder, destination->folder.get());
        if (tree != nullptr && !options.systemTreesAllowed)
            return Refused(Named(given, resolved) + " is under " + tree + ", where no file is saved", EPERM);
        if (fstatat(destination->folder.get(), destination->name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return Failed(errno, "check");
            break;
        }
        exists = true;
        if (!S_ISLNK(status.st_mode)) {
            if (!S_ISREG(status.st_mode))
                return Refused(Named(given, resolved) + " is " + KindOf(status.st_mode) + ", not a file",
                               S_ISDIR(status.st_mode) ? EISDIR : EPERM);
            break;
        }
        if (hops == kMostLinksFollowed)
            return Failed(ELOOP, "check");
        char target[PATH_MAX];
        const ssize_t length =
            readlinkat(destination->folder.get(), destination->name.c_str(), target, sizeof target - 1);
        if (length <= 0)
            return Failed(length < 0 ? errno : ENOENT, "check");
        const std::string link(target, static_cast<std::size_t>(length));
        current = link.front() == '/' ? link : Joined(destination->realFolder, link);
        exists = false;
    }
    if (hops == 0)
        return {};
    // Reached through links: the kernel follows them once more with the same
    // identity, so its rules on links apply, and must arrive at the same file.
    const int fd = open(given.c_str(), exists ? O_PATH | O_CLOEXEC : O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC,
                        options.mode);
    if (fd < 0)
        return Failed(errno, "check");
    const UniqueFd followed(fd);
    destination->created = !exists;
    struct stat there {};
    struct stat here {};
    if (fstat(followed.get(), &there) != 0 ||
        fstatat(destination->folder.get(), destination->name.c_str(), &here, AT_SYMLINK_NOFOLLOW) != 0 ||
        there.st_dev != here.st_dev || there.st_ino != here.st_ino) {
        destination->RemoveCreated();
        return Failed(EAGAIN, "check");
    }
    return {};
}

// A new, empty file beside the destination with a hidden name; its name in *temporary.
int CreateFileBeside(const Destination& destination, mode_t mode, std::string* temporary)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    const std::string stem = "." + destination.name.substr(0, 200) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem;
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(source)];
        const int fd = openat(destination.folder.get(), name.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
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

int WriteAll(int fd, const std::string& bytes)
{
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t count = write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count < 0 ? errno : EIO;
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

// Writes and puts the new file in place; 0-result or the failed step.
FileWriteResult WriteAndReplace(const Destination& destination, const std::string& bytes,
                                const FileWriteOptions& options)
{
    std::string temporary;
    const int created = CreateFileBeside(destination, options.mode, &temporary);
    if (created < 0)
        return Failed(errno, "create");
    const int folder = destination.folder.get();
    const auto fail = [&](int errorNumber, const char* step) {
        unlinkat(folder, temporary.c_str(), 0);
        return Failed(errorNumber, step);
    };
    {
        UniqueFd file(created);
        if (const int error = WriteAll(file.get(), bytes); error != 0)
            return fail(error, "write");
        if (fsync(file.get()) != 0)
            return fail(errno, "write");
        if (close(file.release()) != 0)
            return fail(errno, "close");
    }
    // Something may have taken the destination's place since the check.
    struct stat status {};
    if (fstatat(folder, destination.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(status.st_mode))
        return fail(S_ISDIR(status.st_mode) ? EISDIR : EPERM, "replace");
    if (options.replaceExisting) {
        if (renameat(folder, temporary.c_str(), folder, destination.name.c_str()) != 0)
            return fail(errno, "replace");
    } else {
        if (linkat(folder, temporary.c_str(), folder, destination.name.c_str(), 0) != 0)
            return fail(errno, "replace");
        unlinkat(folder, temporary.c_str(), 0);
    }
    if (fsync(folder) != 0 && errno != EBADF && errno != EINVAL)
        return Failed(errno, "replace");
    return {};
}

// Runs step with the identity asked for; a switch that fails does nothing.
template <typename Step>
FileWriteResult WithIdentity(WriteIdentity identity, Step step)
{
    std::optional<ActAsCallingUser> asUser;
    if (identity == WriteIdentity::CallingUser)
        asUser.emplace();
    if (asUser && asUser->error() != 0)
        return Failed(asUser->error(), "identity");
    FileWriteResult result = step();
    if (asUser)
        result.writtenAs = WrittenAsText(asUser->user());
    return result;
}
}  // namespace

FileWriteResult WriteFileAtomically(const std::string& path, const std::string& bytes,
                                    const FileWriteOptions& options)
{
    return WithIdentity(options.identity, [&] {
        Destination destination;
        if (FileWriteResult resolved = ResolveDestination(path, options, &destination); !resolved.ok())
            return resolved;
        FileWriteResult result = WriteAndReplace(destination, bytes, options);
        if (!result.ok())
            destination.RemoveCreated();
        return result;
    });
}

FileWriteResult CheckFileDestination(const std::string& path, WriteIdentity identity)
{
    return WithIdentity(identity, [&] {
        Destination destination;
        if (FileWriteResult resolved = ResolveDestination(path, {identity}, &destination); !resolved.ok())
            return resolved;
        std::string temporary;
        const int created = CreateFileBeside(destination, 0600, &temporary);
        const int error = errno;
        if (created >= 0) {
            close(created);
            unlinkat(destination.folder.get(), temporary.c_str(), 0);
        }
        destination.RemoveCreated();
        return created < 0 ? Failed(error, "create") : FileWriteResult{};
    });
}

std::string FileWriteProblem(const std::string& path, const FileWriteResult& result)
{
    if (!result.refusal.empty())
        return result.refusal;
    std::string text = path + ": " + std::strerror(result.errorNumber);
    if (!result.writtenAs.empty())
        text += " (" + result.writtenAs + ")";
    return text;
}
