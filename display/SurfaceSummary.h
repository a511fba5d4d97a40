// What the window says of a surface run: the status line while it runs
// (position, the speed now and the time left) and the summary of its
// figures under its graph.
#pragma once

#include "engine/Run.h"

#include <QString>

// The figures of a surface run in three lines: reads, writes (when
// measured), then the fall-off, the slow and unreadable blocks, the highest
// temperature and the part covered when it ended early. Empty without samples.
QString SurfaceSummaryText(const Run& run);

// "Surface Test: 12.3 of 100.0 GB, 512.0 MB/sec now, 3 min left"; the time
// left is the lesser of what the pace so far and the time limit leave, and
// is left out until something has been covered.
QString SurfaceProgressText(const Run& run, double elapsedSeconds);

// Sectors as binary gigabytes with one decimal ("38.2"), as every surface text gives positions.
QString SectorsAsGigabytes(uint64_t sectors);
