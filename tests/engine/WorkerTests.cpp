// The worker thread: one test at a time, and a stop that always ends it,
// also while it waits for the interface in a request. Stops at random
// moments of whole runs are tested through the window on a loop drive.
#include "EngineFixture.h"

#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TestWorker.h"

#include <chrono>
#include <condition_variable>
#include <thread>

namespace {

// A host whose interface thread is busy: requests wait until released.
class BusyInterfaceHost final : public InterfaceHost {
public:
    int32_t CallOnInterfaceThread(RemoteProcedure, void*) override
    {
        std::unique_lock lock(mutex_);
        ++waiting_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
        --waiting_;
        return kRemoteCallAbandoned;
    }
    void ReleaseWaitingWorker() override
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    void WaitUntilWorkerWaits()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_ > 0; });
    }
    void PostTestFinished() override { ++finished; }
    bool OnInterfaceThread() const override { return false; }
    void SetStaticText(WindowRef, int32_t, const char*, bool) override {}
    void SetProgressBarValue(int32_t, int32_t) override {}
    void DrawTestResults() override {}
    void ShowAlert(int16_t, const char*) override {}

    std::atomic<int> finished{0};

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int waiting_ = 0;
    bool released_ = false;
};

class Worker : public EngineFixture {};

TEST_F(Worker, RunsOneTestAtATimeAndPostsItsEnd)
{
    Device(8 << 20).transferDelayMicroseconds = 2000;  // still running at the checks below
    ASSERT_TRUE(PrepareStandard(4, 2, 1, true));
    ASSERT_TRUE(StartTestWorker());
    EXPECT_TRUE(bTestRunning.load()) << "raised before the thread runs";
    EXPECT_FALSE(StartTestWorker()) << "a second Start must not launch a second test";
    while (bTestRunning.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    JoinFinishedTestWorker();
    EXPECT_FALSE(TestWorkerExists());
    EXPECT_EQ(1, host.finished);
    EXPECT_EQ(4u + 2 * 4 * 2, device->log.size());
}

TEST_F(Worker, StopReleasesAWorkerWaitingForTheInterface)
{
    for (int round = 0; round < 20; ++round) {
        BusyInterfaceHost busy;
        SetInterfaceHost(&busy);
        Device(8 << 20);
        ASSERT_TRUE(PrepareStandard(4, 2, 1, true));
        ASSERT_TRUE(StartTestWorker());
        busy.WaitUntilWorkerWaits();  // blocked in its first status text
        StopTestWorker();
        EXPECT_FALSE(TestWorkerExists());
        EXPECT_EQ(0, busy.finished.load());
        EXPECT_TRUE(device->log.empty()) << "no transfer after the stop";
        SetInterfaceHost(&host);
    }
}

}  // namespace
