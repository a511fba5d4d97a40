#include "engine/TestSetup.h"

#include "engine/TestModel.h"
#include "engine/ZoneTests.h"

void ApplyStandardTestSettings(int32_t zones, int32_t cycles, uint32_t megabytes)
{
    gCurrentSelectedTestType = 1;
    gZoneTestCountS32 = zones;
    gTestCyclesS32 = cycles;
    gXFerMBytes = megabytes;
    gXFerKBytes = megabytes * 1024u;
    gXFerSectorsU32 = megabytes * 2048u;
    gXFerBytesU32 = megabytes * 1048576u;
    gBarGraphWidth = BarWidthForZoneCount(zones);
}

void ApplyRandomTestSettings(uint32_t queueDepth)
{
    gCurrentSelectedTestType = 2;
    gXFerBytesU32 = kRandomTransferBytes;
    gRandomQueueDepthU32 = queueDepth;
}

uint32_t RequiredTransferBufferBytes()
{
    if (gCurrentSelectedTestType != 1)
        return kRandomBufferBytes;
    return gXFerBytesU32 > kMinStandardBufferBytes ? gXFerBytesU32 : kMinStandardBufferBytes;
}

void ApplyTargetSize(uint64_t sizeBytes)
{
    gDriveSizeInBytes64 = static_cast<int64_t>(sizeBytes);
    gDriveSectorsU64 = sizeBytes >> 9;
}

bool PrepareZonePlacement()
{
    gTestIncrementSizeU64 = StandardZoneIncrement(gDriveSectorsU64, gZoneTestCountS32);
    return DriveBigEnoughForZones(gDriveSectorsU64, gXFerSectorsU32, gZoneTestCountS32);
}

bool DriveBigEnoughForRandomTest()
{
    return gDriveSectorsU64 >= kRandomTestMinimumSectors;
}
