#include "reports/RunDocument.h"

#include "format/ByteText.h"
#include "format/CountText.h"
#include "format/Utf8Text.h"
#include "engine/QueuedTransfers.h"

#include "reports/DocumentReading.h"
#include "reports/SurfaceDocument.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#ifndef KESTRELIA_VERSION
#define KESTRELIA_VERSION "unknown"
#endif

using nlohmann::json;
using namespace document_reading;

namespace {
// The largest standard run (50 zones of 50 cycles, reads and writes) is about
// 100 KB; a surface run of 100,000 samples about 7 MB.
constexpr std::size_t kMaxRunDocumentBytes = 32 << 20;

std::string UtcText(std::time_t when)
{
    std::tm parts{};
    gmtime_r(&when, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

RunSpeeds SpeedsOf(const ZoneSpeeds& zone, int32_t cycles)
{
    RunSpeeds speeds{zone.minimum, zone.average, zone.maximum, {}};
    for (int c = 0; c < cycles && c < kMaxCycleCount; ++c)
        speeds.cycles.push_back(zone.cycles[static_cast<size_t>(c)]);
    return speeds;
}

ZoneSpeeds ZoneSpeedsOf(const RunSpeeds& speeds)
{
    ZoneSpeeds zone;
    zone.minimum = speeds.min;
    zone.average = speeds.avg;
    zone.maximum = speeds.max;
    std::copy_n(speeds.cycles.begin(), std::min<std::size_t>(speeds.cycles.size(), kMaxCycleCount), zone.cycles.begin());
    return zone;
}

json SpeedsJson(const RunSpeeds& speeds)
{
    return {{"min", speeds.min}, {"avg", speeds.avg}, {"max", speeds.max}, {"cycles", speeds.cycles}};
}

RunSpeeds SpeedsFrom(const json& value, int32_t cycles)
{
    RunSpeeds speeds;
    speeds.min = value.at("min").get<double>();
    speeds.avg = value.at("avg").get<double>();
    speeds.max = value.at("max").get<double>();
    speeds.cycles = value.at("cycles").get<std::vector<double>>();
    for (const double speed : {speeds.min, speeds.avg, speeds.max})
        if (!std::isfinite(speed) || speed < 0)
            Impossible("a speed is negative");
    if (speeds.cycles.size() > static_cast<std::size_t>(cycles))
        Impossible("more cycle speeds than cycles");
    return speeds;
}

std::optional<double> OptionalNumber(const json& value)
{
    if (value.is_null())
        return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number) || number < 0)
        Impossible("a speed is negative");
    return number;
}

// The settings, refusing any that no test of this program can have been run with.
void ReadSettings(const json& settings, int version, RunDocument& run)
{
    const std::string test = settings.at("test").get<std::string>();
    if (test != "standard" && test != "random" && (test != "surface" || version < 2))
        Impossible("unknown test kind \"" + test + "\"");
    run.randomTest = test == "random";
    run.surfaceTest = test == "surface";
    run.writes = settings.at("writes").get<bool>();
    // Absent in the oldest documents; the standard test never queues, whatever an older capture wrote.
    // The depth run: one asked for, or less where the device holds fewer requests at once.
    run.queueDepth = BoundedFrom(settings.value("queue_depth", json(1)), 1, kMaxRandomQueueDepth, "queue depth");
    if (run.surfaceTest) {
        run.zones = BoundedFrom(settings.at("zones"), 0, 0, "zones of a surface run");
        run.cycles = BoundedFrom(settings.at("cycles"), 0, 0, "cycles of a surface run");
        run.queueDepth = 1;
        run.transferMegabytes =
            static_cast<uint32_t>(BoundedFrom(settings.at("transfer_megabytes"), 1, 511, "transfer size in MB"));
        run.surfaceSpanBytes = UnsignedFrom(settings.at("surface_span_bytes"), "span");
        run.surfaceMinutes = static_cast<uint32_t>(BoundedFrom(settings.at("surface_minutes"), 0, INT32_MAX, "time limit"));
        return;
    }
    if (run.randomTest) {
        run.zones = BoundedFrom(settings.at("zones"), 0, 0, "zones of a random run");
        run.cycles = BoundedFrom(settings.at("cycles"), 0, 0, "cycles of a random run");
        run.transferMegabytes = static_cast<uint32_t>(BoundedFrom(settings.at("transfer_megabytes"), 0, 511,
                                                                  "transfer size in MB"));
        return;
    }
    run.queueDepth = 1;
    run.zones = BoundedFrom(settings.at("zones"), 1, kMaxZoneCount, "zone count");
    run.cycles = BoundedFrom(settings.at("cycles"), 1, kMaxCycleCount, "cycle count");
    run.transferMegabytes =
        static_cast<uint32_t>(BoundedFrom(settings.at("transfer_megabytes"), 1, 511, "transfer size in MB"));
}

}  // namespace

RunDocument CaptureRunDocument(const Run& source)
{
    RunDocument run;
    run.when = UtcText(source.ended != 0 ? source.ended : source.started);
    run.programVersion = KESTRELIA_VERSION;
    run.identity = source.target.identity;
    run.description = source.target.name;
    run.devicePath = source.target.devicePath;
    run.sizeBytes = source.target.sizeBytes;
    run.isVolume = source.target.isVolume;
    run.randomTest = source.settings.kind == TestKind::Random;
    run.writes = source.settings.writes;
    if (source.settings.kind == TestKind::Surface) {
        run.surfaceTest = true;
        run.transferMegabytes = source.settings.transferMegabytes;
        run.surfaceSpanBytes = source.settings.surfaceSpanBytes;
        run.surfaceMinutes = source.settings.surfaceMinutes;
        run.end = source.end == RunEnd::NotEnded ? RunEnd::Stopped : source.end;
        run.surface = source.surface;
        return run;
    }
    if (run.randomTest) {
        run.queueDepth = static_cast<int32_t>(std::max<uint32_t>(source.random.queueDepth, 1));
        run.randomRead = source.random.readSpeed;
        if (run.writes)
            run.randomWrite = source.random.writeSpeed;
        return run;
    }
    run.zones = source.settings.zones;
    run.cycles = source.settings.cycles;
    run.transferMegabytes = source.settings.transferMegabytes;
    for (int z = 0; z < source.settings.zones && source.ZoneMeasured(z); ++z) {
        const ZoneResult& measured = source.zones[static_cast<size_t>(z)];
        RunZone zone{measured.firstSector, measured.lastSector, SpeedsOf(measured.read, run.cycles), std::nullopt};
        if (run.writes)
            zone.write = SpeedsOf(measured.write, run.cycles);
        run.zoneResults.push_back(zone);
    }
    return run;
}

Run RunFromDocument(const RunDocument& document)
{
    Run run;
    run.target.devicePath = document.devicePath;
    run.target.identity = document.identity;
    run.target.name = ShownText(document.description);
    char size[256];
    FormatByteSize(static_cast<int64_t>(document.sizeBytes), size, true);
    run.target.sizeLabel = size;
    run.target.isVolume = document.isVolume;
    run.target.sizeBytes = document.sizeBytes;
    run.settings.kind = document.randomTest ? TestKind::Random : TestKind::Standard;
    run.settings.writes = document.writes;
    run.started = run.ended = RunDocumentTime(document).value_or(0);
    run.end = RunEnd::Completed;
    if (document.surfaceTest) {
        run.settings.kind = TestKind::Surface;
        run.settings.transferMegabytes = document.transferMegabytes;
        run.settings.surfaceSpanBytes = document.surfaceSpanBytes;
        run.settings.surfaceMinutes = document.surfaceMinutes;
        run.end = document.end;
        run.surface = document.surface.value_or(SurfaceResult{});
        return run;
    }
    if (document.randomTest) {
        run.settings.queueDepth = static_cast<uint32_t>(document.queueDepth);
        run.random.queueDepth = static_cast<uint32_t>(document.queueDepth);
        run.random.readSpeed = document.randomRead.value_or(0.0);
        run.random.writeSpeed = document.randomWrite.value_or(0.0);
        return run;
    }
    run.settings.zones = std::clamp<int32_t>(document.zones, 1, kMaxZoneCount);
    run.settings.cycles = std::clamp<int32_t>(document.cycles, 1, kMaxCycleCount);
    run.settings.transferMegabytes = document.transferMegabytes;
    run.zones.resize(static_cast<size_t>(run.settings.zones));
    const std::size_t zones = std::min(document.zoneResults.size(), run.zones.size());
    for (std::size_t z = 0; z < zones; ++z) {
        const RunZone& zone = document.zoneResults[z];
        ZoneResult& result = run.zones[z];
        result.firstSector = zone.firstSector;
        result.lastSector = zone.lastSector;
        result.read = ZoneSpeedsOf(zone.read);
        run.maxSpeed = std::max(run.maxSpeed, zone.read.max);
        if (zone.write) {
            result.write = ZoneSpeedsOf(*zone.write);
            run.maxSpeed = std::max(run.maxSpeed, zone.write->max);
        }
    }
    return run;
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
         {{"test", run.surfaceTest ? "surface" : run.randomTest ? "random" : "standard"},
          {"zones", run.zones},
          {"cycles", run.cycles},
          {"transfer_megabytes", run.transferMegabytes},
          {"writes", run.writes},
          {"queue_depth", run.queueDepth},
          {"surface_span_bytes", run.surfaceSpanBytes},
          {"surface_minutes", run.surfaceMinutes}}},
        {"zones", zones},
        {"random", random},
        {"surface", run.surface ? SurfaceJson(*run.surface, run.end, run.writes) : json(nullptr)},
    };
    // Invalid UTF-8 in a name is replaced rather than refused. A surface
    // run's samples would take a line for every number: its document is
    // written on one line.
    const int indent = run.surface && !run.surface->samples.empty() ? -1 : 2;
    return document.dump(indent, ' ', false, json::error_handler_t::replace) + "\n";
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
        const int version = document.at("format_version").get<int>();
        if (version < kOldestRunDocumentVersion || version > kRunDocumentVersion)
            return refuse("a run document of another version");
        RunDocument run;
        run.when = document.at("when").get<std::string>();
        if (!RunDocumentTime(run))
            Impossible("a date that is no UTC time (\"" + ShownText(run.when) + "\")");
        run.programVersion = document.at("program_version").get<std::string>();
        const json& drive = document.at("drive");
        run.identity = drive.at("identity").get<std::string>();
        run.description = drive.at("description").get<std::string>();
        run.devicePath = drive.at("device_path").get<std::string>();
        run.sizeBytes = UnsignedFrom(drive.at("size_bytes"), "size");
        run.isVolume = drive.at("volume").get<bool>();
        ReadSettings(document.at("settings"), version, run);
        const json& zones = document.at("zones");
        if (zones.size() > static_cast<std::size_t>(run.zones))
            Impossible("results of " + std::to_string(zones.size()) + " zones in a run of " +
                       std::to_string(run.zones));
        for (const json& zone : zones) {
            RunZone entry;
            entry.firstSector = UnsignedFrom(zone.at("first_sector"), "sector");
            entry.lastSector = UnsignedFrom(zone.at("last_sector"), "sector");
            if (entry.lastSector < entry.firstSector)
                Impossible("a zone that ends before it begins");
            entry.read = SpeedsFrom(zone.at("read"), run.cycles);
            if (!zone.at("write").is_null())
                entry.write = SpeedsFrom(zone.at("write"), run.cycles);
            run.zoneResults.push_back(entry);
        }
        const json& random = document.at("random");
        if (run.randomTest) {
            if (!random.is_object())
                return refuse("a random test without random results");
            run.randomRead = OptionalNumber(random.at("read_mbps"));
            run.randomWrite = OptionalNumber(random.at("write_mbps"));
        }
        if (run.surfaceTest) {
            const json& surface = document.at("surface");
            if (!surface.is_object())
                return refuse("a surface test without surface results");
            run.surface = SurfaceFromJson(surface, run.writes, run.end);
        }
        return run;
    } catch (const std::out_of_range& problem) {
        return refuse(std::string("impossible content: ") + problem.what());
    } catch (const std::exception& problem) {
        return refuse(std::string("malformed run document: ") + problem.what());
    }
}

std::optional<std::string> ReadRunFileText(const std::string& path, std::string* error, bool followLink)
{
    auto refuse = [error](const std::string& reason) {
        if (error != nullptr)
            *error = reason;
        return std::nullopt;
    };
    // Opened without waiting, so that a pipe or device under a .json name cannot hold the program.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return refuse(errno == ELOOP && !followLink ? std::string("a symbolic link, not followed")
                                                    : std::string("cannot be read: ") + std::strerror(errno));
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
    return text;
}

std::optional<RunDocument> ReadRunDocumentFile(const std::string& path, std::string* error)
{
    const std::optional<std::string> text = ReadRunFileText(path, error, true);
    if (!text)
        return std::nullopt;
    return RunDocumentFromJson(*text, error);
}

std::optional<RunDocument> ReadRunDocumentHeader(const std::string& path, std::string* error)
{
    std::optional<std::string> text = ReadRunFileText(path, error, true);
    if (!text)
        return std::nullopt;
    LeaveOutSurfaceSamples(*text);
    return RunDocumentFromJson(*text, error);
}

std::string RunDocumentWhenText(std::time_t when)
{
    return UtcText(when);
}

std::optional<std::time_t> RunDocumentTime(const RunDocument& run)
{
    std::tm parts{};
    const char* end = strptime(run.when.c_str(), "%Y-%m-%dT%H:%M:%SZ", &parts);
    if (end == nullptr || *end != '\0')
        return std::nullopt;
    // strptime lets white space in before each number: only the date's own form is one.
    const std::time_t when = timegm(&parts);
    if (UtcText(when) != run.when)
        return std::nullopt;
    return when;
}

std::string RunSummary(const RunDocument& run)
{
    std::string when = run.when;
    if (when.size() >= 16 && when[10] == 'T')
        when = when.substr(0, 10) + " " + when.substr(11, 5) + " UTC";
    char text[256];
    if (run.surfaceTest) {
        char gigabytes[256];
        FormatGigabytes(static_cast<int64_t>(run.surfaceSpanBytes), gigabytes);
        const std::string span = run.surfaceSpanBytes == 0 ? "whole" : "first " + std::string(gigabytes) + " GB";
        std::snprintf(text, sizeof text, "%s, Surface test, %s, %u MB, %s", when.c_str(), span.c_str(),
                      run.transferMegabytes, run.writes ? "reads and writes" : "reads only");
    } else if (run.randomTest)
        std::snprintf(text, sizeof text, "%s, Random test, queue depth %d, %s", when.c_str(), run.queueDepth,
                      run.writes ? "reads and writes" : "reads only");
    else
        std::snprintf(text, sizeof text, "%s, Standard test, %s × %s, %u MB, %s", when.c_str(),
                      CountText(run.zones, "zone").c_str(), CountText(run.cycles, "cycle").c_str(),
                      run.transferMegabytes, run.writes ? "reads and writes" : "reads only");
    return text;
}

std::string RunComparabilityProblem(const RunDocument& earlier, TestKind kind, int32_t zones)
{
    const TestKind earlierKind = earlier.surfaceTest  ? TestKind::Surface
                                 : earlier.randomTest ? TestKind::Random
                                                      : TestKind::Standard;
    if (earlierKind != kind)
        return earlier.surfaceTest ? "a surface test" : earlier.randomTest ? "a random test" : "a standard test";
    if (kind == TestKind::Standard && earlier.zones != zones)
        return CountText(earlier.zones, "zone");
    return {};
}

std::string RunComparabilityProblem(const RunDocument& earlier, bool randomTest, int32_t zones)
{
    return RunComparabilityProblem(earlier, randomTest ? TestKind::Random : TestKind::Standard, zones);
}

std::optional<double> PercentChange(double earlier, double now)
{
    if (!(earlier > 0.0))
        return std::nullopt;
    return (now - earlier) / earlier * 100.0;
}
