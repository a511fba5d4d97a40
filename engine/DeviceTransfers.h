// Timed raw transfers between the transfer buffer and the device under test,
// addressed in 512-byte sectors, and the speed formula.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

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

// Byte offset of a sector on the open device: sector × 512, rounded down to a
// multiple of the device's logical block size where that is above 512.
uint64_t DeviceOffsetForSector(uint64_t sector);

// Reads byteCount bytes at sector from gUnixReadFileRef with one pread.
// True exactly when all bytes arrived. On failure *error holds the error
// number; a short transfer that set none reports EIO.
bool ReadBytesFromDevNodeLBA512(uint64_t sector, uint32_t byteCount, void* buffer, int16_t* error);

// The same with one pwrite to the given descriptor.
bool WriteBytesToBlock512DevFile(int32_t descriptor, uint64_t sector, uint32_t byteCount,
                                 const void* buffer, int16_t* error);

// ⌊byteCount × 10^9 ≫ 20⌋ ÷ elapsed; 0.0 when elapsed is 0.
double ConvertElapsedNanoSecsToMBPerSec(uint32_t byteCount, uint64_t elapsedNanoseconds);

// One timed transfer of gXFerBytesU32 bytes at gCurrentSectorU64 between
// myIOBuffer and the device. 0 with *speed set, or -1 after the I/O error
// alert has been shown and dismissed.
int32_t DoRWSpeedMeasurement(double* speed, bool isRead);

// Blocks the worker for that many milliseconds of the monotonic clock, or
// until a stop is requested.
void MyMPDelayMilliSeconds(int32_t milliseconds);

// Monotonic clock in nanoseconds.
uint64_t UpTimeNanoseconds();

// The clock the timed transfers read (the monotonic clock unless a test replaced it).
inline uint64_t TransferClockNanoseconds()
{
    return gTransferCalls.upTime();
}

// Wall-clock time in seconds.
double AbsoluteTimeNow();
