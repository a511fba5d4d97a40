#include "EngineFixture.h"

#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TestSetup.h"
#include "engine/TransferBuffer.h"

void EngineFixture::SetUp()
{
    SetInterfaceHost(&host);
    ClearTestStopRequest();
    ResetZoneTestResults();
    ResetRandomTestResults();
    gMaxSpeed = 0.0;
    gReadCountIndexU32 = 0;
    gWriteCountIndexU32 = 0;
    gDeviceBlockBytesU32 = 512;
    gUnixReadFileRef = 3;
    gUnixWriteFileRef = 4;
    // What the resets above asked of the interface is not part of any test.
    host.texts.clear();
    host.bars.clear();
    host.draws = 0;
}

void EngineFixture::TearDown()
{
    device.reset();
    ReleaseTransferBuffer();
    gUnixReadFileRef = -1;
    gUnixWriteFileRef = -1;
    gWriteTestEnabled = false;
    ClearTestStopRequest();
    SetInterfaceHost(nullptr);
}

FakeDevice& EngineFixture::Device(uint64_t sizeBytes)
{
    device = std::make_unique<FakeDevice>(sizeBytes);
    device->Install();
    ApplyTargetSize(sizeBytes);
    return *device;
}

bool EngineFixture::PrepareStandard(int32_t zones, int32_t cycles, uint32_t megabytes, bool writes)
{
    ApplyStandardTestSettings(zones, cycles, megabytes);
    gWriteTestEnabled = writes;
    const bool fits = PrepareZonePlacement();
    EXPECT_TRUE(AllocateTransferBuffer(RequiredTransferBufferBytes()));
    return fits;
}

void EngineFixture::PrepareRandom(bool writes)
{
    ApplyRandomTestSettings();
    gWriteTestEnabled = writes;
    EXPECT_TRUE(AllocateTransferBuffer(RequiredTransferBufferBytes()));
}
