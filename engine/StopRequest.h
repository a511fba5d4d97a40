// Stop is a request that the worker checks between transfers; the worker then
// ends the run without posting the finished notice. Each run has its own.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

class StopRequest {
public:
    void Request();
    void Clear();
    bool Requested() const { return requested_.load(std::memory_order_relaxed); }

    // Sleeps until the deadline of the monotonic clock or until a stop is requested.
    void SleepUntil(unsigned long long deadlineNanoseconds) const;

private:
    std::atomic<bool> requested_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable signal_;
};
