// Executing a prepared run: the worker fills the run and tells the observer.
#pragma once

class RunObserver;
class TestRun;

// Runs the prepared test on the calling thread: stamps the start and end
// times, fills the run, sets how it ended and tells the observer, ending
// with exactly one of Finished, Failed or Stopped.
void ExecuteRun(TestRun& testRun, RunObserver& observer);

// ExecuteRun on the run's own worker thread; the observer must outlive it.
// False when the thread cannot be created, or one already runs.
bool StartRunWorker(TestRun& testRun, RunObserver& observer);

// Asks the worker to stop between transfers, without waiting.
void RequestRunStop(TestRun& testRun);

// Waits for the worker to end (after its last event, or after a stop).
void JoinRunWorker(TestRun& testRun);
