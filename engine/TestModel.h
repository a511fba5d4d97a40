// What the window keeps beside the run it shows: the choices for the next
// run and whether one is under way.
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
extern int32_t gCurrentSelectedTestType;  // the kind popup: 1 = standard zone test, 2 = random zone test, 3 = surface test
// Size of the drive or volume chosen, 0 when none is; the position labels are drawn from it.
extern int64_t gDriveSizeInBytes64;

// The window's run is under way: from Start until its clean-up.
extern std::atomic<bool> bTestRunning;

// Bar width of the graph for a zone count.
uint16_t BarWidthForZoneCount(int32_t zones);
