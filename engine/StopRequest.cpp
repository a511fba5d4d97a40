#include "engine/StopRequest.h"

#include <chrono>

void StopRequest::Request()
{
    {
        const std::lock_guard lock(mutex_);
        requested_.store(true);
    }
    signal_.notify_all();
}

void StopRequest::Clear()
{
    const std::lock_guard lock(mutex_);
    requested_.store(false);
}

void StopRequest::SleepUntil(unsigned long long deadlineNanoseconds) const
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline{std::chrono::nanoseconds(deadlineNanoseconds)};
    std::unique_lock lock(mutex_);
    signal_.wait_until(lock, deadline, [this] { return requested_.load(); });
}
