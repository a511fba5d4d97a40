// The one worker thread that runs a test.
#pragma once

#include <cstdint>

// The worker's entry point: runs the selected test and returns 0.
int32_t MyTask(void* parameter);

// Raises the running flag and runs the standard test (type 1) or the random test.
void RunSelectedSpeedTestMP();

// Ends a test that ran to its end (completed) or failed: lowers the running
// flag and posts the test-finished notice to the host.
void FinishTestMP(bool completed);

// True when the last test that ended by itself measured everything it set
// out to (not stopped, no failed transfer); false again once a test starts.
bool LastTestCompleted();

// Starts the worker for the settings now in the model. The running flag is
// raised before the thread starts, so a second Start cannot launch a second
// test. False when the thread cannot be created (the flag is lowered again).
bool StartTestWorker();

// Asks a running worker to stop between transfers and releases any request it
// waits in, without waiting: the worker posts its stopped notice (or, if it
// was just ending, its finished notice) when it returns. Does nothing without a worker.
void RequestTestWorkerStop();

// The same, then waits until the thread has ended.
void StopTestWorker();

// Waits for a worker that has posted its finished or stopped notice to end.
void JoinFinishedTestWorker();

bool TestWorkerExists();
