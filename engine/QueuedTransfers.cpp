#include "engine/QueuedTransfers.h"

#include "engine/DeviceTransfers.h"
#include "engine/TestRun.h"
#include "platform/DeviceQueueLimit.h"
#include "platform/IoUring.h"

#include <algorithm>
#include <cerrno>
#include <vector>

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

// Mean and 99th percentile (nearest rank) of nanosecond times, in microseconds.
TransferLatency SummarizeLatencies(std::vector<uint64_t>& nanoseconds)
{
    if (nanoseconds.empty())
        return {};
    double sum = 0.0;
    for (const uint64_t value : nanoseconds)
        sum += static_cast<double>(value);
    const size_t rank = (nanoseconds.size() * 99 + 99) / 100 - 1;
    std::nth_element(nanoseconds.begin(), nanoseconds.begin() + static_cast<std::ptrdiff_t>(rank), nanoseconds.end());
    return {sum / static_cast<double>(nanoseconds.size()) / 1000.0, static_cast<double>(nanoseconds[rank]) / 1000.0};
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

uint32_t EffectiveQueueDepth(uint32_t asked, int descriptor)
{
    const uint32_t limit = DeviceQueueLimit(descriptor);
    return limit > 0 && limit < asked ? limit : asked;
}

namespace {
std::string QueueDepthLimitNote(uint32_t asked, uint32_t ranAt)
{
    if (ranAt >= asked)
        return "";
    const std::string ran = std::to_string(ranAt);
    return "queue depth " + std::to_string(asked) +
           " asked; the device takes at most " + ran +
           " requests at once (queue/nr_requests), so the test ran at queue depth " + ran;
}
}  // namespace

std::string QueueDepthLimitNote(const Run& run)
{
    return QueueDepthLimitNote(run.settings.queueDepth, run.random.queueDepth);
}

QueuedBatchEnd RunQueuedTransfers(TestRun& testRun, bool isRead, std::atomic<uint32_t>& counter,
                                  uint64_t* t0, uint64_t* t1, TransferLatency* latency)
{
    const uint32_t depth = testRun.run.random.queueDepth;
    unsigned char* const buffer = testRun.buffer.data();
    const uint64_t* const sectors = testRun.sectorTable.data();
    const uint32_t blockBytes = testRun.run.target.logicalBlockBytes;
    counter.store(0, std::memory_order_relaxed);
    *latency = TransferLatency{};
    IoUringQueue ring;
    if (ring.Init(depth) != 0)
        return QueuedBatchEnd::Failed;
    // Without the registration (a locked-memory limit below 40 MB) the same
    // transfers run unregistered.
    ring.RegisterBuffer(buffer, testRun.buffer.size());
    // When each transfer went to the kernel, then how long it took to come back.
    std::vector<uint64_t> submittedAt(kRandomTransferCount);
    std::vector<uint64_t> latencies;
    latencies.reserve(kRandomTransferCount);

    const int fd = isRead ? testRun.readDescriptor : testRun.writeDescriptor;
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
        testRun.progress.position.SetRandom(isRead ? TransferPhase::Read : TransferPhase::Write,
                                            static_cast<int32_t>(index), sectors[index]);
        RecordTransferFailure(testRun, errorNumber);
    };
    uint64_t reapedAt = 0;  // the clock after the wait that brought the completions being reaped
    auto reap = [&](uint64_t tag, int32_t result) {
        --inFlight;
        calls.completed(static_cast<uint32_t>(tag), isRead, result);
        if (result == static_cast<int32_t>(kRandomTransferBytes)) {
            counter.store(++done, std::memory_order_relaxed);
            latencies.push_back(reapedAt - submittedAt[tag]);
        } else {
            fail(static_cast<uint32_t>(tag), result < 0 ? -result : EIO);
        }
    };

    bool ringBroken = false;  // the kernel refused a submission: only reaping is left
    uint64_t tag = 0;
    int32_t result = 0;
    *t0 = TransferClockNanoseconds();
    while (true) {
        // Each transfer goes to the kernel as soon as its slot is free, as fio
        // submits them. One the kernel does not take now stays prepared: the
        // wait below hands it over again and tells the error.
        while (!failed && !stopped && inFlight < depth && next < kRandomTransferCount) {
            const uint64_t offset = calls.queued(next, isRead, DeviceOffsetForSector(sectors[next], blockBytes));
            if (!ring.Prepare(isRead, fd, buffer + static_cast<size_t>(next) * kRandomTransferBytes,
                              kRandomTransferBytes, offset, next))
                break;
            submittedAt[next] = TransferClockNanoseconds();
            const int submitted = ring.Submit();
            ++next;
            ++inFlight;
            if (submitted < 0)
                break;
        }
        if (inFlight == 0)
            break;
        if (!ringBroken) {
            const int submitted = ring.SubmitAndWait(1);
            reapedAt = TransferClockNanoseconds();
            if (submitted < 0 && !RetryableSubmitError(submitted)) {
                // What the kernel did not take will never complete.
                const unsigned unsubmitted = ring.Unsubmitted();
                fail(next - (unsubmitted > 0 ? unsubmitted : 1), -submitted);
                ringBroken = true;
                inFlight -= unsubmitted;
            }
        } else {
            const int status = ring.WaitCompletion(&tag, &result);
            reapedAt = TransferClockNanoseconds();
            if (status == 0)
                reap(tag, result);
            else if (status != -EINTR)
                break;  // nothing more can be learned from this ring
        }
        while (ring.TakeCompletion(&tag, &result))
            reap(tag, result);
        if (testRun.stop.Requested())
            stopped = true;
    }
    *t1 = TransferClockNanoseconds();
    *latency = SummarizeLatencies(latencies);
    if (stopped)
        return QueuedBatchEnd::Stopped;
    return failed ? QueuedBatchEnd::Failed : QueuedBatchEnd::Completed;
}
