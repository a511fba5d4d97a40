// A finished surface run with round figures, for the tests of what shows,
// reports and stores it: 380 transfers of 2,000 sectors over the first
// 760,000 sectors of a drive of a million; reads at 80 MB/s throughout,
// writes at 60 MB/s over the first half and 20 MB/s after, one slow read at
// sector 200,000, sectors 600,000 to 600,007 unreadable, 40 °C all along.
#pragma once

#include "engine/Run.h"

inline Run KnownSurfaceRun()
{
    Run run;
    run.target = {"/dev/loop7", "loop:known-surface", "Loop Device (loop7)", "488.3 MB", false, 1000000ull * 512};
    run.settings = {.kind = TestKind::Surface, .transferMegabytes = 1, .writes = true, .surfaceSpanBytes = 760000ull * 512};
    run.started = 1796500000;
    run.ended = 1796500095;
    run.end = RunEnd::Completed;
    SurfaceResult& surface = run.surface;
    surface.spanSectors = surface.coveredSectors = 760000;
    for (uint64_t i = 0; i < 380; ++i) {
        const float write = i < 190 ? 60.0f : 20.0f;
        surface.samples.push_back({i * 2000, 2000, 1, 80, 80, 80, write, write, write});
    }
    surface.read = {80.0, 80.0, 80.0, 4.53};
    surface.write = {31.2, 20.0, 20.0, 11.6};
    surface.writeFalloff = {true, 380000, 60.0, 20.0};
    surface.slowBlocks = {{200000, 2000, 152.5, false}};
    surface.unreadable = {{600000, 8, 5, "Input/output error"}};
    for (int second = 0; second < 95; ++second)
        surface.temperatures.push_back({double(second), uint64_t(second) * 8000, 40.0});
    surface.maximumCelsius = 40.0;
    return run;
}
