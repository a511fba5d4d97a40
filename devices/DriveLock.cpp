#include "devices/DriveLock.h"

#include "devices/DevicePaths.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

bool DriveLock::Acquire(const std::string& devicePath)
{
    Release();
    char resolved[PATH_MAX];
    struct stat status {};
    if (!realpath(devicePath.c_str(), resolved) || stat(resolved, &status) != 0 || !S_ISBLK(status.st_mode))
        return false;
    const std::string drive = DrivePathForDevicePath(resolved);
    if (drive.empty())
        return false;
    const int fd = open(drive.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
            drive_ = drive;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    close(fd);
    return false;
}

void DriveLock::Release()
{
    if (fd_ >= 0)
        close(fd_);  // closing the only descriptor of the lock releases it
    fd_ = -1;
    drive_.clear();
}
