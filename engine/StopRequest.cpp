#include "engine/StopRequest.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {
std::atomic<bool> gStopRequested{false};
std::mutex gStopMutex;
std::condition_variable gStopSignal;
}  // namespace

void RequestTestStop()
{
    {
        const std::lock_guard lock(gStopMutex);
        gStopRequested.store(true);
    }
    gStopSignal.notify_all();
}

void ClearTestStopRequest()
{
    const std::lock_guard lock(gStopMutex);
    gStopRequested.store(false);
}

bool TestStopRequested()
{
    return gStopRequested.load(std::memory_order_relaxed);
}

void SleepUntilOrStopped(unsigned long long deadlineNanoseconds)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline{std::chrono::nanoseconds(deadlineNanoseconds)};
    std::unique_lock lock(gStopMutex);
    gStopSignal.wait_until(lock, deadline, [] { return gStopRequested.load(); });
}
