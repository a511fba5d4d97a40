// The main window's numbered texts and bars that runs write: the random
// test's pane and the status line, and clearing them.
#pragma once

#include <cstdint>

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
