#include "reports/RunDocument.h"

#include "format/CountText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef KESTRELIA_VERSION
#define KESTRELIA_VERSION "unknown"
#endif

using nlohmann::json;

namespace {
// The largest run (50 zones of 50 cycles, reads and writes) is about 100 KB.
constexpr std::size_t kMaxRunDocumentBytes = 1 << 20;

// The queue depth the saved random results were measured at.
int32_t CurrentQueueDepth()
{
    return static_cast<int32_t>(gSavedRandomQueueDepthU32 > 0 ? gSavedRandomQueueDepthU32 : 1);
}

std::string UtcText(std::time_t when)
{
    std::tm parts{};
    gmtime_r(&when, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

RunSpeeds SpeedsOf(const ZoneResultsRec& record, int32_t cycles)
{
    RunSpeeds speeds{record.minSpeedDbl, record.aveSpeedDbl, record.maxSpeedDbl, {}};
    for (int c = 0; c < cycles && c < kMaxCycleCount; ++c)
        speeds.cycles.push_back(record.cycleSpeedDbl[c]);
    return speeds;
}

void PutSpeeds(const RunSpeeds& speeds, uint64_t first, uint64_t last, ZoneResultsRec& record)
{
    record = ZoneResultsRec{};
    record.firstSectorU64 = first;
    record.lastSectorU64 = last;
    record.minSpeedDbl = speeds.min;
    record.aveSpeedDbl = speeds.avg;
    record.maxSpeedDbl = speeds.max;
    const std::size_t cycles = std::min<std::size_t>(speeds.cycles.size(), kMaxCycleCount);
    std::copy_n(speeds.cycles.begin(), cycles, record.cycleSpeedDbl);
}

json SpeedsJson(const RunSpeeds& speeds)
{
    return {{"min", speeds.min}, {"avg", speeds.avg}, {"max", speeds.max}, {"cycles", speeds.cycles}};
}

// Reading throws json exceptions on anything malformed; the caller turns them into a reason.
RunSpeeds SpeedsFrom(const json& value)
{
    RunSpeeds speeds;
    speeds.min = value.at("min").get<double>();
    speeds.avg = value.at("avg").get<double>();
    speeds.max = value.at("max").get<double>();
    speeds.cycles = value.at("cycles").get<std::vector<double>>();
    for (const double speed : {speeds.min, speeds.avg, speeds.max})
        if (!std::isfinite(speed) || speed < 0)
            throw std::out_of_range("a speed is negative");
    if (speeds.cycles.size() > kMaxCycleCount)
        throw std::out_of_range("more cycles than a run can have");
    return speeds;
}

std::optional<double> OptionalNumber(const json& value)
{
    if (value.is_null())
        return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number) || number < 0)
        throw std::out_of_range("a speed is negative");
    return number;
}

uint64_t Mix(uint64_t hash, const void* data, std::size_t bytes)
{
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < bytes; ++i)
        hash = (hash ^ p[i]) * 1099511628211ull;
    return hash;
}
}  // namespace

RunDocument CaptureRunDocument(const RunSubject& subject, std::time_t when)
{
    RunDocument run;
    run.when = UtcText(when);
    run.programVersion = KESTRELIA_VERSION;
    run.identity = subject.identity;
    run.description = subject.description;
    run.devicePath = subject.devicePath;
    run.sizeBytes = subject.sizeBytes;
    run.isVolume = subject.isVolume;
    run.randomTest = gCurrentSelectedTestType != 1;
    run.writes = gWriteTestEnabled;
    run.queueDepth = CurrentQueueDepth();
    if (run.randomTest) {
        run.zones = 0;
        run.cycles = 0;
        run.transferMegabytes = 0;
        run.randomRead = gSavedRandomReadSpeedDbl;
        if (gWriteTestEnabled)
            run.randomWrite = gSavedRandomWriteSpeedDbl;
        return run;
    }
    run.zones = gZoneTestCountS32;
    run.cycles = gTestCyclesS32;
    run.transferMegabytes = gXFerMBytes;
    for (int z = 0; z < gZoneTestCountS32 && z < kMaxZoneCount && ZoneIsMeasured(z); ++z) {
        const ZoneResultsRec& read = gSavedREADResultsInfo[z];
        RunZone zone{read.firstSectorU64, read.lastSectorU64, SpeedsOf(read, gTestCyclesS32), std::nullopt};
        if (gWriteTestEnabled)
            zone.write = SpeedsOf(gSavedWRITEResultsInfo[z], gTestCyclesS32);
        run.zoneResults.push_back(zone);
    }
    return run;
}

void ApplyRunDocument(const RunDocument& run)
{
    ClearZoneTestResults();
    gSavedRandomReadSpeedDbl = 0.0;
    gSavedRandomWriteSpeedDbl = 0.0;

    gCurrentSelectedTestType = run.randomTest ? 2 : 1;
    gWriteTestEnabled = run.writes;
    gDriveSizeInBytes64 = static_cast<int64_t>(run.sizeBytes);
    gDriveSectorsU64 = run.sizeBytes >> 9;
    gMaxSpeed = 0.0;
    if (run.randomTest) {
        gSavedRandomReadSpeedDbl = run.randomRead.value_or(0.0);
        gSavedRandomWriteSpeedDbl = run.randomWrite.value_or(0.0);
        return;
    }
    gZoneTestCountS32 = std::clamp<int32_t>(run.zones, 1, kMaxZoneCount);
    gTestCyclesS32 = std::clamp<int32_t>(run.cycles, 1, kMaxCycleCount);
    gXFerMBytes = run.transferMegabytes;
    gXFerKBytes = run.transferMegabytes * 1024;
    gXFerSectorsU32 = run.transferMegabytes * 2048;
    gBarGraphWidth = BarWidthForZoneCount(gZoneTestCountS32);
    const std::size_t zones = std::min<std::size_t>(run.zoneResults.size(), kMaxZoneCount);
    for (std::size_t z = 0; z < zones; ++z) {
        const RunZone& zone = run.zoneResults[z];
        PutSpeeds(zone.read, zone.firstSector, zone.lastSector, gSavedREADResultsInfo[z]);
        gMaxSpeed = std::max(gMaxSpeed, zone.read.max);
        if (zone.write) {
            PutSpeeds(*zone.write, zone.firstSector, zone.lastSector, gSavedWRITEResultsInfo[z]);
            gMaxSpeed = std::max(gMaxSpeed, zone.write->max);
        }
    }
}

uint64_t CurrentResultsFingerprint()
{
    uint64_t hash = 14695981039346656037ull;
    hash = Mix(hash, gSavedREADResultsInfo, sizeof gSavedREADResultsInfo);
    hash = Mix(hash, gSavedWRITEResultsInfo, sizeof gSavedWRITEResultsInfo);
    hash = Mix(hash, &gSavedRandomReadSpeedDbl, sizeof gSavedRandomReadSpeedDbl);
    return Mix(hash, &gSavedRandomWriteSpeedDbl, sizeof gSavedRandomWriteSpeedDbl);
}

std::string RunDocumentToJson(const RunDocument& run)
{
    json zones = json::array();
    for (const RunZone& zone : run.zoneResults)
        zones.push_back({{"first_sector", zone.firstSector},
                         {"last_sector", zone.lastSector},
                         {"read", SpeedsJson(zone.read)},
                         {"write", zone.write ? SpeedsJson(*zone.write) : json(nullptr)}});
    json random = nullptr;
    if (run.randomTest)
        random = {{"read_mbps", run.randomRead ? json(*run.randomRead) : json(nullptr)},
                  {"write_mbps", run.randomWrite ? json(*run.randomWrite) : json(nullptr)}};
    const json document = {
        {"format", kRunDocumentFormat},
        {"format_version", kRunDocumentVersion},
        {"when", run.when},
        {"program_version", run.programVersion},
        {"drive",
         {{"identity", run.identity},
          {"description", run.description},
          {"device_path", run.devicePath},
          {"size_bytes", run.sizeBytes},
          {"volume", run.isVolume}}},
        {"settings",
         {{"test", run.randomTest ? "random" : "standard"},
          {"zones", run.zones},
          {"cycles", run.cycles},
          {"transfer_megabytes", run.transferMegabytes},
          {"writes", run.writes},
          {"queue_depth", run.queueDepth}}},
        {"zones", zones},
        {"random", random},
    };
    // Invalid UTF-8 in a name is replaced rather than refused.
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::optional<RunDocument> RunDocumentFromJson(const std::string& text, std::string* error)
{
    auto refuse = [error](const std::string& reason) {
        if (error != nullptr)
            *error = reason;
        return std::nullopt;
    };
    const json document = json::parse(text, nullptr, false);
    if (document.is_discarded())
        return refuse("not JSON");
    if (!document.is_object() || document.value("format", "") != kRunDocumentFormat)
        return refuse("not a Kestrelia run document");
    try {
        if (document.at("format_version").get<int>() != kRunDocumentVersion)
            return refuse("a run document of another version");
        RunDocument run;
        run.when = document.at("when").get<std::string>();
        run.programVersion = document.at("program_version").get<std::string>();
        const json& drive = document.at("drive");
        run.identity = drive.at("identity").get<std::string>();
        run.description = drive.at("description").get<std::string>();
        run.devicePath = drive.at("device_path").get<std::string>();
        run.sizeBytes = drive.at("size_bytes").get<uint64_t>();
        run.isVolume = drive.at("volume").get<bool>();
        const json& settings = document.at("settings");
        const std::string test = settings.at("test").get<std::string>();
        if (test != "standard" && test != "random")
            return refuse("unknown test kind \"" + test + "\"");
        run.randomTest = test == "random";
        run.zones = settings.at("zones").get<int32_t>();
        run.cycles = settings.at("cycles").get<int32_t>();
        run.transferMegabytes = settings.at("transfer_megabytes").get<uint32_t>();
        run.writes = settings.at("writes").get<bool>();
        run.queueDepth = settings.value("queue_depth", 1);  // absent in the oldest documents
        const json& zones = document.at("zones");
        if (!run.randomTest && (run.zones < 1 || run.zones > kMaxZoneCount || run.cycles < 1 ||
                                run.cycles > kMaxCycleCount || zones.size() > static_cast<std::size_t>(run.zones)))
            return refuse("zone or cycle count out of range");
        for (const json& zone : zones) {
            RunZone entry;
            entry.firstSector = zone.at("first_sector").get<uint64_t>();
            entry.lastSector = zone.at("last_sector").get<uint64_t>();
            entry.read = SpeedsFrom(zone.at("read"));
            if (!zone.at("write").is_null())
                entry.write = SpeedsFrom(zone.at("write"));
            run.zoneResults.push_back(entry);
        }
        const json& random = document.at("random");
        if (run.randomTest) {
            if (!random.is_object())
                return refuse("a random test without random results");
            run.randomRead = OptionalNumber(random.at("read_mbps"));
            run.randomWrite = OptionalNumber(random.at("write_mbps"));
        }
        return run;
    } catch (const std::exception& problem) {
        return refuse(std::string("malformed run document: ") + problem.what());
    }
}

std::optional<RunDocument> ReadRunDocumentFile(const std::string& path, std::string* error)
{
    auto refuse = [error](const std::string& reason) {
        if (error != nullptr)
            *error = reason;
        return std::nullopt;
    };
    // Opened without waiting, so that a pipe or device under a .json name cannot hold the program.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(std::string("cannot be read: ") + std::strerror(errno));
    struct stat status {};
    std::string text;
    std::string problem;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        problem = "not a regular file";
    else if (static_cast<uint64_t>(status.st_size) > kMaxRunDocumentBytes)
        problem = "too large for a run document";
    char chunk[65536];
    while (problem.empty()) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            problem = std::string("cannot be read: ") + std::strerror(errno);
        if (got <= 0)
            break;
        text.append(chunk, static_cast<std::size_t>(got));
        if (text.size() > kMaxRunDocumentBytes)
            problem = "too large for a run document";
    }
    close(fd);
    if (!problem.empty())
        return refuse(problem);
    return RunDocumentFromJson(text, error);
}

std::string RunSummary(const RunDocument& run)
{
    std::string when = run.when;
    if (when.size() >= 16 && when[10] == 'T')
        when = when.substr(0, 10) + " " + when.substr(11, 5) + " UTC";
    char text[256];
    if (run.randomTest)
        std::snprintf(text, sizeof text, "%s, Random test, %s", when.c_str(),
                      run.writes ? "reads and writes" : "reads only");
    else
        std::snprintf(text, sizeof text, "%s, Standard test, %s × %s, %u MB, %s", when.c_str(),
                      CountText(run.zones, "zone").c_str(), CountText(run.cycles, "cycle").c_str(),
                      run.transferMegabytes, run.writes ? "reads and writes" : "reads only");
    return text;
}

std::string RunComparabilityProblem(const RunDocument& earlier, bool randomTest, int32_t zones)
{
    if (earlier.randomTest != randomTest)
        return earlier.randomTest ? "a random test" : "a standard test";
    if (!randomTest && earlier.zones != zones)
        return CountText(earlier.zones, "zone");
    return {};
}

std::optional<double> PercentChange(double earlier, double now)
{
    if (!(earlier > 0.0))
        return std::nullopt;
    return (now - earlier) / earlier * 100.0;
}
