#include "reports/FetchedRuns.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {
RunSpeeds SpeedsFrom(const json& speeds)
{
    return {speeds.at("min").get<double>(), speeds.at("avg").get<double>(), speeds.at("max").get<double>(),
            speeds.at("cycles").get<std::vector<double>>()};
}

SurfaceSpeedFigures SurfaceFiguresFrom(const json& figures)
{
    return {figures.at("avg_mbps").get<double>(), figures.at("min_mbps").get<double>(),
            figures.at("one_percent_low_mbps").get<double>(), figures.at("seconds").get<double>()};
}

// The "surface" object of the --json output: what the fleet's table and
// picture show of it (figures, unreadable ranges, samples).
SurfaceResult SurfaceFrom(const json& surface, bool writes)
{
    SurfaceResult result;
    result.spanSectors = surface.at("span_sectors").get<uint64_t>();
    result.coveredSectors = surface.at("covered_sectors").get<uint64_t>();
    result.timeLimitReached = surface.at("time_limit_reached").get<bool>();
    result.read = SurfaceFiguresFrom(surface.at("read"));
    if (writes)
        result.write = SurfaceFiguresFrom(surface.at("write"));
    for (const json& range : surface.at("unreadable"))
        result.unreadable.push_back({range.at("first_sector").get<uint64_t>(), range.at("sectors").get<uint64_t>(),
                                     range.at("errno").get<int>(), range.at("error").get<std::string>()});
    for (const json& sample : surface.at("samples")) {
        SurfaceSample entry{sample.at("first_sector").get<uint64_t>(), sample.at("sectors").get<uint64_t>(),
                            sample.at("transfers").get<uint32_t>()};
        const auto read = sample.at("read_mbps").get<std::vector<float>>();
        entry.readMinimum = read.at(0), entry.readAverage = read.at(1), entry.readMaximum = read.at(2);
        if (writes) {
            const auto write = sample.at("write_mbps").get<std::vector<float>>();
            entry.writeMinimum = write.at(0), entry.writeAverage = write.at(1), entry.writeMaximum = write.at(2);
        }
        result.samples.push_back(entry);
    }
    return result;
}

// One run object of the --json output, nullopt for a test of a kind this
// version does not know. Outputs of versions that did not yet name the
// drive's identity or the time leave them empty.
std::optional<RunDocument> RunFromResultsObject(const json& results)
{
    RunDocument run;
    run.devicePath = results.at("target").get<std::string>();
    const std::string test = results.at("test").get<std::string>();
    if (test != "standard" && test != "random" && test != "surface")
        return std::nullopt;
    run.randomTest = test == "random";
    run.surfaceTest = test == "surface";
    run.identity = results.value("identity", "");
    run.description = results.value("drive", "");
    if (results.contains("ended"))
        run.when = RunDocumentWhenText(results.at("ended").get<std::time_t>());
    if (run.surfaceTest) {
        run.writes = !results.at("surface").at("write").is_null();
        run.surface = SurfaceFrom(results.at("surface"), run.writes);
        return run;
    }
    if (run.randomTest) {
        const json& random = results.at("random");
        run.randomRead = random.at("read_mbps").get<double>();
        if (!random.at("write_mbps").is_null())
            run.randomWrite = random.at("write_mbps").get<double>();
        run.writes = run.randomWrite.has_value();
        run.queueDepth = random.at("queue_depth").get<int32_t>();
        return run;
    }
    for (const json& zone : results.at("zones")) {
        RunZone entry{zone.at("first_sector").get<uint64_t>(), zone.at("last_sector").get<uint64_t>(),
                      SpeedsFrom(zone.at("read")), std::nullopt};
        if (!zone.at("write").is_null())
            entry.write = SpeedsFrom(zone.at("write"));
        run.writes = entry.write.has_value();
        run.cycles = static_cast<int32_t>(entry.read.cycles.size());
        run.zoneResults.push_back(entry);
    }
    run.zones = static_cast<int32_t>(run.zoneResults.size());
    return run;
}
}  // namespace

std::optional<std::vector<RunDocument>> RunsFromFetchedJson(const std::string& text, std::string* error)
{
    std::string why;
    if (const std::optional<RunDocument> run = RunDocumentFromJson(text, &why))
        return std::vector<RunDocument>{*run};
    // Not a run document: a document's own faults are told as they are.
    const json document = json::parse(text, nullptr, false);
    const bool runDocument = document.is_object() && document.contains("format");
    if (!runDocument && document.is_object() && (document.contains("target") || document.contains("runs"))) {
        try {
            std::vector<RunDocument> runs;
            const json single = json::array({document});
            for (const json& results : document.contains("runs") ? document.at("runs") : single)
                if (std::optional<RunDocument> run = RunFromResultsObject(results))
                    runs.push_back(*run);
            return runs;
        } catch (const std::exception& problem) {
            why = std::string("malformed kestrelia-cli --json output: ") + problem.what();
        }
    } else if (!runDocument && !document.is_discarded()) {
        why = "neither a Kestrelia run document nor kestrelia-cli --json output";
    }
    if (error != nullptr)
        *error = why;
    return std::nullopt;
}

std::optional<std::vector<RunDocument>> ReadFetchedRunFile(const std::string& path, std::string* error)
{
    const std::optional<std::string> text = ReadRunFileText(path, error, false);
    if (!text)
        return std::nullopt;
    return RunsFromFetchedJson(*text, error);
}
