#include "engine/DeviceTransfers.h"

#include "engine/InterfaceHost.h"
#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TransferPosition.h"
#include "engine/WorkerBridge.h"

#include <cerrno>
#include <ctime>
#include <unistd.h>

TransferCalls gTransferCalls{::pread, ::pwrite, UpTimeNanoseconds};

void RestoreDefaultTransferCalls()
{
    gTransferCalls = TransferCalls{::pread, ::pwrite, UpTimeNanoseconds};
}

uint64_t UpTimeNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
}

double AbsoluteTimeNow()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

uint64_t DeviceOffsetForSector(uint64_t sector)
{
    const uint64_t offset = sector * 512u;
    const uint64_t block = gDeviceBlockBytesU32;
    if (block > 512 && (block & (block - 1)) == 0)
        return offset & ~(block - 1);
    return offset;
}

namespace {
// A transfer that moved fewer bytes than asked without an error number is
// reported as an I/O error.
int16_t TransferErrorNumber(ssize_t result)
{
    return static_cast<int16_t>(result < 0 ? errno : EIO);
}
}  // namespace

bool ReadBytesFromDevNodeLBA512(uint64_t sector, uint32_t byteCount, void* buffer, int16_t* error)
{
    const ssize_t got = gTransferCalls.read(gUnixReadFileRef, buffer, byteCount,
                                            static_cast<off_t>(DeviceOffsetForSector(sector)));
    if (got == static_cast<ssize_t>(byteCount))
        return true;
    *error = TransferErrorNumber(got);
    return false;
}

bool WriteBytesToBlock512DevFile(int32_t descriptor, uint64_t sector, uint32_t byteCount,
                                 const void* buffer, int16_t* error)
{
    const ssize_t put = gTransferCalls.write(descriptor, buffer, byteCount,
                                             static_cast<off_t>(DeviceOffsetForSector(sector)));
    if (put == static_cast<ssize_t>(byteCount))
        return true;
    *error = TransferErrorNumber(put);
    return false;
}

double ConvertElapsedNanoSecsToMBPerSec(uint32_t byteCount, uint64_t elapsedNanoseconds)
{
    if (elapsedNanoseconds == 0)
        return 0.0;
    const uint64_t n = (static_cast<uint64_t>(byteCount) * 1000000000ull) >> 20;
    return static_cast<double>(n) / static_cast<double>(elapsedNanoseconds);
}

int32_t DoRWSpeedMeasurement(double* speed, bool isRead)
{
    int16_t error = 0;
    const uint64_t t0 = TransferClockNanoseconds();
    const bool ok = isRead
        ? ReadBytesFromDevNodeLBA512(gCurrentSectorU64, gXFerBytesU32, myIOBuffer, &error)
        : WriteBytesToBlock512DevFile(gUnixWriteFileRef, gCurrentSectorU64, gXFerBytesU32,
                                      myIOBuffer, &error);
    const uint64_t t1 = TransferClockNanoseconds();

    InterfaceHost* host = CurrentInterfaceHost();
    if (ok) {
        if (host != nullptr)
            host->ShowWaitCursorFrame(gAnimatedCursorIndexU32.fetch_add(1));
        *speed = ConvertElapsedNanoSecsToMBPerSec(gXFerBytesU32, t1 - t0);
        return 0;
    }
    if (host != nullptr)
        host->ShowArrowCursor();
    RecordTransferFailure(error);
    gMPAlertInfo.alertType = 0;
    gMPAlertInfo.errorNumber = error;
    MPRemoteCall(RemoteDoioErrorAlert, &gMPAlertInfo);
    return -1;
}

void MyMPDelayMilliSeconds(int32_t milliseconds)
{
    const uint64_t deadline = UpTimeNanoseconds() + static_cast<uint64_t>(milliseconds) * 1000000ull;
    SleepUntilOrStopped(deadline);
}
