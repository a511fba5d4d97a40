// The random test's 0.15-second progress timer on the interface thread.
#pragma once

void StartUpdateTimer();
void CancelUpdateTimer();
bool UpdateTimerRunning();
