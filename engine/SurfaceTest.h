// The surface test: one pass over the target from sector 0 to the end of its
// span in transfers of the transfer size (the last one shorter), each timed;
// with writes each transfer is written back right after it is read, the
// write timed on its own, so the medium ends as it was. A read that fails is
// read again block by block to find the sectors that cannot be read; the
// transfer is then not written back at all, and the pass goes on.
#pragma once

#include "engine/Run.h"

#include <cstdint>

class RunObserver;
class SurfaceDevice;
class TestRun;

// Sectors the run sets out to cover: its span, or the whole target, in
// whole logical blocks.
uint64_t SurfaceSpanSectors(const RunSettings& settings, const RunTarget& target);

// On the run's own device.
RunEnd RunSurfaceTest(TestRun& testRun, RunObserver& observer);
// On the device given (a simulated one in tests and benchmarks).
RunEnd RunSurfaceTest(TestRun& testRun, RunObserver& observer, SurfaceDevice& device);

// How often the observer hears of new samples, and the temperature is read.
inline constexpr uint64_t kSurfaceReportNanoseconds = 250'000'000;
inline constexpr uint64_t kSurfaceTemperatureNanoseconds = 1'000'000'000;
