// A simulated drive for the surface test: any size without storage behind
// it, transfers timed by a simulated clock at a given speed, with a slow
// range, a range whose reads fail, writes that slow down after a given
// amount, and a scripted temperature. It keeps what a test checks: where
// reads failed and whether anything was written over them.
#pragma once

#include "engine/SurfaceDevice.h"

#include <cerrno>
#include <functional>

struct SectorRange {
    uint64_t firstSector = 0;
    uint64_t sectors = 0;

    bool Overlaps(uint64_t first, uint64_t count) const
    {
        return sectors != 0 && first < firstSector + sectors && firstSector < first + count;
    }
};

class FakeSurfaceDevice final : public SurfaceDevice {
public:
    double readBytesPerSecond = 1e9;
    double writeBytesPerSecond = 1e9;
    SectorRange slow;                   // transfers touching it take slowFactor times as long
    double slowFactor = 20.0;
    SectorRange failing;                // reads touching it fail with failErrno
    int failErrno = EIO;
    uint64_t writesFallAfterBytes = UINT64_MAX;  // then writes go at fallenWriteBytesPerSecond
    double fallenWriteBytesPerSecond = 1e8;
    std::function<std::optional<double>(uint64_t nowNanoseconds)> temperature;
    std::function<void(uint64_t transfers)> afterTransfer;  // e.g. a stop at a chosen moment

    // What happened.
    uint64_t transfers = 0;
    uint64_t bytesWritten = 0;
    uint64_t writesOverFailing = 0;

    bool Read(uint64_t byteOffset, uint32_t bytes, unsigned char* buffer, int* error) override;
    bool Write(uint64_t byteOffset, uint32_t bytes, unsigned char* buffer, int* error) override;
    uint64_t NowNanoseconds() override { return now_; }
    std::optional<double> Celsius() override;

private:
    void Pass(uint64_t byteOffset, uint32_t bytes, double bytesPerSecond);

    uint64_t now_ = 1'000'000'000;
};
