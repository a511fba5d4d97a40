#include "engine/TestModel.h"

#include "engine/InterfaceHost.h"


int32_t gCurrentSelectedTestType = 1;
int64_t gDriveSizeInBytes64 = 0;

std::atomic<bool> bTestRunning{false};

void ResetZoneTestResults()
{
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->DrawTestResults();
}

void ResetRandomTestResults()
{
    InterfaceHost* host = CurrentInterfaceHost();
    if (host == nullptr)
        return;
    host->SetProgressBarValue(kReadProgressBar, 0);
    host->SetProgressBarValue(kWriteProgressBar, 0);
    for (int32_t id : {kReadCountText, kWriteCountText, kReadElapsedText, kWriteElapsedText,
                       kReadUnitText, kWriteUnitText, kReadRateText, kWriteRateText,
                       kQueueDepthText, kReadTimeText, kWriteTimeText})
        host->SetStatusText(id, "");
}

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
