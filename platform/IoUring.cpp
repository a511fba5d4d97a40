#include "platform/IoUring.h"

#include <liburing.h>

#include <cerrno>

struct IoUringQueue::Ring {
    io_uring ring{};
    bool ready = false;
};

bool IoUringAvailable()
{
    IoUringQueue probe;
    return probe.Init(2) == 0;
}

IoUringQueue::IoUringQueue() : ring_(std::make_unique<Ring>()) {}

IoUringQueue::~IoUringQueue()
{
    if (!ring_->ready)
        return;
    if (registered_)
        io_uring_unregister_buffers(&ring_->ring);
    io_uring_queue_exit(&ring_->ring);
}

int IoUringQueue::Init(unsigned entries)
{
    if (ring_->ready)
        return -EBUSY;
    // One thread submits and reaps, and only when it waits: completions are
    // then posted at its next wait, with no interrupt of the running thread
    // per completion. Kernels older than 6.1 refuse the flags: a plain ring.
    io_uring_params params{};
    params.flags = IORING_SETUP_COOP_TASKRUN | IORING_SETUP_SINGLE_ISSUER | IORING_SETUP_DEFER_TASKRUN;
    int status = io_uring_queue_init_params(entries, &ring_->ring, &params);
    if (status == -EINVAL)
        status = io_uring_queue_init(entries, &ring_->ring, 0);
    ring_->ready = status == 0;
    return status;
}

int IoUringQueue::RegisterBuffer(void* buffer, std::size_t bytes)
{
    if (!ring_->ready)
        return -EBADF;
    const iovec vector{buffer, bytes};
    const int status = io_uring_register_buffers(&ring_->ring, &vector, 1);
    registered_ = status == 0;
    registeredBase_ = registered_ ? static_cast<const unsigned char*>(buffer) : nullptr;
    registeredBytes_ = registered_ ? bytes : 0;
    return status;
}

bool IoUringQueue::Prepare(bool isRead, int fd, void* buffer, uint32_t bytes, uint64_t offset, uint64_t tag)
{
    io_uring_sqe* sqe = io_uring_get_sqe(&ring_->ring);
    if (sqe == nullptr)
        return false;
    const auto* at = static_cast<const unsigned char*>(buffer);
    const bool fixed = registered_ && at >= registeredBase_ && at + bytes <= registeredBase_ + registeredBytes_;
    if (isRead && fixed)
        io_uring_prep_read_fixed(sqe, fd, buffer, bytes, offset, 0);
    else if (isRead)
        io_uring_prep_read(sqe, fd, buffer, bytes, offset);
    else if (fixed)
        io_uring_prep_write_fixed(sqe, fd, buffer, bytes, offset, 0);
    else
        io_uring_prep_write(sqe, fd, buffer, bytes, offset);
    io_uring_sqe_set_data64(sqe, tag);
    return true;
}

int IoUringQueue::Submit()
{
    return io_uring_submit(&ring_->ring);
}

int IoUringQueue::SubmitAndWait(unsigned waitCount)
{
    return io_uring_submit_and_wait(&ring_->ring, waitCount);
}

unsigned IoUringQueue::Unsubmitted() const
{
    return io_uring_sq_ready(&ring_->ring);
}

bool IoUringQueue::TakeCompletion(uint64_t* tag, int32_t* result)
{
    io_uring_cqe* cqe = nullptr;
    if (io_uring_peek_cqe(&ring_->ring, &cqe) != 0 || cqe == nullptr)
        return false;
    *tag = io_uring_cqe_get_data64(cqe);
    *result = cqe->res;
    io_uring_cqe_seen(&ring_->ring, cqe);
    return true;
}

int IoUringQueue::WaitCompletion(uint64_t* tag, int32_t* result)
{
    io_uring_cqe* cqe = nullptr;
    const int status = io_uring_wait_cqe(&ring_->ring, &cqe);
    if (status != 0)
        return status;
    *tag = io_uring_cqe_get_data64(cqe);
    *result = cqe->res;
    io_uring_cqe_seen(&ring_->ring, cqe);
    return 0;
}
