// The records the window's graph and panes, the reports and the command-line
// outputs read: the settings and results of the run they show, copied from
// that run (PublishRunResults) on the interface thread, and the graph's own
// drawing state. The worker never writes them: it fills the run it was given
// (engine/TestRun.h). Their readers are moving to a const Run&; these
// records go once none is left.
#pragma once

#include "engine/Run.h"

#include <atomic>
#include <cstdint>

// A rectangle in window pixels: top, left, bottom, right; bottom and right are exclusive.
struct Rect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// A length-prefixed string: one length byte, then up to 255 characters.
using Str255 = unsigned char[256];

struct ZoneResultsRec {
    uint64_t firstSectorU64;
    uint64_t lastSectorU64;
    double cycleSpeedDbl[kMaxCycleCount];
    double aveSpeedDbl;
    double minSpeedDbl;
    double maxSpeedDbl;
};

// ---- the shown run's settings ----
extern int32_t gCurrentSelectedTestType;  // the kind popup: 1 = standard zone test, 2 = random zone test
extern int32_t gZoneTestCountS32;         // 1 to 50
extern int32_t gTestCyclesS32;            // 1 to 50
extern uint32_t gXFerMBytes;
extern uint32_t gXFerKBytes;
extern uint32_t gXFerSectorsU32;
extern bool gWriteTestEnabled;
extern int64_t gDriveSizeInBytes64;
extern uint64_t gDriveSectorsU64;
extern double gMaxSpeed;

// ---- the graph's drawing state (display) ----
extern uint16_t gBarGraphWidth;
extern int16_t gGraphMax;

// The window's run is under way: from Start until its clean-up.
extern std::atomic<bool> bTestRunning;

// ---- the shown run's results ----
extern ZoneResultsRec gSavedREADResultsInfo[kMaxZoneCount];
extern ZoneResultsRec gSavedWRITEResultsInfo[kMaxZoneCount];
extern double gSavedRandomReadSpeedDbl;
extern double gSavedRandomWriteSpeedDbl;
// The queue depth the random speeds above were measured at: the one asked
// for, or the device's limit where that is lower.
extern uint32_t gSavedRandomQueueDepthU32;
extern uint32_t gSavedRandomAskedQueueDepthU32;
extern TransferLatency gSavedRandomReadLatency;
extern TransferLatency gSavedRandomWriteLatency;
extern Rect gSavedReadResultsGraphRects[kMaxZoneCount];
extern Rect gSavedWriteResultsGraphRects[kMaxZoneCount];
extern Str255 gSavedReadResultsHelpTag[kMaxZoneCount];
extern Str255 gSavedWriteResultsHelpTag[kMaxZoneCount];

// Copies the run's settings, target size and results of its kind into the
// records above: a standard run leaves the random records alone and a random
// run the zone records.
void PublishRunResults(const Run& run);

// Static texts and progress bars of the random test's pane (main window).
enum RandomPaneControl : int32_t {
    kReadSpeedText = 100,
    kWriteSpeedText = 101,
    kReadUnitText = 102,
    kWriteUnitText = 103,
    kReadRateText = 104,
    kWriteRateText = 105,
    kQueueDepthText = 106,
    kReadTimeText = 107,   // average time per transfer
    kWriteTimeText = 108,
    kReadCountText = 110,
    kWriteCountText = 120,
    kReadElapsedText = 111,
    kWriteElapsedText = 121,
    kReadProgressBar = 110,
    kWriteProgressBar = 120,
};
inline constexpr int32_t kStatusText = 5;  // main window status line

// A zone counts as measured when its read record's first cycle speed is not 0.
bool ZoneIsMeasured(int zoneIndex);

// Zeroes the zone records, their bar rectangles and help tags, without a redraw.
void ClearZoneTestResults();
// The same, then has the results redrawn (interface thread).
void ResetZoneTestResults();

// Clears both random speeds, both progress bars and the random pane's
// count, elapsed, unit and rate texts. The speed texts stay.
void ResetRandomTestResults();

// Bar width of the graph for a zone count.
uint16_t BarWidthForZoneCount(int32_t zones);
