#include "platform/RawDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int OpenWithFallback(const char* path, int flags, int* errorNumber)
{
    int fd = ::open(path, flags | O_DIRECT | O_CLOEXEC);
    if (fd < 0 && errno == EINVAL) {
        // Some file systems do not do direct I/O; a block device always does,
        // so only a regular file may be opened without it.
        struct stat st {};
        if (::stat(path, &st) == 0 && S_ISREG(st.st_mode))
            fd = ::open(path, flags | O_CLOEXEC);
        else
            errno = EINVAL;
    }
    if (fd < 0 && errorNumber != nullptr)
        *errorNumber = errno;
    return fd;
}
}  // namespace

int OpenRawForReading(const char* path, int* errorNumber)
{
    return OpenWithFallback(path, O_RDONLY, errorNumber);
}

int OpenRawForWriting(const char* path, int* errorNumber)
{
    return OpenWithFallback(path, O_WRONLY | O_EXCL, errorNumber);
}

bool QueryDeviceGeometry(int fd, DeviceGeometry* geometry, int* errorNumber)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        *errorNumber = errno;
        return false;
    }
    DeviceGeometry g;
    if (S_ISBLK(st.st_mode)) {
        g.isBlockDevice = true;
        uint64_t bytes = 0;
        int blockBytes = 512;
        if (::ioctl(fd, BLKGETSIZE64, &bytes) != 0 || ::ioctl(fd, BLKSSZGET, &blockBytes) != 0) {
            *errorNumber = errno;
            return false;
        }
        g.sizeBytes = bytes;
        g.logicalBlockBytes = blockBytes > 0 ? static_cast<uint32_t>(blockBytes) : 512;
    } else if (S_ISREG(st.st_mode)) {
        g.sizeBytes = static_cast<uint64_t>(st.st_size);
    } else {
        *errorNumber = ENOTBLK;
        return false;
    }
    *geometry = g;
    return true;
}

bool QueryPathGeometry(const char* path, DeviceGeometry* geometry, int* errorNumber)
{
    UniqueFd fd(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        *errorNumber = errno;
        return false;
    }
    return QueryDeviceGeometry(fd.get(), geometry, errorNumber);
}

void CloseRawDescriptor(int32_t* descriptor)
{
    if (*descriptor > 0)
        ::close(*descriptor);
    *descriptor = -1;
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int UniqueFd::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}
