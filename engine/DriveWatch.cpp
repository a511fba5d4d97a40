#include "engine/DriveWatch.h"

#include "engine/DeviceTransfers.h"

namespace {
// Looking takes tens of milliseconds (every process's open files; 40 ms
// with 200 processes): at most once a second, so that it adds a few per
// cent to the test's length, and never inside a timed transfer.
constexpr uint64_t kLookIntervalNanoseconds = 1'000'000'000;
}  // namespace

void DriveWatch::Watch(DriveUsersLook look)
{
    look_ = std::move(look);
    lastLook_ = MonotonicNanoseconds();
}

std::string DriveWatch::NewUsers()
{
    if (!look_)
        return {};
    if (MonotonicNanoseconds() - lastLook_ < kLookIntervalNanoseconds)
        return {};
    const std::string users = look_();
    lastLook_ = MonotonicNanoseconds();
    if (users.empty())
        return {};
    return std::string(kDriveWatchStopMessage) + "\n" + users;
}
