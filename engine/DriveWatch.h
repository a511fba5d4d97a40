// While a write test runs, the worker looks between zones (and between the
// random test's read and write batches) for anything that has begun to use
// the drive since the launch checked it. One that has stops the run before
// its next write: every block written so far has been put back, the rest is
// left alone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Who else uses the drive under test, in the user's words; "" for nobody.
// Runs on the worker, so it must not touch the interface.
using DriveUsersLook = std::function<std::string()>;

inline constexpr const char* kDriveWatchStopMessage =
    "Sorry, the write test was stopped: another program began to use the drive. "
    "Every block written so far was put back.";

class DriveWatch {
public:
    // An empty look watches nothing. The launch has just looked.
    void Watch(DriveUsersLook look);

    // Worker, before a write: the alert text naming who has appeared, or ""
    // while nobody has (or while the last look is less than a second old).
    std::string NewUsers();

private:
    DriveUsersLook look_;
    uint64_t lastLook_ = 0;
};
