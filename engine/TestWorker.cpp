#include "engine/TestWorker.h"

#include "engine/InterfaceHost.h"
#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/ZoneTests.h"

#include <atomic>
#include <system_error>
#include <thread>

#include <atomic>

namespace {
std::thread gWorker;
// Set once the worker has posted its finished notice.
std::atomic<bool> gFinishPosted{false};
std::atomic<bool> gLastTestCompleted{false};
}

int32_t MyTask(void*)
{
    RunSelectedSpeedTestMP();
    return 0;
}

void RunSelectedSpeedTestMP()
{
    bTestRunning.store(true);
    gAnimatedCursorIndexU32.store(1);
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ShowWaitCursorFrame(0);
    if (gCurrentSelectedTestType == 1)
        DoStandardZoneTestMP();
    else
        DoRandomZoneTestMP();
}

void FinishTestMP(bool completed)
{
    gLastTestCompleted.store(completed);
    bTestRunning.store(false);
    gFinishPosted.store(true);
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->PostTestFinished();
}

bool StartTestWorker()
{
    if (gWorker.joinable())
        return false;
    ClearTestStopRequest();
    gFinishPosted.store(false);
    gLastTestCompleted.store(false);
    bTestRunning.store(true);
    try {
        gWorker = std::thread([] {
            MyTask(nullptr);
            // A worker that stopped on request says so, so that Stop need not wait for it.
            if (!gFinishPosted.load())
                if (InterfaceHost* host = CurrentInterfaceHost())
                    host->PostTestStopped();
        });
    } catch (const std::system_error&) {
        bTestRunning.store(false);
        return false;
    }
    return true;
}

void RequestTestWorkerStop()
{
    if (!gWorker.joinable())
        return;
    RequestTestStop();
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ReleaseWaitingWorker();
}

void StopTestWorker()
{
    if (!gWorker.joinable())
        return;
    RequestTestWorkerStop();
    gWorker.join();
    ClearTestStopRequest();
}

void JoinFinishedTestWorker()
{
    if (gWorker.joinable())
        gWorker.join();
    ClearTestStopRequest();
}

bool TestWorkerExists()
{
    return gWorker.joinable();
}

bool LastTestCompleted()
{
    return gLastTestCompleted.load();
}
