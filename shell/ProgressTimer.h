// The random test's 0.15-second progress timer on the interface thread.
#pragma once

struct RunProgress;

// Shows the run's progress now and at every firing; the run outlives the timer.
void StartUpdateTimer(RunProgress& progress);
void CancelUpdateTimer();
bool UpdateTimerRunning();
