#include "engine/SurfaceFakeDevice.h"

void FakeSurfaceDevice::Pass(uint64_t byteOffset, uint32_t bytes, double bytesPerSecond)
{
    double seconds = bytes / bytesPerSecond;
    if (slow.Overlaps(byteOffset / 512, bytes / 512))
        seconds *= slowFactor;
    now_ += static_cast<uint64_t>(seconds * 1e9);
    ++transfers;
    if (afterTransfer)
        afterTransfer(transfers);
}

bool FakeSurfaceDevice::Read(uint64_t byteOffset, uint32_t bytes, unsigned char*, int* error)
{
    Pass(byteOffset, bytes, readBytesPerSecond);
    if (failing.Overlaps(byteOffset / 512, bytes / 512)) {
        *error = failErrno;
        return false;
    }
    return true;
}

bool FakeSurfaceDevice::Write(uint64_t byteOffset, uint32_t bytes, unsigned char*, int*)
{
    Pass(byteOffset, bytes, bytesWritten >= writesFallAfterBytes ? fallenWriteBytesPerSecond : writeBytesPerSecond);
    if (failing.Overlaps(byteOffset / 512, bytes / 512))
        ++writesOverFailing;
    bytesWritten += bytes;
    return true;
}

std::optional<double> FakeSurfaceDevice::Celsius()
{
    return temperature ? temperature(now_) : std::nullopt;
}
