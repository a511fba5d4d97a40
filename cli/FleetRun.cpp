#include "cli/FleetRun.h"

#include <algorithm>

FleetFigures FleetFiguresOf(const RunDocument& run)
{
    FleetFigures figures;
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
