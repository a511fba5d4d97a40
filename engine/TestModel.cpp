#include "engine/TestModel.h"

#include "engine/InterfaceHost.h"
#include "engine/WorkerBridge.h"

#include <cstring>

int32_t gCurrentSelectedTestType = 1;
int32_t gZoneTestCountS32 = 1;
int32_t gTestCyclesS32 = 1;
uint32_t gXFerMBytes = 0;
uint32_t gXFerKBytes = 0;
uint32_t gXFerSectorsU32 = 0;
uint32_t gXFerBytesU32 = 0;
bool gWriteTestEnabled = false;
int64_t gDriveSizeInBytes64 = 0;
uint64_t gDriveSectorsU64 = 0;
uint64_t gTestIncrementSizeU64 = 0;
uint64_t gCurrentSectorU64 = 0;
double gMaxSpeed = 0.0;
uint16_t gBarGraphWidth = 15;
int16_t gGraphMax = 1;
uint32_t gRandomQueueDepthU32 = 1;

std::atomic<bool> bTestRunning{false};
int32_t gUnixReadFileRef = -1;
int32_t gUnixWriteFileRef = -1;
unsigned char* myIOBuffer = nullptr;
std::atomic<uint32_t> gReadCountIndexU32{0};
std::atomic<uint32_t> gWriteCountIndexU32{0};
std::atomic<double> gRandomReadsStartTime{0.0};
std::atomic<double> gRandomWritesStartTime{0.0};
std::atomic<uint32_t> gAnimatedCursorIndexU32{0};
uint32_t gDeviceBlockBytesU32 = 512;

ZoneResultsRec gSavedREADResultsInfo[kMaxZoneCount];
ZoneResultsRec gSavedWRITEResultsInfo[kMaxZoneCount];
double gSavedRandomReadSpeedDbl = 0.0;
double gSavedRandomWriteSpeedDbl = 0.0;
uint32_t gSavedRandomQueueDepthU32 = 1;
uint32_t gSavedRandomAskedQueueDepthU32 = 1;
TransferLatency gSavedRandomReadLatency;
TransferLatency gSavedRandomWriteLatency;
uint64_t gSectorTableU64[kRandomTransferCount];
Rect gSavedReadResultsGraphRects[kMaxZoneCount];
Rect gSavedWriteResultsGraphRects[kMaxZoneCount];
Str255 gSavedReadResultsHelpTag[kMaxZoneCount];
Str255 gSavedWriteResultsHelpTag[kMaxZoneCount];

bool ZoneIsMeasured(int zoneIndex)
{
    return zoneIndex >= 0 && zoneIndex < kMaxZoneCount &&
           gSavedREADResultsInfo[zoneIndex].cycleSpeedDbl[0] != 0.0;
}

void ClearZoneTestResults()
{
    std::memset(gSavedREADResultsInfo, 0, sizeof gSavedREADResultsInfo);
    std::memset(gSavedWRITEResultsInfo, 0, sizeof gSavedWRITEResultsInfo);
    std::memset(gSavedReadResultsGraphRects, 0, sizeof gSavedReadResultsGraphRects);
    std::memset(gSavedWriteResultsGraphRects, 0, sizeof gSavedWriteResultsGraphRects);
    std::memset(gSavedReadResultsHelpTag, 0, sizeof gSavedReadResultsHelpTag);
    std::memset(gSavedWriteResultsHelpTag, 0, sizeof gSavedWriteResultsHelpTag);
}

void ResetZoneTestResults()
{
    ClearZoneTestResults();
    RequestDrawTestResults();
}

void ResetRandomTestResults()
{
    gSavedRandomReadSpeedDbl = 0.0;
    gSavedRandomWriteSpeedDbl = 0.0;
    gSavedRandomReadLatency = gSavedRandomWriteLatency = TransferLatency{};
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
