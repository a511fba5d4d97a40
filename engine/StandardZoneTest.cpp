#include "engine/DeviceTransfers.h"
#include "engine/RunObserver.h"
#include "engine/TestRun.h"
#include "engine/ZoneTests.h"

#include <algorithm>

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
void UpdateZoneSpeeds(ZoneSpeeds& speeds, int cycle, double v, double* maxSpeed)
{
    speeds.cycles[static_cast<size_t>(cycle)] = v;
    if (speeds.minimum == 0.0)
        speeds.minimum = v;
    if (v > *maxSpeed)
        *maxSpeed = v;
    double sum = 0.0;
    for (int k = 0; k <= cycle; ++k) {
        const double speed = speeds.cycles[static_cast<size_t>(k)];
        sum += speed;
        if (speed > speeds.maximum)
            speeds.maximum = speed;
        if (speed < speeds.minimum)
            speeds.minimum = speed;
    }
    speeds.average = sum / (cycle + 1);
}

class StandardZoneTest {
public:
    StandardZoneTest(TestRun& testRun, RunObserver& observer)
        : testRun_(testRun), run_(testRun.run), observer_(observer),
          increment_(testRun.zoneIncrement), x_(testRun.run.settings.TransferSectors())
    {
    }

    RunEnd Preflight()
    {
        observer_.PhaseStarted(testRun_, RunPhase::Preflight, -1);
        uint64_t sector = 0;
        for (int32_t z = 0; z < run_.settings.zones; ++z) {
            if (testRun_.stop.Requested())
                return RunEnd::Stopped;
            testRun_.progress.position.SetZone(TransferPhase::Preflight, z, -1, sector);
            double speed = 0.0;
            if (!MeasureTransfer(testRun_, observer_, TransferPhase::Preflight, sector, &speed))
                return RunEnd::Failed;
            sector += x_;
        }
        return RunEnd::Completed;
    }

    RunEnd MeasureAllCycles()
    {
        for (int32_t c = 0; c < run_.settings.cycles; ++c) {
            observer_.PhaseStarted(testRun_, RunPhase::Cycle, c);
            for (int32_t z = 0; z < run_.settings.zones; ++z)
                if (const RunEnd end = MeasureZone(z, c); end != RunEnd::Completed)
                    return end;
        }
        return RunEnd::Completed;
    }

private:
    RunEnd MeasureZone(int32_t z, int32_t c)
    {
        const uint64_t sector = StandardZoneTransferSector(static_cast<uint64_t>(z), increment_, x_);
        if (testRun_.stop.Requested())
            return RunEnd::Stopped;
        testRun_.progress.position.SetZone(TransferPhase::Read, z, c, sector);
        double v = 0.0;
        if (!MeasureTransfer(testRun_, observer_, TransferPhase::Read, sector, &v))
            return RunEnd::Failed;
        ZoneResult& zone = run_.zones[static_cast<size_t>(z)];
        UpdateZoneSpeeds(zone.read, c, v, &run_.maxSpeed);
        zone.firstSector = static_cast<uint64_t>(z) * increment_;
        zone.lastSector = static_cast<uint64_t>(z) * increment_ + x_ - 1;
        observer_.ZoneMeasured(testRun_, z, TransferPhase::Read);
        if (!run_.settings.writes)
            return RunEnd::Completed;

        // The buffer still holds what was just read, so the write puts it back.
        if (testRun_.stop.Requested())
            return RunEnd::Stopped;
        if (std::string users = testRun_.watch.NewUsers(); !users.empty()) {
            run_.failure = RunFailure{std::move(users), "write", z, c, sector, 0};
            return RunEnd::Failed;
        }
        testRun_.progress.position.SetZone(TransferPhase::Write, z, c, sector);
        if (!MeasureTransfer(testRun_, observer_, TransferPhase::Write, sector, &v))
            return RunEnd::Failed;
        UpdateZoneSpeeds(zone.write, c, v, &run_.maxSpeed);
        observer_.ZoneMeasured(testRun_, z, TransferPhase::Write);
        return RunEnd::Completed;
    }

    TestRun& testRun_;
    Run& run_;
    RunObserver& observer_;
    const uint64_t increment_;
    const uint32_t x_;
};
}  // namespace

RunEnd RunStandardZoneTest(TestRun& testRun, RunObserver& observer)
{
    Run& run = testRun.run;
    run.zones.assign(static_cast<size_t>(run.settings.zones), ZoneResult{});
    run.maxSpeed = 0.0;
    testRun.progress.position.Reset();
    observer.Started(testRun);

    StandardZoneTest test(testRun, observer);
    RunEnd end = run.settings.zones > 1 ? test.Preflight() : RunEnd::Completed;
    if (end == RunEnd::Completed)
        end = test.MeasureAllCycles();
    // A failed test leaves no results.
    if (end == RunEnd::Failed)
        std::fill(run.zones.begin(), run.zones.end(), ZoneResult{});
    return end;
}
