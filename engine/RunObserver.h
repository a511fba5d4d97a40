// What a run tells while the worker executes it. The window and the
// command-line runner each present these events their own way; the engine
// never names a widget. Every call comes on the worker and the worker goes on
// once it has returned, so an observer may read the run (and the interface
// thread may, while the observer waits for it).
#pragma once

#include "engine/TransferPosition.h"

#include <cstdint>
#include <string>

class TestRun;

enum class RunPhase {
    Preflight,     // the standard test reads its zones once in order
    Cycle,         // one cycle over every zone
    RandomReads,
    RandomWrites,
    Surface,       // the surface test's one pass from the first sector
};

class RunObserver {
public:
    virtual ~RunObserver() = default;

    // The worker has begun: the run's results of its kind are empty.
    virtual void Started(const TestRun&) {}
    // cycle from 0; -1 outside cycles.
    virtual void PhaseStarted(const TestRun&, RunPhase, int32_t /*cycle*/) {}
    // A standard zone's read or write record has a new cycle.
    virtual void ZoneMeasured(const TestRun&, int32_t /*zone*/, TransferPhase) {}
    // A random batch has its speed.
    virtual void RandomMeasured(const TestRun&, TransferPhase) {}
    // A timed transfer moved all its bytes (the standard test) .
    virtual void Progress(const TestRun&) {}
    // The surface test has new samples (or temperatures) since the last call;
    // called a few times a second at most, not per transfer.
    virtual void SurfaceMeasured(const TestRun&) {}

    // Exactly one of the three ends each run. Failed comes with run.failure set.
    virtual void Finished(const TestRun&) {}
    virtual void Failed(const TestRun&) {}
    virtual void Stopped(const TestRun&) {}
};

// The status line of a phase: "Test in Progress: Cycle 2 of 3" and the like.
std::string RunPhaseStatusText(RunPhase phase, int32_t cycle, int32_t cycles);
