// The random test's live progress: what the window's 0.15-second timer
// shows at every firing while a random test runs.
#pragma once

#include <cstdint>

class InterfaceHost;
struct RunProgress;

inline constexpr int kProgressIntervalMilliseconds = 150;

// Shows, for each batch under way, the transfers done (static texts 110/120),
// the progress bar (count ÷ 50, 0 to 200) and the time since the batch began
// (111/121), and advances the wait cursor. Does nothing once the run has
// ended. Runs on the interface thread; now is wall-clock seconds.
void ShowRandomProgress(InterfaceHost& host, RunProgress& progress, double now);

// The progress bar value for a count of transfers.
inline int32_t ProgressBarValueForCount(uint32_t count)
{
    return static_cast<int32_t>(count / 50);
}
