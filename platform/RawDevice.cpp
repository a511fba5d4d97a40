#include "platform/RawDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
int OpenDirect(const char* path, int flags, int* errorNumber)
{
    // Never through the page cache: the numbers would be the cache's speed.
    const int fd = ::open(path, flags | O_DIRECT | O_CLOEXEC);
    if (fd < 0 && errorNumber != nullptr)
        *errorNumber = errno;
    return fd;
}

// A number from a sysfs attribute file, or 0.
uint64_t SysfsNumber(const std::string& path)
{
    std::ifstream in(path);
    uint64_t value = 0;
    return (in >> value) ? value : 0;
}

// The block device's folder in sysfs; a partition's queue lies with its drive.
std::string SysfsBlockFolder(dev_t device)
{
    return "/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device));
}

uint32_t SysfsLogicalBlockBytes(dev_t device)
{
    const std::string folder = SysfsBlockFolder(device);
    uint64_t bytes = SysfsNumber(folder + "/queue/logical_block_size");
    if (bytes == 0)
        bytes = SysfsNumber(folder + "/../queue/logical_block_size");
    return static_cast<uint32_t>(bytes);
}

// The offset alignment of direct transfers as the kernel gives it (statx), or 0.
uint32_t KernelDirectIoAlignment(int fd)
{
    struct statx extended {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_DIOALIGN, &extended) == 0 &&
        (extended.stx_mask & STATX_DIOALIGN) != 0)
        return extended.stx_dio_offset_align;
    return 0;
}

// Offsets of direct transfers on a regular file must be multiples of this:
// what the kernel says, else the logical block size of the device the file
// system lies on, else a page when no single device holds it.
uint32_t FileDirectIoAlignment(int fd, const struct stat& st)
{
    if (const uint32_t bytes = KernelDirectIoAlignment(fd); bytes != 0)
        return bytes;
    if (const uint32_t bytes = SysfsLogicalBlockBytes(st.st_dev); bytes != 0)
        return bytes;
    return static_cast<uint32_t>(::sysconf(_SC_PAGESIZE));
}
}  // namespace

int OpenRawForReading(const char* path, int* errorNumber)
{
    return OpenDirect(path, O_RDONLY, errorNumber);
}

int OpenRawForWriting(const char* path, int* errorNumber)
{
    return OpenDirect(path, O_WRONLY | O_EXCL, errorNumber);
}

bool DeviceIsReadOnly(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISBLK(st.st_mode))
        return false;
    int readOnly = 0;
    if (::ioctl(fd, BLKROGET, &readOnly) == 0 && readOnly != 0)
        return true;
    return SysfsNumber(SysfsBlockFolder(st.st_rdev) + "/ro") != 0;
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
        const uint32_t kernelAlignment = KernelDirectIoAlignment(fd);
        g.logicalBlockBytes = kernelAlignment != 0 ? kernelAlignment
                              : blockBytes > 0     ? static_cast<uint32_t>(blockBytes)
                                                   : 512;
    } else if (S_ISREG(st.st_mode)) {
        g.sizeBytes = static_cast<uint64_t>(st.st_size);
        g.logicalBlockBytes = FileDirectIoAlignment(fd, st);
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
