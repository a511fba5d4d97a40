#include "engine/TestModel.h"

#include "engine/InterfaceHost.h"

#include <algorithm>
#include <cstring>

int32_t gCurrentSelectedTestType = 1;
int32_t gZoneTestCountS32 = 1;
int32_t gTestCyclesS32 = 1;
uint32_t gXFerMBytes = 0;
uint32_t gXFerKBytes = 0;
uint32_t gXFerSectorsU32 = 0;
bool gWriteTestEnabled = false;
int64_t gDriveSizeInBytes64 = 0;
uint64_t gDriveSectorsU64 = 0;
double gMaxSpeed = 0.0;
uint16_t gBarGraphWidth = 15;
int16_t gGraphMax = 1;

std::atomic<bool> bTestRunning{false};

ZoneResultsRec gSavedREADResultsInfo[kMaxZoneCount];
ZoneResultsRec gSavedWRITEResultsInfo[kMaxZoneCount];
double gSavedRandomReadSpeedDbl = 0.0;
double gSavedRandomWriteSpeedDbl = 0.0;
uint32_t gSavedRandomQueueDepthU32 = 1;
uint32_t gSavedRandomAskedQueueDepthU32 = 1;
TransferLatency gSavedRandomReadLatency;
TransferLatency gSavedRandomWriteLatency;
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
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->DrawTestResults();
}

namespace {
void CopySpeeds(const ZoneSpeeds& speeds, ZoneResultsRec& record)
{
    std::copy(speeds.cycles.begin(), speeds.cycles.end(), record.cycleSpeedDbl);
    record.aveSpeedDbl = speeds.average;
    record.minSpeedDbl = speeds.minimum;
    record.maxSpeedDbl = speeds.maximum;
}
}  // namespace

void PublishRunResults(const Run& run)
{
    gWriteTestEnabled = run.settings.writes;
    gDriveSizeInBytes64 = static_cast<int64_t>(run.target.sizeBytes);
    gDriveSectorsU64 = run.target.Sectors();
    if (run.settings.kind == TestKind::Random) {
        const RandomResult& random = run.random;
        gSavedRandomReadSpeedDbl = random.readSpeed;
        gSavedRandomWriteSpeedDbl = random.writeSpeed;
        gSavedRandomQueueDepthU32 = random.queueDepth;
        gSavedRandomAskedQueueDepthU32 = run.settings.queueDepth;
        gSavedRandomReadLatency = random.readLatency;
        gSavedRandomWriteLatency = random.writeLatency;
        return;
    }
    gZoneTestCountS32 = run.settings.zones;
    gTestCyclesS32 = run.settings.cycles;
    gXFerMBytes = run.settings.transferMegabytes;
    gXFerKBytes = run.settings.transferMegabytes * 1024u;
    gXFerSectorsU32 = run.settings.transferMegabytes * 2048u;
    gBarGraphWidth = BarWidthForZoneCount(run.settings.zones);
    gMaxSpeed = run.maxSpeed;
    const size_t zones = std::min<size_t>(run.zones.size(), kMaxZoneCount);
    for (size_t z = 0; z < zones; ++z) {
        const ZoneResult& zone = run.zones[z];
        gSavedREADResultsInfo[z].firstSectorU64 = zone.firstSector;
        gSavedREADResultsInfo[z].lastSectorU64 = zone.lastSector;
        CopySpeeds(zone.read, gSavedREADResultsInfo[z]);
        // A write record has its place once a write was measured there.
        gSavedWRITEResultsInfo[z].firstSectorU64 = zone.WriteMeasured() ? zone.firstSector : 0;
        gSavedWRITEResultsInfo[z].lastSectorU64 = zone.WriteMeasured() ? zone.lastSector : 0;
        CopySpeeds(zone.write, gSavedWRITEResultsInfo[z]);
    }
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
