// While a write test runs, the worker looks between zones (and between the
// random test's read and write batches) for anything that has begun to use
// the drive since the launch checked it. One that has stops the test before
// its next write, with an alert naming it: every block written so far has
// been put back, the rest is left alone.
#pragma once

#include <functional>
#include <string>

// Who else uses the drive under test, in the user's words; "" for nobody.
// Runs on the worker, so it must not touch the interface.
using DriveUsersLook = std::function<std::string()>;

inline constexpr const char* kDriveWatchStopMessage =
    "Sorry, the write test was stopped: another program began to use the drive. "
    "Every block written so far was put back.";

// Set before the worker starts; an empty look watches nothing. Cleared (by
// setting an empty one) once the worker has ended. Either way the last
// test's "stopped by the watch" is forgotten.
void SetDriveWatch(DriveUsersLook look);

// Worker, before a write: true when a user has appeared; the alert naming it
// has then been shown and the test must end without writing again.
bool DriveWatchStopsTest();

// True when the last watched test was stopped by the watch.
bool DriveWatchStoppedTest();
