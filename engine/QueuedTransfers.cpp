#include "engine/QueuedTransfers.h"

#include "engine/DeviceTransfers.h"
#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TransferPosition.h"
#include "platform/IoUring.h"

#include <cerrno>

namespace {
uint64_t QueueWhereAsked(uint32_t, bool, uint64_t offset)
{
    return offset;
}

void NoticeNothing(uint32_t, bool, int32_t) {}

constexpr QueuedTransferCalls kDefaultQueuedCalls{IoUringAvailable, QueueWhereAsked, NoticeNothing};

bool RetryableSubmitError(int status)
{
    return status == -EINTR || status == -EAGAIN || status == -EBUSY;
}
}  // namespace

QueuedTransferCalls gQueuedTransferCalls = kDefaultQueuedCalls;

void RestoreDefaultQueuedTransferCalls()
{
    gQueuedTransferCalls = kDefaultQueuedCalls;
}

bool IsSupportedQueueDepth(uint32_t depth)
{
    return depth >= 1 && depth <= kMaxRandomQueueDepth && (depth & (depth - 1)) == 0;
}

uint32_t QueueDepthForPopupItem(int32_t item)
{
    if (item < 1 || item > 9)
        return 1;
    return 1u << (item - 1);
}

int32_t PopupItemForQueueDepth(uint32_t depth)
{
    if (!IsSupportedQueueDepth(depth))
        return 1;
    int32_t item = 1;
    while ((1u << (item - 1)) < depth)
        ++item;
    return item;
}

bool QueuedTransfersAvailable()
{
    return gQueuedTransferCalls.available();
}

QueuedBatchEnd RunQueuedTransfers(bool isRead, uint32_t depth, std::atomic<uint32_t>& counter,
                                  uint64_t* t0, uint64_t* t1)
{
    counter.store(0, std::memory_order_relaxed);
    IoUringQueue ring;
    if (ring.Init(depth) != 0)
        return QueuedBatchEnd::Failed;
    // Without the registration (a locked-memory limit below 40 MB) the same
    // transfers run unregistered.
    ring.RegisterBuffer(myIOBuffer, kRandomBufferBytes);

    const int fd = isRead ? gUnixReadFileRef : gUnixWriteFileRef;
    const QueuedTransferCalls calls = gQueuedTransferCalls;
    uint32_t next = 0;      // the next transfer to queue
    uint32_t inFlight = 0;  // queued and not yet reaped
    uint32_t done = 0;      // completions that moved all their bytes
    bool failed = false;
    bool stopped = false;

    // The first failure is the one told, as one-by-one transfers tell theirs:
    // which transfer, its sector and the error number (a short count is EIO).
    auto fail = [&](uint32_t index, int errorNumber) {
        if (failed)
            return;
        failed = true;
        SetRandomTransferPosition(isRead ? TransferPhase::Read : TransferPhase::Write, static_cast<int32_t>(index),
                                  gSectorTableU64[index]);
        RecordTransferFailure(errorNumber);
    };
    auto reap = [&](uint64_t tag, int32_t result) {
        --inFlight;
        calls.completed(static_cast<uint32_t>(tag), isRead, result);
        if (result == static_cast<int32_t>(kRandomTransferBytes))
            counter.store(++done, std::memory_order_relaxed);
        else
            fail(static_cast<uint32_t>(tag), result < 0 ? -result : EIO);
    };

    bool ringBroken = false;  // the kernel refused a submission: only reaping is left
    uint64_t tag = 0;
    int32_t result = 0;
    *t0 = TransferClockNanoseconds();
    while (true) {
        while (!failed && !stopped && inFlight < depth && next < kRandomTransferCount) {
            const uint64_t offset = calls.queued(next, isRead, DeviceOffsetForSector(gSectorTableU64[next]));
            if (!ring.Prepare(isRead, fd, myIOBuffer + static_cast<size_t>(next) * kRandomTransferBytes,
                              kRandomTransferBytes, offset, next))
                break;
            ++next;
            ++inFlight;
        }
        if (inFlight == 0)
            break;
        if (!ringBroken) {
            const int submitted = ring.SubmitAndWait(1);
            if (submitted < 0 && !RetryableSubmitError(submitted)) {
                // What the kernel did not take will never complete.
                const unsigned unsubmitted = ring.Unsubmitted();
                fail(next - (unsubmitted > 0 ? unsubmitted : 1), -submitted);
                ringBroken = true;
                inFlight -= unsubmitted;
            }
        } else {
            const int status = ring.WaitCompletion(&tag, &result);
            if (status == 0)
                reap(tag, result);
            else if (status != -EINTR)
                break;  // nothing more can be learned from this ring
        }
        while (ring.TakeCompletion(&tag, &result))
            reap(tag, result);
        if (TestStopRequested())
            stopped = true;
    }
    *t1 = TransferClockNanoseconds();
    if (stopped)
        return QueuedBatchEnd::Stopped;
    return failed ? QueuedBatchEnd::Failed : QueuedBatchEnd::Completed;
}
