// The two tests that run on the worker, each filling the run it is given.
#pragma once

#include "engine/Run.h"

#include <cstdint>

class RunObserver;
class TestRun;

// Position of the transfer for zone z ≥ 1: z × inc − x − 2, rounded down to a
// multiple of 4 sectors; zone 0 transfers at sector 0.
uint64_t StandardZoneTransferSector(uint64_t zone, uint64_t increment, uint32_t transferSectors);

// Zone spacing in sectors: sectors ÷ (zones − 1), or 0 for a single zone.
uint64_t StandardZoneIncrement(uint64_t driveSectors, int32_t zones);

// True when the drive holds zones transfers of the given size back to back
// (sectors ≥ x × zones), as the preflight reads them; false for x = 0.
bool DriveBigEnoughForZones(uint64_t driveSectors, uint32_t transferSectors, int32_t zones);

// Sequential transfers at zones spread over the drive, for every cycle.
// Returns how the run ended; a failed one keeps no zone results.
RunEnd RunStandardZoneTest(TestRun& testRun, RunObserver& observer);

// Fills table[0..9999] with the random test's sectors for a drive of the given size.
void BuildRandomSectorTable(uint64_t driveSectors, uint64_t* table);

// Value and unit texts of a random-test speed, the transfers per second and
// the average time per transfer ("31.2 µs", "1.25 ms"; empty for no speed).
struct RandomSpeedTexts {
    char value[32];
    const char* unit;
    char perSecond[32];
    char perTransfer[32];
};
RandomSpeedTexts FormatRandomSpeed(double megabytesPerSecond);
uint32_t RandomTransfersPerSecond(double megabytesPerSecond);
// 1 ÷ transfers per second, in microseconds; 0 for no speed.
double RandomMicrosecondsPerTransfer(double megabytesPerSecond);

// 10,000 transfers of 4096 bytes at places spread over the whole drive.
// A run whose writes failed keeps the reads it measured.
RunEnd RunRandomZoneTest(TestRun& testRun, RunObserver& observer);

// The smallest drive the random test can run on, in sectors.
inline constexpr uint64_t kRandomTestMinimumSectors = 16;
