// Stop is a request that the worker checks between transfers; the worker then
// ends the test without posting the test-finished notice.
#pragma once

void RequestTestStop();
void ClearTestStopRequest();
bool TestStopRequested();

// Sleeps until the deadline of the monotonic clock or until a stop is requested.
void SleepUntilOrStopped(unsigned long long deadlineNanoseconds);
