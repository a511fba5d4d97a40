#include "engine/DeviceTransfers.h"

#include "engine/RunObserver.h"
#include "engine/TestRun.h"
#include "format/ErrorText.h"

#include <cerrno>
#include <ctime>
#include <unistd.h>

TransferCalls gTransferCalls{::pread, ::pwrite, MonotonicNanoseconds};

void RestoreDefaultTransferCalls()
{
    gTransferCalls = TransferCalls{::pread, ::pwrite, MonotonicNanoseconds};
}

uint64_t MonotonicNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
}

double WallClockSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

uint64_t DeviceOffsetForSector(uint64_t sector, uint32_t logicalBlockBytes)
{
    const uint64_t offset = sector * 512u;
    const uint64_t block = logicalBlockBytes;
    if (block > 512 && (block & (block - 1)) == 0)
        return offset & ~(block - 1);
    return offset;
}

bool TransferAtSector(const TestRun& testRun, bool isRead, uint64_t sector, uint32_t byteCount, void* buffer,
                      int* error)
{
    const auto offset = static_cast<off_t>(DeviceOffsetForSector(sector, testRun.run.target.logicalBlockBytes));
    const ssize_t moved = isRead ? gTransferCalls.read(testRun.readDescriptor, buffer, byteCount, offset)
                                 : gTransferCalls.write(testRun.writeDescriptor, buffer, byteCount, offset);
    if (moved == static_cast<ssize_t>(byteCount))
        return true;
    *error = moved < 0 ? errno : EIO;
    return false;
}

double MegabytesPerSecond(uint64_t byteCount, uint64_t elapsedNanoseconds)
{
    if (elapsedNanoseconds == 0)
        return 0.0;
    const uint64_t n = (byteCount * 1000000000ull) >> 20;
    return static_cast<double>(n) / static_cast<double>(elapsedNanoseconds);
}

void RecordTransferFailure(TestRun& testRun, int errorNumber)
{
    const TransferPosition& position = testRun.progress.position;
    testRun.progress.position.RecordFailure(errorNumber);
    char words[256];
    SystemErrorText(errorNumber, words);
    const TransferPhase phase = position.phase.load();
    RunFailure failure;
    failure.message = words;
    failure.phase = phase == TransferPhase::Write ? "write" : phase == TransferPhase::Preflight ? "preflight" : "read";
    failure.zone = position.zone.load();
    failure.cycle = position.cycle.load();
    failure.sector = position.sector.load();
    failure.errorNumber = errorNumber;
    testRun.run.failure = failure;
}

bool MeasureTransfer(TestRun& testRun, RunObserver& observer, TransferPhase direction, uint64_t sector,
                     double* speed)
{
    const uint32_t bytes = testRun.TransferBytes();
    int error = 0;
    const uint64_t t0 = TransferClockNanoseconds();
    const bool ok = TransferAtSector(testRun, direction != TransferPhase::Write, sector, bytes,
                                     testRun.buffer.data(), &error);
    const uint64_t t1 = TransferClockNanoseconds();
    if (!ok) {
        RecordTransferFailure(testRun, error);
        return false;
    }
    testRun.progress.cursorFrame.fetch_add(1, std::memory_order_relaxed);
    observer.Progress(testRun);
    *speed = MegabytesPerSecond(bytes, t1 - t0);
    return true;
}
