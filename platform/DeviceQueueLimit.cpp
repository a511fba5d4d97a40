#include "platform/DeviceQueueLimit.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>

namespace {
// The first number in a sysfs attribute; 0 when it is missing or no number.
uint32_t ReadCount(const std::string& path)
{
    std::ifstream file(path);
    unsigned long value = 0;
    if (!(file >> value) || value > UINT32_MAX)
        return 0;
    return static_cast<uint32_t>(value);
}
}  // namespace

uint32_t DeviceQueueLimit(int descriptor, const std::string& sysfsRoot)
{
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return 0;
    dev_t device = 0;
    if (S_ISBLK(status.st_mode))
        device = status.st_rdev;
    else if (S_ISREG(status.st_mode))
        device = status.st_dev;
    else
        return 0;
    // A partition's directory lies inside its disk's, which holds the queue.
    const std::string node = sysfsRoot + "/dev/block/" + std::to_string(major(device)) + ":" +
                             std::to_string(minor(device));
    struct stat entry {};
    const std::string disk = stat((node + "/partition").c_str(), &entry) == 0 ? node + "/.." : node;
    // Only a queue of requests (blk-mq, with its "mq" folder) holds them back; a device that
    // passes the transfers on (device mapper, md) shows a number that limits nothing.
    if (stat((disk + "/mq").c_str(), &entry) != 0)
        return 0;
    return ReadCount(disk + "/queue/nr_requests");
}
