#include "engine/TestModel.h"

int32_t gCurrentSelectedTestType = 1;
int64_t gDriveSizeInBytes64 = 0;

std::atomic<bool> bTestRunning{false};

uint16_t BarWidthForZoneCount(int32_t zones)
{
    if (zones <= 9)
        return 15;
    if (zones <= 19)
        return 12;
    if (zones <= 29)
        return 10;
    if (zones <= 39)
        return 8;
    return 6;
}
