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
    Surface = 3,   // every transfer from the first sector to the end of the span
};

// The settings of one run, fixed at Start.
struct RunSettings {
    TestKind kind = TestKind::Standard;
    int32_t zones = 1;               // standard test: 1 to 50
    int32_t cycles = 1;              // standard test: 1 to 50
    uint32_t transferMegabytes = 0;  // standard test: 1 to 511
    uint32_t queueDepth = 1;         // random test: transfers in flight asked for
    bool writes = false;             // writes are measured too (each puts back what was read)
    uint64_t surfaceSpanBytes = 0;   // surface test: the first N bytes only; 0 = the whole target
    uint32_t surfaceMinutes = 0;     // surface test: stop cleanly after this long; 0 = no limit

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

// Surface test: one point of speed against position. At full resolution one
// transfer; once a run has more than kSurfaceFullResolutionSamples transfers,
// neighbouring points are folded into one (minimum, average and maximum of
// the transfers it covers), so memory stays bounded for any drive size.
inline constexpr size_t kSurfaceFullResolutionSamples = 100000;

struct SurfaceSample {
    uint64_t firstSector = 0;  // of the first transfer it covers
    uint64_t sectors = 0;      // sectors it covers
    uint32_t transfers = 0;    // transfers folded into it (1 at full resolution)
    float readMinimum = 0.0f;  // MB/s
    float readAverage = 0.0f;
    float readMaximum = 0.0f;
    float writeMinimum = 0.0f; // 0 when the run has no writes
    float writeAverage = 0.0f;
    float writeMaximum = 0.0f;

    bool operator==(const SurfaceSample&) const = default;
};

// Speeds over every transfer of the surface in one direction, MB/s.
struct SurfaceSpeedFigures {
    double average = 0.0;        // bytes moved / time taken
    double minimum = 0.0;
    double onePercentLow = 0.0;  // the speed that 99 % of the transfers reach
    double seconds = 0.0;        // time taken by the timed transfers

    bool operator==(const SurfaceSpeedFigures&) const = default;
};

// A transfer that took more than ten times the median transfer time.
struct SurfaceSlowBlock {
    uint64_t firstSector = 0;
    uint64_t sectors = 0;
    double milliseconds = 0.0;
    bool write = false;

    bool operator==(const SurfaceSlowBlock&) const = default;
};

// Sectors that could not be read (found in logical-block steps); nothing was
// written back over them.
struct SurfaceUnreadableRange {
    uint64_t firstSector = 0;
    uint64_t sectors = 0;
    int errorNumber = 0;
    std::string errorText;       // as the system tells it

    bool operator==(const SurfaceUnreadableRange&) const = default;
};

// Where sustained writes fall off: the write speed drops and stays below 60 %
// of the median of the first 5 % of the span for at least 2 % of it.
struct SurfaceWriteFalloff {
    bool found = false;
    uint64_t atSector = 0;       // where it fell
    double beforeSpeed = 0.0;    // MB/s: the median of the first 5 %
    double afterSpeed = 0.0;     // MB/s: the median after the fall

    bool operator==(const SurfaceWriteFalloff&) const = default;
};

// The drive's temperature, sampled once a second where it reports one.
struct TemperatureSample {
    double seconds = 0.0;        // since the run started
    uint64_t sector = 0;         // position reached then
    double celsius = 0.0;

    bool operator==(const TemperatureSample&) const = default;
};

struct SurfaceResult {
    uint64_t spanSectors = 0;      // what the run set out to cover, from sector 0
    uint64_t coveredSectors = 0;   // what it covered (less when stopped or out of time)
    bool timeLimitReached = false; // ended by its time limit
    std::vector<SurfaceSample> samples;
    SurfaceSpeedFigures read;
    SurfaceSpeedFigures write;     // meaningful only when the run's settings have writes
    SurfaceWriteFalloff writeFalloff;
    std::vector<SurfaceSlowBlock> slowBlocks;
    std::vector<SurfaceUnreadableRange> unreadable;
    std::vector<TemperatureSample> temperatures;  // empty when the drive reports none
    double maximumCelsius = 0.0;   // 0 when none reported
    bool possibleThrottling = false;  // the speed dropped while the temperature was at its highest

    uint64_t UnreadableSectors() const
    {
        uint64_t sectors = 0;
        for (const SurfaceUnreadableRange& range : unreadable)
            sectors += range.sectors;
        return sectors;
    }

    bool operator==(const SurfaceResult&) const = default;
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
    // Surface test. Its vectors grow while the worker runs: the interface
    // thread reads them only while the worker waits in an observer call.
    SurfaceResult surface;

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
        switch (settings.kind) {
        case TestKind::Random:
            return random.readSpeed != 0.0;
        case TestKind::Surface:
            return !surface.samples.empty();
        case TestKind::Standard:
            break;
        }
        return ZoneMeasured(0);
    }

    bool operator==(const Run&) const = default;
};
