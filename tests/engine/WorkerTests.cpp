// The worker thread: one test at a time, and a Stop that ends it also while
// it waits for the interface in a request. Stops at random moments of whole
// runs are tested through the window on a loop drive.
#include "EngineFixture.h"

#include "engine/TestModel.h"
#include "engine/TestWorker.h"

namespace {

// An interface thread that answers no request until the waiting worker is released.
class BusyInterfaceHost final : public RecordingHost {
public:
    int32_t CallOnInterfaceThread(RemoteProcedure, void*) override
    {
        waiting = true;
        waiting.notify_all();
        released.wait(false);
        return kRemoteCallAbandoned;
    }
    void ReleaseWaitingWorker() override
    {
        released = true;
        released.notify_all();
    }

    std::atomic<bool> waiting{false};
    std::atomic<bool> released{false};
};

using Worker = EngineFixture;

TEST_F(Worker, RunsOneTestAtATimeAndStopReleasesItWhileItWaitsForTheInterface)
{
    for (int round = 0; round < 20; ++round) {
        BusyInterfaceHost busy;
        SetInterfaceHost(&busy);
        Device(8 << 20);
        ASSERT_TRUE(PrepareStandard(4, 2, 1, true));
        ASSERT_TRUE(StartTestWorker());
        EXPECT_TRUE(bTestRunning.load()) << "raised before the thread runs";
        EXPECT_FALSE(StartTestWorker()) << "a second Start must not launch a second test";
        busy.waiting.wait(false);  // blocked in its first status text
        StopTestWorker();
        EXPECT_FALSE(TestWorkerExists());
        EXPECT_EQ(0, busy.finished.load());
        EXPECT_EQ(1, busy.stopped.load()) << "a worker that stopped on request says so";
        EXPECT_TRUE(device->log.empty()) << "no transfer after the stop";
        SetInterfaceHost(&host);
    }
}

}  // namespace
