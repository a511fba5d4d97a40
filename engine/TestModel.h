// What the window keeps beside the run it shows: the choices for the next
// run, whether one is under way, and the numbers of the random pane's texts.
// The worker never writes them: it fills the run it was given
// (engine/TestRun.h), and everything that shows or stores results reads a run.
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

// ---- the window's choices for the next run ----
extern int32_t gCurrentSelectedTestType;  // the kind popup: 1 = standard zone test, 2 = random zone test
// Size of the drive or volume chosen, 0 when none is; the position labels are drawn from it.
extern int64_t gDriveSizeInBytes64;

// The window's run is under way: from Start until its clean-up.
extern std::atomic<bool> bTestRunning;

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

// Has the results redrawn (interface thread) once the run they showed is gone.
void ResetZoneTestResults();

// Clears both progress bars and the random pane's count, elapsed, unit and
// rate texts. The speed texts stay.
void ResetRandomTestResults();

// Bar width of the graph for a zone count.
uint16_t BarWidthForZoneCount(int32_t zones);
