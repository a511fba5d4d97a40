#include "engine/SurfaceDevice.h"

#include "engine/DeviceTransfers.h"
#include "engine/TestRun.h"
#include "platform/DriveTemperature.h"

namespace {
class RunSurfaceDevice final : public SurfaceDevice {
public:
    explicit RunSurfaceDevice(const TestRun& testRun) : testRun_(testRun) {}

    bool Read(uint64_t byteOffset, uint32_t bytes, unsigned char* buffer, int* error) override
    {
        return TransferAtSector(testRun_, true, byteOffset / 512, bytes, buffer, error);
    }
    bool Write(uint64_t byteOffset, uint32_t bytes, unsigned char* buffer, int* error) override
    {
        return TransferAtSector(testRun_, false, byteOffset / 512, bytes, buffer, error);
    }
    uint64_t NowNanoseconds() override { return TransferClockNanoseconds(); }
    std::optional<double> Celsius() override
    {
        if (testRun_.temperatureFile.empty())
            return std::nullopt;
        return ReadCelsius(testRun_.temperatureFile);
    }

private:
    const TestRun& testRun_;
};
}  // namespace

std::unique_ptr<SurfaceDevice> MakeRunSurfaceDevice(const TestRun& testRun)
{
    return std::make_unique<RunSurfaceDevice>(testRun);
}
