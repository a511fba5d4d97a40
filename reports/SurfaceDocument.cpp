#include "reports/SurfaceDocument.h"

#include "reports/DocumentReading.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

using nlohmann::json;
using namespace document_reading;

namespace {

// A sample's columns, in the order of its row.
constexpr const char* kSampleColumns[] = {"first_sector", "sectors",   "transfers", "read_min", "read_avg",
                                          "read_max",     "write_min", "write_avg", "write_max"};
constexpr std::size_t kSampleColumnCount = std::size(kSampleColumns);

constexpr std::pair<RunEnd, std::string_view> kEnds[] = {
    {RunEnd::Completed, "completed"}, {RunEnd::Stopped, "stopped"}, {RunEnd::Failed, "failed"}};

// A speed kept as a float, written in the fewest digits that read back as the same float.
json FloatNumber(float value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return json::parse(std::string_view(text, static_cast<std::size_t>(written.ptr - text)));
}

double SpeedFrom(const json& value)
{
    const double speed = value.get<double>();
    if (!std::isfinite(speed) || speed < 0)
        Impossible("a speed is negative");
    return speed;
}

json FiguresJson(const SurfaceSpeedFigures& figures)
{
    return {{"average", figures.average},
            {"minimum", figures.minimum},
            {"one_percent_low", figures.onePercentLow},
            {"seconds", figures.seconds}};
}

SurfaceSpeedFigures FiguresFrom(const json& value)
{
    return {SpeedFrom(value.at("average")), SpeedFrom(value.at("minimum")), SpeedFrom(value.at("one_percent_low")),
            SpeedFrom(value.at("seconds"))};
}

json SampleRow(const SurfaceSample& s)
{
    return json::array({s.firstSector, s.sectors, s.transfers, FloatNumber(s.readMinimum), FloatNumber(s.readAverage),
                        FloatNumber(s.readMaximum), FloatNumber(s.writeMinimum), FloatNumber(s.writeAverage),
                        FloatNumber(s.writeMaximum)});
}

SurfaceSample SampleFrom(const json& row)
{
    if (!row.is_array() || row.size() != kSampleColumnCount)
        Impossible("a sample of " + std::to_string(row.size()) + " numbers");
    SurfaceSample s;
    s.firstSector = UnsignedFrom(row[0], "sector");
    s.sectors = UnsignedFrom(row[1], "sector count");
    s.transfers = static_cast<uint32_t>(BoundedFrom(row[2], 1, INT32_MAX, "transfers of a sample"));
    float* speeds[] = {&s.readMinimum, &s.readAverage, &s.readMaximum, &s.writeMinimum, &s.writeAverage,
                       &s.writeMaximum};
    for (std::size_t i = 0; i < std::size(speeds); ++i)
        *speeds[i] = static_cast<float>(SpeedFrom(row[3 + i]));
    return s;
}

}  // namespace

json SurfaceJson(const SurfaceResult& surface, RunEnd end, bool writes)
{
    json slow = json::array();
    for (const SurfaceSlowBlock& block : surface.slowBlocks)
        slow.push_back({{"first_sector", block.firstSector},
                        {"sectors", block.sectors},
                        {"milliseconds", block.milliseconds},
                        {"write", block.write}});
    json unreadable = json::array();
    for (const SurfaceUnreadableRange& range : surface.unreadable)
        unreadable.push_back({{"first_sector", range.firstSector},
                              {"sectors", range.sectors},
                              {"error_number", range.errorNumber},
                              {"error_text", range.errorText}});
    json temperatures = json::array();
    for (const TemperatureSample& t : surface.temperatures)
        temperatures.push_back(json::array({t.seconds, t.sector, t.celsius}));
    json samples = json::array();
    for (const SurfaceSample& sample : surface.samples)
        samples.push_back(SampleRow(sample));
    json falloff = nullptr;
    if (surface.writeFalloff.found)
        falloff = {{"at_sector", surface.writeFalloff.atSector},
                   {"before_mbps", surface.writeFalloff.beforeSpeed},
                   {"after_mbps", surface.writeFalloff.afterSpeed}};
    std::string_view ended = "completed";
    for (const auto& [value, name] : kEnds)
        if (value == end)
            ended = name;
    return {{"end", ended},
            {"span_sectors", surface.spanSectors},
            {"covered_sectors", surface.coveredSectors},
            {"time_limit_reached", surface.timeLimitReached},
            {"read", FiguresJson(surface.read)},
            {"write", writes ? FiguresJson(surface.write) : json(nullptr)},
            {"write_falloff", falloff},
            {"slow_blocks", slow},
            {"unreadable", unreadable},
            {"temperatures", temperatures},
            {"maximum_celsius", surface.maximumCelsius},
            {"possible_throttling", surface.possibleThrottling},
            {"sample_columns", kSampleColumns},
            {"samples", samples}};
}

SurfaceResult SurfaceFromJson(const json& value, bool writes, RunEnd& end)
{
    SurfaceResult surface;
    const std::string ended = value.at("end").get<std::string>();
    end = RunEnd::NotEnded;
    for (const auto& [kind, name] : kEnds)
        if (name == ended)
            end = kind;
    if (end == RunEnd::NotEnded)
        Impossible("a surface run that ended as \"" + ended + "\"");
    surface.spanSectors = UnsignedFrom(value.at("span_sectors"), "span");
    surface.coveredSectors = UnsignedFrom(value.at("covered_sectors"), "covered part");
    if (surface.coveredSectors > surface.spanSectors)
        Impossible("more covered than the span");
    surface.timeLimitReached = value.at("time_limit_reached").get<bool>();
    surface.read = FiguresFrom(value.at("read"));
    if (writes)
        surface.write = FiguresFrom(value.at("write"));
    if (const json& falloff = value.at("write_falloff"); !falloff.is_null())
        surface.writeFalloff = {true, UnsignedFrom(falloff.at("at_sector"), "sector"),
                                SpeedFrom(falloff.at("before_mbps")), SpeedFrom(falloff.at("after_mbps"))};
    for (const json& block : value.at("slow_blocks"))
        surface.slowBlocks.push_back({UnsignedFrom(block.at("first_sector"), "sector"),
                                      UnsignedFrom(block.at("sectors"), "sector count"),
                                      block.at("milliseconds").get<double>(), block.at("write").get<bool>()});
    for (const json& range : value.at("unreadable"))
        surface.unreadable.push_back({UnsignedFrom(range.at("first_sector"), "sector"),
                                      UnsignedFrom(range.at("sectors"), "sector count"),
                                      range.at("error_number").get<int>(), range.at("error_text").get<std::string>()});
    for (const json& t : value.at("temperatures"))
        surface.temperatures.push_back(
            {t.at(0).get<double>(), UnsignedFrom(t.at(1), "sector"), t.at(2).get<double>()});
    surface.maximumCelsius = value.at("maximum_celsius").get<double>();
    surface.possibleThrottling = value.at("possible_throttling").get<bool>();
    const json& samples = value.at("samples");
    if (samples.size() > 2 * kSurfaceFullResolutionSamples)
        Impossible(std::to_string(samples.size()) + " samples");
    surface.samples.reserve(samples.size());
    uint64_t next = 0;
    for (const json& row : samples) {
        surface.samples.push_back(SampleFrom(row));
        if (surface.samples.back().firstSector < next)
            Impossible("samples out of order");
        next = surface.samples.back().firstSector + surface.samples.back().sectors;
    }
    return surface;
}

bool LeaveOutSurfaceSamples(std::string& documentText)
{
    // Unescaped quotes only delimit strings, and after a closing one comes no
    // letter: this is the key itself, not text within a name.
    const std::size_t key = documentText.find("\"samples\":[");
    if (key == std::string::npos)
        return false;
    const std::size_t first = key + std::strlen("\"samples\":[");
    // Rows of numbers: the list ends at its own closing bracket.
    int depth = 1;
    std::size_t at = first;
    for (; at < documentText.size() && depth > 0; ++at) {
        const char c = documentText[at];
        if (c == '"')
            return false;
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
    }
    if (depth != 0)
        return false;
    documentText.erase(first, at - 1 - first);
    return true;
}
