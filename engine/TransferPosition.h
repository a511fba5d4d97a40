// Where a run is: the phase, the zone and cycle (standard test) or the
// transfer number (random test) and the sector of the transfer under way, and
// the error number of the transfer that failed. The worker writes it before
// each transfer; progress displays read it while the run goes on, failure
// messages after the worker has ended.
#pragma once

#include <atomic>
#include <cstdint>

enum class TransferPhase : int32_t { None, Preflight, Read, Write };

struct TransferPosition {
    std::atomic<TransferPhase> phase{TransferPhase::None};
    std::atomic<int32_t> zone{0};      // from 0; -1 in the random test
    std::atomic<int32_t> cycle{0};     // from 0; -1 in the preflight and the random test
    std::atomic<int32_t> transfer{0};  // from 0 in a random batch; -1 in the standard test
    std::atomic<uint64_t> sector{0};
    std::atomic<int32_t> errorNumber{0};  // of the failed transfer, 0 while none failed

    void Reset();
    void SetZone(TransferPhase phase, int32_t zone, int32_t cycle, uint64_t sector);
    void SetRandom(TransferPhase phase, int32_t transfer, uint64_t sector);
    void RecordFailure(int errorNumber);

private:
    void Store(TransferPhase phase, int32_t zone, int32_t cycle, int32_t transfer, uint64_t sector);
};
