// Result records and chosen drive or volume for the report tests.
#pragma once

#include "devices/DriveRecords.h"
#include "engine/TestModel.h"
#include "reports/ResultsReport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

inline const ReportDateTime kSavedAt{"Monday, December 7, 2026", "05:42:17"};

// Fills zones × cycles of results with distinct speeds (reads, and writes
// when enabled), zone sectors 0, 1000, 2999808, ... and no random results.
inline void FillZoneResults(int zones, int cycles, uint32_t megabytes, bool writes)
{
    std::memset(gSavedREADResultsInfo, 0, sizeof gSavedREADResultsInfo);
    std::memset(gSavedWRITEResultsInfo, 0, sizeof gSavedWRITEResultsInfo);
    gSavedRandomReadSpeedDbl = 0.0;
    gSavedRandomWriteSpeedDbl = 0.0;
    gZoneTestCountS32 = zones;
    gTestCyclesS32 = cycles;
    gXFerMBytes = megabytes;
    gWriteTestEnabled = writes;
    for (int zone = 0; zone < zones; ++zone) {
        const uint64_t first = zone == 0 ? 0 : zone == 1 ? 1000 : zone == 2 ? 2999808 : 1000ull * zone;
        for (ZoneResultsRec* record : {&gSavedREADResultsInfo[zone], &gSavedWRITEResultsInfo[zone]}) {
            const bool read = record == &gSavedREADResultsInfo[zone];
            record->firstSectorU64 = first;
            record->lastSectorU64 = first + 2047;
            double sum = 0.0;
            record->minSpeedDbl = 1e9;
            for (int cycle = 0; cycle < cycles; ++cycle) {
                const double speed = read ? 85.25 + 10 * zone - 2.5 * cycle : 40.125 + 5 * zone + 1.25 * cycle;
                record->cycleSpeedDbl[cycle] = speed;
                sum += speed;
                record->minSpeedDbl = std::min(record->minSpeedDbl, speed);
                record->maxSpeedDbl = std::max(record->maxSpeedDbl, speed);
            }
            record->aveSpeedDbl = sum / cycles;
        }
    }
}

// Drive tab with a loop drive chosen, or volume tab with a volume chosen.
inline void ChooseTestedDevice(int32_t tab, DriveInfoRec& drive, VolInfoRec& volume)
{
    drive = DriveInfoRec{};
    volume = VolInfoRec{};
    CopyCStrToPStr("Loop Device (loop7)", drive.driveNamePStr);
    std::snprintf(drive.sizeLabelCStr, sizeof drive.sizeLabelCStr, "1.500 Gigabytes");
    CopyCStrToPStr("kv1", volume.volNamePStr);
    std::snprintf(volume.totalSizeLabelCStr, sizeof volume.totalSizeLabelCStr, "480.0 MB");
    gDVLastTabIndex = tab;
    gActiveDrive = &drive;
    gActiveVolume = &volume;
}

inline std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
