// One run of a speed test as a value: what was tested, the settings as they
// were at Start, when it ran, every result, and how it ended.
//
// The worker fills the run it was given; the window shows a run (the last one
// or one opened from a file); reports, graphs, JSON documents and the history
// are written from a run. Nothing that shows or stores results reads the
// settings of the next run.
//
// While a test runs, the worker is the only writer of its run. The zone
// vectors are sized when the run is prepared and never resized while the
// worker runs, and every field is written whole, so the interface thread may
// read a running run when the worker asks it to redraw: it sees each value
// either old or new, never torn.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kMaxZoneCount = 50;            // zones per standard test
inline constexpr int kMaxCycleCount = 50;           // cycles per zone
inline constexpr int kRandomTransferCount = 10000;  // transfers per random phase
inline constexpr uint32_t kRandomTransferBytes = 4096;

enum class TestKind : int32_t {
    Standard = 1,  // sequential transfers at zones spread over the target
    Random = 2,    // 10,000 transfers of 4 KiB at random places
};

// The settings of one run, fixed at Start.
struct RunSettings {
    TestKind kind = TestKind::Standard;
    int32_t zones = 1;               // standard test: 1 to 50
    int32_t cycles = 1;              // standard test: 1 to 50
    uint32_t transferMegabytes = 0;  // standard test: 1 to 511
    uint32_t queueDepth = 1;         // random test: transfers in flight asked for
    bool writes = false;             // writes are measured too (each puts back what was read)

    // Bytes of every timed transfer: the transfer size, or 4096 for the random test.
    uint32_t TransferBytes() const
    {
        return kind == TestKind::Random ? kRandomTransferBytes : transferMegabytes * 1048576u;
    }
    uint32_t TransferSectors() const { return TransferBytes() / 512u; }

    bool operator==(const RunSettings&) const = default;
};

// The drive or volume a run addresses.
struct RunTarget {
    std::string devicePath;         // node the test opened (/dev/sdb, /dev/sdb2, a file)
    std::string identity;           // stable key of the drive for the history ("" without one)
    std::string name;               // as listed ("Loop Device (loop3)", a volume's name)
    std::string sizeLabel;          // the listing's size text, as reports print it
    bool isVolume = false;          // a volume rather than a whole drive
    uint64_t sizeBytes = 0;         // of the node itself
    uint32_t logicalBlockBytes = 512;

    // Size in 512-byte sectors, the unit of every sector number of a run.
    uint64_t Sectors() const { return sizeBytes >> 9; }

    bool operator==(const RunTarget&) const = default;
};

// One zone's speeds in one direction, in megabytes (1,048,576 bytes) per second.
// Cycles not yet run are 0; minimum, average and maximum cover the cycles run.
struct ZoneSpeeds {
    std::array<double, kMaxCycleCount> cycles{};
    double average = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;

    bool operator==(const ZoneSpeeds&) const = default;
};

struct ZoneResult {
    uint64_t firstSector = 0;  // of the range measured, as recorded
    uint64_t lastSector = 0;
    ZoneSpeeds read;
    ZoneSpeeds write;          // meaningful only when the run's settings have writes

    // A zone counts as measured once its first read cycle has a speed.
    bool Measured() const { return read.cycles[0] != 0.0; }
    bool WriteMeasured() const { return write.cycles[0] != 0.0; }

    bool operator==(const ZoneResult&) const = default;
};

// Time from handing a transfer to the kernel until its completion was seen;
// measured above queue depth 1 only (0 else).
struct TransferLatency {
    double meanMicroseconds = 0.0;
    double p99Microseconds = 0.0;

    bool operator==(const TransferLatency&) const = default;
};

struct RandomResult {
    double readSpeed = 0.0;   // MB/s, 0 = not measured
    double writeSpeed = 0.0;
    uint32_t queueDepth = 1;  // the depth measured at: the one asked for, or the device's lower limit
    TransferLatency readLatency;
    TransferLatency writeLatency;

    bool operator==(const RandomResult&) const = default;
};

// How a run ended.
enum class RunEnd : int32_t {
    NotEnded,   // prepared, or under way
    Completed,  // measured everything it set out to
    Stopped,    // the user (or a signal) stopped it
    Failed,     // a transfer failed, or someone else began to use the drive
};

// Where and why a run failed.
struct RunFailure {
    std::string message;       // the alert text or the reason, as shown
    std::string phase;         // "read", "write", "preflight", "" when not a transfer
    int32_t zone = -1;         // 0-based, -1 when not in a zone
    int32_t cycle = -1;
    uint64_t sector = 0;
    int errorNumber = 0;       // errno of the failed transfer, 0 when none

    bool operator==(const RunFailure&) const = default;
};

struct Run {
    RunTarget target;
    RunSettings settings;
    std::time_t started = 0;   // wall clock, UTC seconds; 0 before Start
    std::time_t ended = 0;
    RunEnd end = RunEnd::NotEnded;
    std::optional<RunFailure> failure;

    // Standard test: settings.zones entries, sized when the run is prepared.
    std::vector<ZoneResult> zones;
    // The highest single-transfer speed of the standard test, read or write; the graph scales to it.
    double maxSpeed = 0.0;
    // Random test.
    RandomResult random;

    // Zone z (0-based) has been measured.
    bool ZoneMeasured(int z) const
    {
        return z >= 0 && z < static_cast<int>(zones.size()) && zones[static_cast<size_t>(z)].Measured();
    }
    // Zones measured, from the first, up to the first one not measured.
    int MeasuredZoneCount() const
    {
        int count = 0;
        while (ZoneMeasured(count))
            ++count;
        return count;
    }
    // Something was measured that can be shown, reported and stored.
    bool HasResults() const
    {
        return settings.kind == TestKind::Random ? random.readSpeed != 0.0 : ZoneMeasured(0);
    }

    bool operator==(const Run&) const = default;
};
