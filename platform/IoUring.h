// io_uring through liburing: a ring that keeps many transfers in flight on
// one descriptor, with one buffer registered for fixed transfers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// True when this kernel lets the process set up an io_uring (it may be
// missing, or switched off by sysctl or a seccomp filter).
bool IoUringAvailable();

class IoUringQueue {
public:
    IoUringQueue();
    ~IoUringQueue();
    IoUringQueue(const IoUringQueue&) = delete;
    IoUringQueue& operator=(const IoUringQueue&) = delete;

    // Sets up a ring with room for `entries` submissions; 0 or a negative error number.
    // The ring is then the calling thread's: only it may submit and reap.
    int Init(unsigned entries);
    // Registers one buffer for fixed transfers; 0 or a negative error number.
    // Transfers into or out of it then skip the per-transfer page pinning.
    int RegisterBuffer(void* buffer, std::size_t bytes);

    // Prepares one transfer of `bytes` at `offset` between buffer and fd,
    // marked with tag; it reaches the kernel at the next SubmitAndWait.
    // False when the submission queue is full.
    bool Prepare(bool isRead, int fd, void* buffer, uint32_t bytes, uint64_t offset, uint64_t tag);
    // Hands every prepared transfer to the kernel without waiting: the number
    // submitted, or a negative error number.
    int Submit();
    // Hands every prepared transfer to the kernel and waits until at least
    // waitCount completions are ready: the number submitted, or a negative error number.
    int SubmitAndWait(unsigned waitCount);
    // Prepared transfers the kernel has not taken yet.
    unsigned Unsubmitted() const;
    // Takes one ready completion without waiting; false when none is ready.
    bool TakeCompletion(uint64_t* tag, int32_t* result);
    // Waits for one completion: 0, or a negative error number.
    int WaitCompletion(uint64_t* tag, int32_t* result);

private:
    struct Ring;
    std::unique_ptr<Ring> ring_;
    bool registered_ = false;
    const unsigned char* registeredBase_ = nullptr;
    std::size_t registeredBytes_ = 0;
};
