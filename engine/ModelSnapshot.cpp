#include "engine/ModelSnapshot.h"

#include "engine/TestModel.h"
#include "engine/TestWorker.h"

#include <algorithm>

namespace {
ZoneSpeeds SpeedsOf(const ZoneResultsRec& record)
{
    ZoneSpeeds speeds;
    std::copy(std::begin(record.cycleSpeedDbl), std::end(record.cycleSpeedDbl), speeds.cycles.begin());
    speeds.average = record.aveSpeedDbl;
    speeds.minimum = record.minSpeedDbl;
    speeds.maximum = record.maxSpeedDbl;
    return speeds;
}
}  // namespace

Run SnapshotOfModel(const RunTarget& target)
{
    Run run;
    run.target = target;
    run.settings.kind = gCurrentSelectedTestType == 1 ? TestKind::Standard : TestKind::Random;
    run.settings.zones = std::clamp<int32_t>(gZoneTestCountS32, 1, kMaxZoneCount);
    run.settings.cycles = std::clamp<int32_t>(gTestCyclesS32, 1, kMaxCycleCount);
    run.settings.transferMegabytes = gXFerMBytes;
    run.settings.queueDepth = gSavedRandomAskedQueueDepthU32;
    run.settings.writes = gWriteTestEnabled;
    if (bTestRunning.load()) {
        run.end = RunEnd::NotEnded;
    } else {
        run.ended = std::time(nullptr);
        run.end = LastTestCompleted() ? RunEnd::Completed : RunEnd::Stopped;
    }
    if (run.settings.kind == TestKind::Random) {
        run.random.readSpeed = gSavedRandomReadSpeedDbl;
        run.random.writeSpeed = gSavedRandomWriteSpeedDbl;
        run.random.queueDepth = gSavedRandomQueueDepthU32;
        run.random.readLatency = gSavedRandomReadLatency;
        run.random.writeLatency = gSavedRandomWriteLatency;
        return run;
    }
    run.settings.queueDepth = 1;
    run.maxSpeed = gMaxSpeed;
    run.zones.resize(static_cast<size_t>(run.settings.zones));
    for (int z = 0; z < run.settings.zones; ++z) {
        ZoneResult& zone = run.zones[static_cast<size_t>(z)];
        zone.firstSector = gSavedREADResultsInfo[z].firstSectorU64;
        zone.lastSector = gSavedREADResultsInfo[z].lastSectorU64;
        zone.read = SpeedsOf(gSavedREADResultsInfo[z]);
        if (run.settings.writes)
            zone.write = SpeedsOf(gSavedWRITEResultsInfo[z]);
    }
    return run;
}
