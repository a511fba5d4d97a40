#include "cli/FleetRun.h"

#include <algorithm>

FleetFigures FleetFiguresOf(const RunDocument& run)
{
    FleetFigures figures;
    if (run.surface) {
        const SurfaceResult& surface = *run.surface;
        figures.readAverage = surface.read.average;
        figures.readMinimum = surface.read.minimum;
        figures.readOnePercentLow = surface.read.onePercentLow;
        if (run.writes) {
            figures.writeAverage = surface.write.average;
            figures.writeMinimum = surface.write.minimum;
            figures.writeOnePercentLow = surface.write.onePercentLow;
        }
        figures.unreadableSectors = surface.UnreadableSectors();
        return figures;
    }
    if (run.randomTest) {
        figures.readAverage = run.randomRead.value_or(0.0);
        figures.writeAverage = run.randomWrite;
        return figures;
    }
    if (run.zoneResults.empty())
        return figures;
    double readSum = 0.0;
    double writeSum = 0.0;
    figures.readMinimum = run.zoneResults.front().read.min;
    for (const RunZone& zone : run.zoneResults) {
        readSum += zone.read.avg;
        figures.readMinimum = std::min(figures.readMinimum, zone.read.min);
        if (zone.write) {
            writeSum += zone.write->avg;
            figures.writeMinimum = std::min(figures.writeMinimum.value_or(zone.write->min), zone.write->min);
        }
    }
    const double zones = static_cast<double>(run.zoneResults.size());
    figures.readAverage = readSum / zones;
    if (figures.writeMinimum)
        figures.writeAverage = writeSum / zones;
    return figures;
}

std::string FleetTestName(const RunDocument& run)
{
    return run.surfaceTest ? "surface" : run.randomTest ? "random" : "standard";
}

std::vector<FleetBar> FleetBarsOf(const RunDocument& run)
{
    std::vector<FleetBar> bars;
    if (!run.surface) {
        for (const RunZone& zone : run.zoneResults)
            bars.push_back({zone.read.avg, zone.write ? std::optional<double>(zone.write->avg) : std::nullopt});
        return bars;
    }
    const SurfaceResult& surface = *run.surface;
    if (surface.coveredSectors == 0 || surface.samples.empty())
        return bars;
    // The sectors of each part and the time they took (sectors over MB/s), so that its average is bytes over time.
    struct Part {
        double sectors = 0.0, readTime = 0.0, writeTime = 0.0;
    };
    std::vector<Part> parts(kFleetSurfaceParts);
    for (const SurfaceSample& sample : surface.samples) {
        const uint64_t middle = sample.firstSector + sample.sectors / 2;
        const auto index = std::min<uint64_t>(middle * kFleetSurfaceParts / surface.coveredSectors, kFleetSurfaceParts - 1);
        Part& part = parts[static_cast<size_t>(index)];
        const double sectors = static_cast<double>(sample.sectors);
        part.sectors += sectors;
        part.readTime += sample.readAverage > 0.0f ? sectors / sample.readAverage : 0.0;
        part.writeTime += sample.writeAverage > 0.0f ? sectors / sample.writeAverage : 0.0;
    }
    for (const Part& part : parts) {
        if (part.sectors == 0.0)
            continue;
        FleetBar bar{part.readTime > 0.0 ? part.sectors / part.readTime : 0.0, std::nullopt};
        if (run.writes)
            bar.write = part.writeTime > 0.0 ? part.sectors / part.writeTime : 0.0;
        bars.push_back(bar);
    }
    return bars;
}
