// The random test above queue depth 1: the batch's transfers go through
// io_uring with many of them in flight at once.
#pragma once

#include "engine/Run.h"

#include <atomic>
#include <cstdint>
#include <string>

inline constexpr uint32_t kMaxRandomQueueDepth = 256;
inline constexpr const char* kQueueDepthNeedsUringMessage =
    "queue depths above 1 need io_uring, which this system does not offer";

// 1, 2, 4, 8, 16, 32, 64, 128 or 256.
bool IsSupportedQueueDepth(uint32_t depth);
// The "Queue depth" popup lists the supported depths in order: item 1 is
// depth 1, item 9 depth 256. Anything else means depth 1 (and item 1).
uint32_t QueueDepthForPopupItem(int32_t item);
int32_t PopupItemForQueueDepth(uint32_t depth);

// What queued batches go through. Tests replace it to record where each
// transfer is queued, to move one elsewhere (a fault) and to see every
// completion reaped; the program asks the kernel and changes nothing.
struct QueuedTransferCalls {
    bool (*available)();
    // Transfer `index` of the batch is queued at byte `offset`; returns where it goes.
    uint64_t (*queued)(uint32_t index, bool isRead, uint64_t offset);
    // Its completion was reaped with this result (bytes moved, or -errno).
    void (*completed)(uint32_t index, bool isRead, int32_t result);
};
extern QueuedTransferCalls gQueuedTransferCalls;
void RestoreDefaultQueuedTransferCalls();

// True when queue depths above 1 can run here.
bool QueuedTransfersAvailable();

// The depth a batch on that descriptor runs at: `asked`, or the device's
// limit of requests at once where that is lower (more would only wait in the
// kernel, and the figures would belong to a depth the device never saw).
uint32_t EffectiveQueueDepth(uint32_t asked, int descriptor);
// Why a random run ran below the depth asked; "" when it did not.
std::string QueueDepthLimitNote(const Run& run);

enum class QueuedBatchEnd { Completed, Failed, Stopped };

class TestRun;

// The random test's 10,000 transfers in table order, run.random.queueDepth of
// them in flight: slot i of the run's buffer to or from its sector table's
// entry i, on the run's read or write descriptor. counter
// counts the completions that moved all their bytes. The first failed
// completion or a stop request ends the submissions; everything still in
// flight is reaped before this returns, whatever the outcome. *t0 and *t1 are
// the clock just before the first submission and after the last completion,
// both after the ring and its buffer are set up. *latency is the time from
// handing each good transfer to the kernel until its completion was seen.
QueuedBatchEnd RunQueuedTransfers(TestRun& testRun, bool isRead, std::atomic<uint32_t>& counter,
                                  uint64_t* t0, uint64_t* t1, TransferLatency* latency);
