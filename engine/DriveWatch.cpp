#include "engine/DriveWatch.h"

#include "engine/DeviceTransfers.h"
#include "engine/InterfaceHost.h"
#include "engine/TestModel.h"
#include "engine/WorkerBridge.h"

#include <atomic>

namespace {
// Looking takes tens of milliseconds (every process's open files; 40 ms
// with 200 processes): at most once a second, so that it adds a few per
// cent to the test's length, and never inside a timed transfer.
constexpr uint64_t kLookIntervalNanoseconds = 1'000'000'000;

DriveUsersLook gLook;
uint64_t gLastLook = 0;
std::atomic<bool> gStopped{false};
std::string gAlertText;

int32_t RemoteShowDriveWatchAlert(void* text)
{
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ShowAlert(0, static_cast<const std::string*>(text)->c_str());
    return 0;
}
}  // namespace

void SetDriveWatch(DriveUsersLook look)
{
    gLook = std::move(look);
    gLastLook = UpTimeNanoseconds();  // the launch has just looked
    gStopped = false;
}

bool DriveWatchStopsTest()
{
    if (!gLook || !gWriteTestEnabled)
        return false;
    const uint64_t now = UpTimeNanoseconds();
    if (now - gLastLook < kLookIntervalNanoseconds)
        return false;
    const std::string users = gLook();
    gLastLook = UpTimeNanoseconds();
    if (users.empty())
        return false;
    gStopped = true;
    gAlertText = std::string(kDriveWatchStopMessage) + "\n" + users;
    MPRemoteCall(RemoteShowDriveWatchAlert, &gAlertText);
    return true;
}

bool DriveWatchStoppedTest()
{
    return gStopped.load();
}
