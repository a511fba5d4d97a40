// One finished test as a self-contained record: when it ran, with which
// program, on which drive or volume, with which settings, and every result.
// It is what the run history keeps and what "Open Results…" shows again,
// written and read as JSON (docs/run-document.schema.json).
#pragma once

#include "engine/Run.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kRunDocumentFormat = "kestrelia-run";
// Version 2 adds the surface test; documents of version 1 still read.
inline constexpr int kRunDocumentVersion = 2;
inline constexpr int kOldestRunDocumentVersion = 1;

struct RunSpeeds {
    double min = 0, avg = 0, max = 0;
    std::vector<double> cycles;
};

struct RunZone {
    uint64_t firstSector = 0;
    uint64_t lastSector = 0;
    RunSpeeds read;
    std::optional<RunSpeeds> write;
};

struct RunDocument {
    std::string when;            // UTC, "2026-12-07T19:40:52Z"
    std::string programVersion;
    std::string identity;        // DriveIdentityFor
    std::string description;     // the drive's or volume's name as listed ("Loop Device (loop3)")
    std::string devicePath;      // the node it was tested through
    uint64_t sizeBytes = 0;
    bool isVolume = false;
    bool randomTest = false;
    bool surfaceTest = false;
    int32_t zones = 0;
    int32_t cycles = 0;
    uint32_t transferMegabytes = 0;
    bool writes = false;
    int32_t queueDepth = 1;
    std::vector<RunZone> zoneResults;       // standard test: measured zones in order
    std::optional<double> randomRead;       // random test, MB/s
    std::optional<double> randomWrite;
    // Surface test: the span and time limit asked for, how the run ended
    // (it may have been stopped part way) and its whole result.
    uint64_t surfaceSpanBytes = 0;
    uint32_t surfaceMinutes = 0;
    RunEnd end = RunEnd::Completed;
    std::optional<SurfaceResult> surface;
};

// The document of a run: its target, settings as at Start, the time it
// ended and the results of its kind (the zones measured, in order).
RunDocument CaptureRunDocument(const Run& run);

// The run a document keeps, as it was: its drive (the name as it may be
// shown, the size label made from its size), settings, time and results.
Run RunFromDocument(const RunDocument& document);

// JSON text of a document, and a document from JSON text. Parsing refuses
// (with the reason in *error) text that is no run document of this program,
// and one whose content no run can have ("impossible content: ...").
std::string RunDocumentToJson(const RunDocument& run);
std::optional<RunDocument> RunDocumentFromJson(const std::string& text, std::string* error);

// Reads a file holding a run document; the reason in *error when it cannot.
std::optional<RunDocument> ReadRunDocumentFile(const std::string& path, std::string* error);
// The same without a surface run's samples (their list left empty): what a
// list of runs needs, in a fraction of the time a big document takes whole.
std::optional<RunDocument> ReadRunDocumentHeader(const std::string& path, std::string* error);

// The text of a file of runs: a regular file no larger than the largest run
// document, opened without waiting for a pipe or device under its name and,
// unless followLink, never through a symbolic link. The reason in *error when
// it cannot be read.
std::optional<std::string> ReadRunFileText(const std::string& path, std::string* error, bool followLink);

// A time as a document's "when" gives it: "2026-12-07T19:40:52Z".
std::string RunDocumentWhenText(std::time_t when);

// When the run was made, from its "when"; nullopt when that is no UTC time
// written as "2026-12-07T19:40:52Z". Every document read has one.
std::optional<std::time_t> RunDocumentTime(const RunDocument& run);

// "2026-12-07 19:40 UTC, Standard test, 10 zones × 2 cycles, 4 MB, reads and writes",
// "2026-12-07 19:40 UTC, Random test, queue depth 32, reads only".
std::string RunSummary(const RunDocument& run);

// Why an earlier run cannot be compared with results of the given kind and
// zone count ("a random test", "5 zones"), or "" when it can.
std::string RunComparabilityProblem(const RunDocument& earlier, TestKind kind, int32_t zones);
std::string RunComparabilityProblem(const RunDocument& earlier, bool randomTest, int32_t zones);

// Change from earlier to now in percent; nullopt when earlier is not positive.
std::optional<double> PercentChange(double earlier, double now);
