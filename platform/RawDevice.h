// Raw access to a device node (a whole disk or a partition, /dev/NAME) or to
// a regular file, for timed transfers that bypass the page cache.
#pragma once

#include <cstdint>

struct DeviceGeometry {
    uint64_t sizeBytes = 0;
    // Offsets of direct transfers are multiples of this: a device's logical
    // block size, a file's direct I/O alignment.
    uint32_t logicalBlockBytes = 512;
    bool isBlockDevice = false;
};

// Opens path read-only for direct I/O. Returns the descriptor, or -1 with the
// error number in *errorNumber (EINVAL when the file system refuses direct
// I/O: there is no fallback to the page cache).
int OpenRawForReading(const char* path, int* errorNumber);

// Opens path write-only for direct I/O and exclusively: the kernel refuses a
// block device that a mounted file system or another exclusive user holds
// (EBUSY), so a test never writes under a file system.
int OpenRawForWriting(const char* path, int* errorNumber);

// True for a block device that the kernel has made read-only (BLKROGET, or
// "ro" in sysfs).
bool DeviceIsReadOnly(int fd);

// Size and direct I/O alignment of an open device or file.
bool QueryDeviceGeometry(int fd, DeviceGeometry* geometry, int* errorNumber);

// Size and geometry of a path without keeping it open.
bool QueryPathGeometry(const char* path, DeviceGeometry* geometry, int* errorNumber);

// Closes a descriptor that counts as open (above 0) and sets it to -1.
void CloseRawDescriptor(int32_t* descriptor);

// Owns one descriptor and closes it on destruction.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    ~UniqueFd();
    int get() const { return fd_; }
    int release();
    bool valid() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};
