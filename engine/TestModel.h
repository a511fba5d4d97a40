// The shared data model of a speed test: settings of the test about to run or
// running, its run state, and the result records that the tests fill and that
// the graph, the progress display and the reports read.
//
// Everything here is program-wide and lives from start to end. While a test
// runs the worker is the only writer; the interface thread reads without
// locks. Values the progress timer polls while the worker writes them are
// atomics (lock-free, naturally aligned), the rest are plain records that the
// interface thread reads only when the worker asks it to redraw or when no
// test runs.
#pragma once

#include "engine/Run.h"

#include <atomic>
#include <cstdint>

inline constexpr uint32_t kRandomBufferBytes = kRandomTransferCount * kRandomTransferBytes;
inline constexpr uint32_t kMinStandardBufferBytes = 1048576;

// A rectangle in window pixels: top, left, bottom, right; bottom and right are exclusive.
struct Rect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// A length-prefixed string: one length byte, then up to 255 characters.
using Str255 = unsigned char[256];

struct ZoneResultsRec {
    uint64_t firstSectorU64;
    uint64_t lastSectorU64;
    double cycleSpeedDbl[kMaxCycleCount];
    double aveSpeedDbl;
    double minSpeedDbl;
    double maxSpeedDbl;
};

// ---- test settings ----
extern int32_t gCurrentSelectedTestType;  // 1 = standard zone test, 2 = random zone test
extern int32_t gZoneTestCountS32;         // 1 to 50
extern int32_t gTestCyclesS32;            // 1 to 50
extern uint32_t gXFerMBytes;
extern uint32_t gXFerKBytes;
extern uint32_t gXFerSectorsU32;
extern uint32_t gXFerBytesU32;
extern bool gWriteTestEnabled;
extern int64_t gDriveSizeInBytes64;
extern uint64_t gDriveSectorsU64;
extern uint64_t gTestIncrementSizeU64;
extern uint64_t gCurrentSectorU64;
extern double gMaxSpeed;
extern uint16_t gBarGraphWidth;
extern int16_t gGraphMax;
// Transfers the random test keeps in flight: 1 (one pread or pwrite at a
// time) or a power of two up to 256 (io_uring).
extern uint32_t gRandomQueueDepthU32;

// ---- run state ----
extern std::atomic<bool> bTestRunning;
extern int32_t gUnixReadFileRef;   // -1 when closed
extern int32_t gUnixWriteFileRef;  // values of 0 and below count as closed
extern unsigned char* myIOBuffer;  // see TransferBuffer.h for its owner
extern std::atomic<uint32_t> gReadCountIndexU32;
extern std::atomic<uint32_t> gWriteCountIndexU32;
extern std::atomic<double> gRandomReadsStartTime;   // wall-clock seconds
extern std::atomic<double> gRandomWritesStartTime;
extern std::atomic<uint32_t> gAnimatedCursorIndexU32;

// Logical block size of the open device; transfer positions are rounded down
// to a multiple of it when it is above 512 bytes, so direct I/O is accepted.
extern uint32_t gDeviceBlockBytesU32;

// ---- results ----
extern ZoneResultsRec gSavedREADResultsInfo[kMaxZoneCount];
extern ZoneResultsRec gSavedWRITEResultsInfo[kMaxZoneCount];
extern double gSavedRandomReadSpeedDbl;
extern double gSavedRandomWriteSpeedDbl;
// The queue depth the random speeds above were measured at: the one asked
// for, or the device's limit where that is lower.
extern uint32_t gSavedRandomQueueDepthU32;
extern uint32_t gSavedRandomAskedQueueDepthU32;
extern TransferLatency gSavedRandomReadLatency;
extern TransferLatency gSavedRandomWriteLatency;
extern uint64_t gSectorTableU64[kRandomTransferCount];
extern Rect gSavedReadResultsGraphRects[kMaxZoneCount];
extern Rect gSavedWriteResultsGraphRects[kMaxZoneCount];
extern Str255 gSavedReadResultsHelpTag[kMaxZoneCount];
extern Str255 gSavedWriteResultsHelpTag[kMaxZoneCount];

// Static texts and progress bars of the random test's pane (main window).
enum RandomPaneControl : int32_t {
    kReadSpeedText = 100,
    kWriteSpeedText = 101,
    kReadUnitText = 102,
    kWriteUnitText = 103,
    kReadRateText = 104,
    kWriteRateText = 105,
    kQueueDepthText = 106,
    kReadTimeText = 107,   // average time per transfer
    kWriteTimeText = 108,
    kReadCountText = 110,
    kWriteCountText = 120,
    kReadElapsedText = 111,
    kWriteElapsedText = 121,
    kReadProgressBar = 110,
    kWriteProgressBar = 120,
};
inline constexpr int32_t kStatusText = 5;  // main window status line

// A zone counts as measured when its read record's first cycle speed is not 0.
bool ZoneIsMeasured(int zoneIndex);

// Zeroes every zone record, graph rectangle and help tag, then has the
// results redrawn (through the bridge when called on the worker).
// Zeroes the zone records, their bar rectangles and help tags, without a redraw.
void ClearZoneTestResults();
void ResetZoneTestResults();

// Clears both random speeds, both progress bars and the random pane's
// count, elapsed, unit and rate texts. The speed texts stay.
void ResetRandomTestResults();

// Bar width of the graph for a zone count.
uint16_t BarWidthForZoneCount(int32_t zones);
