#include "cli/SurfaceResultsOutput.h"

#include "cli/ResultsOutput.h"
#include "cli/RunMessages.h"
#include "engine/SurfaceTexts.h"

#include <cstdio>

namespace {
std::string Number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

void PrintFigures(std::ostream& out, const char* name, const SurfaceSpeedFigures& f)
{
    char line[256];
    std::snprintf(line, sizeof line, "%-7s %9.2f %9.2f %9.2f %10.1f\n", name, f.average, f.minimum, f.onePercentLow,
                  f.seconds);
    out << line;
}

std::string FiguresJson(const SurfaceSpeedFigures& f)
{
    return "{\"avg_mbps\": " + Number(f.average) + ", \"min_mbps\": " + Number(f.minimum) +
           ", \"one_percent_low_mbps\": " + Number(f.onePercentLow) + ", \"seconds\": " + Number(f.seconds) + "}";
}

std::string SpeedsJson(float minimum, float average, float maximum)
{
    return "[" + Number(minimum) + ", " + Number(average) + ", " + Number(maximum) + "]";
}
}  // namespace

void PrintSurfaceTable(std::ostream& out, const Run& run)
{
    const SurfaceResult& s = run.surface;
    const bool writes = run.settings.writes;
    char line[512];
    std::snprintf(line, sizeof line, "%s (%.2f GiB): surface test, %u MB transfers%s\n", run.target.devicePath.c_str(),
                  static_cast<double>(run.target.sizeBytes) / 1073741824.0, run.settings.transferMegabytes,
                  writes ? ", reads and writes" : ", reads only");
    out << line << SurfaceCoverageText(s) << '\n';
    std::snprintf(line, sizeof line, "%-7s %9s %9s %9s %10s   (MB/s)\n", "", "Average", "Minimum", "1 % low", "Seconds");
    out << line;
    PrintFigures(out, "Reads:", s.read);
    if (writes) {
        PrintFigures(out, "Writes:", s.write);
        out << WriteFalloffText(s.writeFalloff) << '\n';
    }
    if (!s.temperatures.empty()) {
        std::snprintf(line, sizeof line, "Highest temperature: %.0f \u00b0C\n", s.maximumCelsius);
        out << line;
    }
    if (const std::string throttling = ThrottlingText(s); !throttling.empty())
        out << throttling << '\n';
    out << "Slow blocks (more than 10 times the median time): "
        << (s.slowBlocks.empty() ? "none" : GroupedNumber(s.slowBlocks.size())) << '\n';
    for (const SurfaceSlowBlock& b : s.slowBlocks) {
        std::snprintf(line, sizeof line, "  %-5s at sector %s, %s sectors: %.1f ms\n", b.write ? "write" : "read",
                      GroupedNumber(b.firstSector).c_str(), GroupedNumber(b.sectors).c_str(), b.milliseconds);
        out << line;
    }
    out << "Unreadable sectors: " << (s.unreadable.empty() ? "none" : GroupedNumber(s.UnreadableSectors())) << '\n';
    for (const SurfaceUnreadableRange& r : s.unreadable)
        out << "  sectors " << GroupedNumber(r.firstSector) << " to " << GroupedNumber(r.firstSector + r.sectors - 1)
            << UnreadableBlocksText(r, run.target.logicalBlockBytes) << ": " << r.errorText << '\n';
}

std::string SurfaceJson(const Run& run)
{
    const SurfaceResult& s = run.surface;
    const bool writes = run.settings.writes;
    std::string out = "{\"span_sectors\": " + std::to_string(s.spanSectors) +
                      ", \"covered_sectors\": " + std::to_string(s.coveredSectors) +
                      ", \"time_limit_reached\": " + (s.timeLimitReached ? "true" : "false") +
                      ", \"read\": " + FiguresJson(s.read) + ", \"write\": " + (writes ? FiguresJson(s.write) : "null");
    out += ", \"write_falloff\": ";
    if (!writes)
        out += "null";
    else if (!s.writeFalloff.found)
        out += "{\"found\": false}";
    else
        out += "{\"found\": true, \"at_sector\": " + std::to_string(s.writeFalloff.atSector) +
               ", \"before_mbps\": " + Number(s.writeFalloff.beforeSpeed) +
               ", \"after_mbps\": " + Number(s.writeFalloff.afterSpeed) + "}";
    out += ", \"slow_blocks\": [";
    for (size_t i = 0; i < s.slowBlocks.size(); ++i) {
        const SurfaceSlowBlock& b = s.slowBlocks[i];
        out += std::string(i ? ", " : "") + "{\"direction\": " + (b.write ? "\"write\"" : "\"read\"") +
               ", \"first_sector\": " + std::to_string(b.firstSector) + ", \"sectors\": " + std::to_string(b.sectors) +
               ", \"ms\": " + Number(b.milliseconds) + "}";
    }
    out += "], \"unreadable\": [";
    for (size_t i = 0; i < s.unreadable.size(); ++i) {
        const SurfaceUnreadableRange& r = s.unreadable[i];
        out += std::string(i ? ", " : "") + "{\"first_sector\": " + std::to_string(r.firstSector) +
               ", \"sectors\": " + std::to_string(r.sectors) + ", \"errno\": " + std::to_string(r.errorNumber) +
               ", \"error\": " + JsonQuoted(r.errorText) + "}";
    }
    out += "], \"max_celsius\": " + (s.temperatures.empty() ? std::string("null") : Number(s.maximumCelsius)) +
           ", \"possible_throttling\": " + (s.possibleThrottling ? "true" : "false") + ", \"temperatures\": [";
    for (size_t i = 0; i < s.temperatures.size(); ++i) {
        const TemperatureSample& t = s.temperatures[i];
        out += std::string(i ? ", " : "") + "{\"seconds\": " + Number(t.seconds) +
               ", \"sector\": " + std::to_string(t.sector) + ", \"celsius\": " + Number(t.celsius) + "}";
    }
    out += "], \"samples\": [";
    for (size_t i = 0; i < s.samples.size(); ++i) {
        const SurfaceSample& p = s.samples[i];
        out += std::string(i ? ", " : "") + "{\"first_sector\": " + std::to_string(p.firstSector) +
               ", \"sectors\": " + std::to_string(p.sectors) + ", \"transfers\": " + std::to_string(p.transfers) +
               ", \"read_mbps\": " + SpeedsJson(p.readMinimum, p.readAverage, p.readMaximum) +
               ", \"write_mbps\": " + (writes ? SpeedsJson(p.writeMinimum, p.writeAverage, p.writeMaximum) : "null") +
               "}";
    }
    return out + "]}";
}
