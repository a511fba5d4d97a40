#include "engine/DeviceTransfers.h"
#include "engine/DriveWatch.h"
#include "engine/StopRequest.h"
#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "engine/TransferPosition.h"
#include "engine/WorkerBridge.h"
#include "engine/ZoneTests.h"

#include <cstdio>
#include <cstring>

uint64_t StandardZoneTransferSector(uint64_t zone, uint64_t increment, uint32_t transferSectors)
{
    if (zone == 0)
        return 0;
    return (zone * increment - (static_cast<uint64_t>(transferSectors) + 2)) & ~uint64_t{3};
}

uint64_t StandardZoneIncrement(uint64_t driveSectors, int32_t zones)
{
    return zones >= 2 ? driveSectors / static_cast<uint64_t>(zones - 1) : 0;
}

bool DriveBigEnoughForZones(uint64_t driveSectors, uint32_t transferSectors, int32_t zones)
{
    // The preflight reads the first zones × x sectors in order, so the drive
    // must hold all of them; a transfer of nothing is never big enough.
    if (transferSectors == 0 || zones < 1)
        return false;
    const uint64_t needed = static_cast<uint64_t>(transferSectors) * static_cast<uint64_t>(zones);
    return driveSectors >= needed;
}

namespace {
// Stores speed v as cycle c of the record and brings its minimum, maximum and average up to date.
void UpdateZoneRecord(ZoneResultsRec& record, int cycle, double v)
{
    record.cycleSpeedDbl[cycle] = v;
    if (record.minSpeedDbl == 0.0)
        record.minSpeedDbl = v;
    if (v > gMaxSpeed)
        gMaxSpeed = v;
    double sum = 0.0;
    for (int k = 0; k <= cycle; ++k) {
        const double speed = record.cycleSpeedDbl[k];
        sum += speed;
        if (speed > record.maxSpeedDbl)
            record.maxSpeedDbl = speed;
        if (speed < record.minSpeedDbl)
            record.minSpeedDbl = speed;
    }
    record.aveSpeedDbl = sum / (cycle + 1);
}

enum class Outcome { Completed, Failed, Stopped };

Outcome Preflight(uint32_t x)
{
    RequestStatusText(kStatusText, "Test in Progress: Preflighting...");
    for (int32_t z = 0; z < gZoneTestCountS32; ++z) {
        if (TestStopRequested())
            return Outcome::Stopped;
        SetZoneTransferPosition(TransferPhase::Preflight, z, -1, gCurrentSectorU64);
        double speed = 0.0;
        if (DoRWSpeedMeasurement(&speed, true) != 0)
            return Outcome::Failed;
        gCurrentSectorU64 += x;
    }
    return Outcome::Completed;
}

Outcome MeasureAllCycles(uint64_t inc, uint32_t x)
{
    for (int32_t c = 0; c < gTestCyclesS32; ++c) {
        char status[256];
        std::snprintf(status, sizeof status, "Test in Progress: Cycle %d of %ld", c + 1,
                      static_cast<long>(gTestCyclesS32));
        RequestStatusText(kStatusText, status);
        gCurrentSectorU64 = 0;
        for (int32_t z = 0; z < gZoneTestCountS32; ++z) {
            if (TestStopRequested())
                return Outcome::Stopped;
            SetZoneTransferPosition(TransferPhase::Read, z, c, gCurrentSectorU64);
            double v = 0.0;
            if (DoRWSpeedMeasurement(&v, true) != 0)
                return Outcome::Failed;
            ZoneResultsRec& r = gSavedREADResultsInfo[z];
            UpdateZoneRecord(r, c, v);
            r.firstSectorU64 = static_cast<uint64_t>(z) * inc;
            r.lastSectorU64 = static_cast<uint64_t>(z) * inc + x - 1;
            RequestDrawTestResults();

            if (gWriteTestEnabled) {
                // The buffer still holds what was just read, so the write puts it back.
                if (TestStopRequested())
                    return Outcome::Stopped;
                if (DriveWatchStopsTest())
                    return Outcome::Failed;
                SetZoneTransferPosition(TransferPhase::Write, z, c, gCurrentSectorU64);
                if (DoRWSpeedMeasurement(&v, false) != 0)
                    return Outcome::Failed;
                ZoneResultsRec& w = gSavedWRITEResultsInfo[z];
                UpdateZoneRecord(w, c, v);
                w.firstSectorU64 = r.firstSectorU64;
                w.lastSectorU64 = r.lastSectorU64;
                RequestDrawTestResults();
            }
            gCurrentSectorU64 = StandardZoneTransferSector(static_cast<uint64_t>(z) + 1, inc, x);
        }
    }
    return Outcome::Completed;
}
}  // namespace

void DoStandardZoneTestMP()
{
    const uint64_t inc = gTestIncrementSizeU64;
    const uint32_t x = gXFerSectorsU32;

    ResetZoneTestResults();
    ResetTransferPosition();
    gMaxSpeed = 0.0;
    gCurrentSectorU64 = 0;

    Outcome outcome = Outcome::Completed;
    if (gZoneTestCountS32 > 1)
        outcome = Preflight(x);
    if (outcome == Outcome::Completed) {
        outcome = MeasureAllCycles(inc, x);
        if (outcome == Outcome::Failed) {
            // A failed test leaves no results.
            std::memset(gSavedREADResultsInfo, 0, sizeof gSavedREADResultsInfo);
            std::memset(gSavedWRITEResultsInfo, 0, sizeof gSavedWRITEResultsInfo);
        }
    }
    if (outcome == Outcome::Stopped)
        return;
    FinishTestMP(outcome == Outcome::Completed);
}
