// One run under way: the run value the worker fills, what the progress
// display polls, and everything the run owns while it goes on (descriptors,
// transfer buffer, sector table, stop request, drive watch, worker thread).
// Nothing of it is program-wide, so two runs can go on at once.
#pragma once

#include "engine/DriveWatch.h"
#include "engine/Run.h"
#include "engine/StopRequest.h"
#include "engine/TransferBuffer.h"
#include "engine/TransferPosition.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// What the progress display polls while the worker runs.
struct RunProgress {
    std::atomic<bool> running{false};
    std::atomic<uint32_t> randomReads{0};   // transfers done in the random read batch under way
    std::atomic<uint32_t> randomWrites{0};
    std::atomic<double> readsStarted{0.0};  // wall-clock seconds
    std::atomic<double> writesStarted{0.0};
    std::atomic<uint32_t> cursorFrame{0};
    TransferPosition position;
    // Surface test: sectors covered from the first, the read and write
    // speeds of the last moment (MB/s) and the seconds it reckons are left.
    std::atomic<uint64_t> surfaceCoveredSectors{0};
    std::atomic<double> surfaceSpeedNow{0.0};
    std::atomic<double> surfaceWriteSpeedNow{0.0};
    std::atomic<double> surfaceSecondsLeft{0.0};
};

class TestRun {
public:
    explicit TestRun(Run prepared);
    // Stops and waits for a worker still running, then closes the descriptors.
    ~TestRun();
    TestRun(const TestRun&) = delete;
    TestRun& operator=(const TestRun&) = delete;

    // Written by the worker only while it runs (see Run.h for readers).
    Run run;
    RunProgress progress;
    StopRequest stop;
    DriveWatch watch;
    TransferBuffer buffer;
    int readDescriptor = -1;
    int writeDescriptor = -1;      // -1 unless the run writes
    uint64_t zoneIncrement = 0;    // standard test: sectors between zones
    std::vector<uint64_t> sectorTable;  // random test: where each transfer goes
    std::string temperatureFile;   // surface test: the drive's hwmon temperature, "" without one
    std::thread worker;

    bool Writes() const { return run.settings.writes; }
    uint32_t TransferBytes() const { return run.settings.TransferBytes(); }
    void CloseDescriptors();
};
