// What the surface test moves its transfers through: the run's own device
// (its descriptors, the monotonic clock and the drive's hwmon temperature),
// or a simulated one (engine/SurfaceFakeDevice.h) for tests and benchmarks.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

class TestRun;

class SurfaceDevice {
public:
    virtual ~SurfaceDevice() = default;

    // One positioned transfer of bytes at byteOffset. True exactly when all
    // bytes moved; else *error holds the error number (EIO for a short count).
    virtual bool Read(uint64_t byteOffset, uint32_t bytes, unsigned char* buffer, int* error) = 0;
    virtual bool Write(uint64_t byteOffset, uint32_t bytes, unsigned char* buffer, int* error) = 0;
    // The clock the transfers are timed with, in nanoseconds.
    virtual uint64_t NowNanoseconds() = 0;
    // The drive's temperature now, where it reports one.
    virtual std::optional<double> Celsius() = 0;
};

// The run's device: its read and write descriptors through the transfer
// calls, and the temperature file found when the run was prepared.
std::unique_ptr<SurfaceDevice> MakeRunSurfaceDevice(const TestRun& testRun);
