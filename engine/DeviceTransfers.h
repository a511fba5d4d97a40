// Timed raw transfers between a run's buffer and its device, addressed in
// 512-byte sectors, and the speed formula.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

class RunObserver;
class TestRun;
enum class TransferPhase : int32_t;

// The two system calls every transfer goes through, and the clock that times
// them. Tests replace them to record where transfers go, to inject faults or
// to script elapsed times; the program uses pread, pwrite and the monotonic
// clock.
struct TransferCalls {
    ssize_t (*read)(int fd, void* buffer, size_t count, off_t offset);
    ssize_t (*write)(int fd, const void* buffer, size_t count, off_t offset);
    uint64_t (*upTime)();
};
extern TransferCalls gTransferCalls;
void RestoreDefaultTransferCalls();

// Byte offset of a sector on a device: sector × 512, rounded down to a
// multiple of the device's logical block size where that is above 512.
uint64_t DeviceOffsetForSector(uint64_t sector, uint32_t logicalBlockBytes);

// One pread (isRead) or pwrite of byteCount bytes at sector on the run's
// descriptor for that direction. True exactly when all bytes moved. On
// failure *error holds the error number; a short transfer that set none
// reports EIO.
bool TransferAtSector(const TestRun& testRun, bool isRead, uint64_t sector, uint32_t byteCount, void* buffer,
                      int* error);

// ⌊byteCount × 10^9 ≫ 20⌋ ÷ elapsed; 0.0 when elapsed is 0.
double MegabytesPerSecond(uint64_t byteCount, uint64_t elapsedNanoseconds);

// One timed transfer of the run's transfer size at sector between the start
// of its buffer and the device. True with *speed set; false once the failure
// is recorded in the run (its position, and run.failure with the system's
// words for the error).
bool MeasureTransfer(TestRun& testRun, RunObserver& observer, TransferPhase direction, uint64_t sector,
                     double* speed);

// Records a failed transfer at the position now set: the error number and run.failure.
void RecordTransferFailure(TestRun& testRun, int errorNumber);

// Monotonic clock in nanoseconds.
uint64_t MonotonicNanoseconds();

// The clock the timed transfers read (the monotonic clock unless a test replaced it).
inline uint64_t TransferClockNanoseconds()
{
    return gTransferCalls.upTime();
}

// Wall-clock time in seconds.
double WallClockSeconds();
