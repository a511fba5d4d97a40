#include "cli/DriveSummary.h"

#include "cli/ResultsOutput.h"

#include <algorithm>
#include <cstdio>
#include <map>

std::vector<const Run*> KeptRuns(const std::vector<DriveOutcome>& outcomes)
{
    std::vector<const Run*> runs;
    for (const DriveOutcome& outcome : outcomes)
        if (outcome.run)
            runs.push_back(&*outcome.run);
    return runs;
}

DriveFigures FiguresOf(const Run& run)
{
    DriveFigures figures;
    figures.writes = run.settings.writes;
    switch (run.settings.kind) {
    case TestKind::Random:
        figures.readAverage = figures.readMinimum = run.random.readSpeed;
        figures.writeAverage = figures.writeMinimum = run.random.writeSpeed;
        return figures;
    case TestKind::Surface:
        figures.readAverage = run.surface.read.average;
        figures.readMinimum = run.surface.read.minimum;
        figures.writeAverage = run.surface.write.average;
        figures.writeMinimum = run.surface.write.minimum;
        return figures;
    case TestKind::Standard:
        break;
    }
    const int zones = run.MeasuredZoneCount();
    for (int z = 0; z < zones; ++z) {
        const ZoneResult& zone = run.zones[static_cast<size_t>(z)];
        figures.readAverage += zone.read.average / zones;
        figures.writeAverage += zone.write.average / zones;
        const double lowest = figures.writes ? std::min(zone.read.minimum, zone.write.minimum) : zone.read.minimum;
        if (z == 0 || lowest < figures.slowestSpeed) {
            figures.slowestZone = z + 1;
            figures.slowestSpeed = lowest;
        }
        figures.readMinimum = z == 0 ? zone.read.minimum : std::min(figures.readMinimum, zone.read.minimum);
        figures.writeMinimum = z == 0 ? zone.write.minimum : std::min(figures.writeMinimum, zone.write.minimum);
    }
    if (!figures.writes)
        figures.writeAverage = figures.writeMinimum = 0.0;
    return figures;
}

bool ReachesTargetRate(const DriveFigures& figures, double rate)
{
    return figures.readMinimum >= rate && (!figures.writes || figures.writeMinimum >= rate);
}

namespace {
std::string NotTestedText(int status)
{
    switch (status) {
    case 1: return "the test failed (exit status 1)";
    case 2: return "refused (exit status 2)";
    default: return "stopped (exit status " + std::to_string(status) + ")";
    }
}

void PrintSharedControllers(std::ostream& out, const std::vector<DriveOutcome>& outcomes)
{
    std::map<std::string, std::vector<std::string>> drivesOf;
    for (const DriveOutcome& outcome : outcomes)
        if (!outcome.controller.empty() && outcome.status != 2)
            drivesOf[outcome.controller].push_back(outcome.name);
    for (const auto& [controller, drives] : drivesOf) {
        if (drives.size() < 2)
            continue;
        std::string names;
        for (std::size_t i = 0; i < drives.size(); ++i)
            names += (i == 0 ? "" : i + 1 == drives.size() ? " and " : ", ") + drives[i];
        out << names << " share the controller " << controller << ".\n";
    }
}
}  // namespace

void PrintDriveSummary(std::ostream& out, const std::vector<DriveOutcome>& outcomes, double targetRate,
                       bool concurrent)
{
    char line[256];
    out << "\nSummary";
    if (targetRate > 0.0) {
        std::snprintf(line, sizeof line, " (target rate %.2f MB/s: every zone's minimum must reach it)", targetRate);
        out << line;
    }
    std::snprintf(line, sizeof line, ":\n%-14s %9s %9s %9s %9s %14s%s\n", "Drive", "Read avg", "Read min",
                  "Write avg", "Write min", "Slowest zone", targetRate > 0.0 ? "  Target" : "");
    out << line;
    for (const DriveOutcome& outcome : outcomes) {
        std::snprintf(line, sizeof line, "%-14s", outcome.name.c_str());
        out << line;
        if (!outcome.run) {
            out << ' ' << NotTestedText(outcome.status) << '\n';
            continue;
        }
        const DriveFigures figures = FiguresOf(*outcome.run);
        std::snprintf(line, sizeof line, " %9.2f %9.2f", figures.readAverage, figures.readMinimum);
        out << line;
        if (figures.writes)
            std::snprintf(line, sizeof line, " %9.2f %9.2f", figures.writeAverage, figures.writeMinimum);
        else
            std::snprintf(line, sizeof line, " %9s %9s", "-", "-");
        out << line;
        if (figures.slowestZone > 0)
            std::snprintf(line, sizeof line, " %3d (%8.2f)", figures.slowestZone, figures.slowestSpeed);
        else
            std::snprintf(line, sizeof line, " %14s", "-");
        out << line;
        if (targetRate > 0.0)
            out << "  " << (ReachesTargetRate(figures, targetRate) ? "pass" : "FAIL");
        out << '\n';
    }
    out << "(MB/s; the slowest zone is the one of the lowest minimum, read or write.)\n";
    if (outcomes.size() > 1 && concurrent) {
        out << "The drives ran at the same time: drives on one controller share its bandwidth "
               "(--one-at-a-time tests them in turn).\n";
        PrintSharedControllers(out, outcomes);
    } else if (outcomes.size() > 1) {
        out << "The drives ran one at a time.\n";
    }
}

void PrintDrivesJson(std::ostream& out, const std::vector<DriveOutcome>& outcomes,
                     const std::vector<std::string>& runObjects, double targetRate, bool concurrent)
{
    out << "{\"runs\": [";
    for (std::size_t i = 0; i < runObjects.size(); ++i)  // each ends its line
        out << (i ? ",\n  " : "\n  ") << runObjects[i].substr(0, runObjects[i].size() - 1);
    out << (runObjects.empty() ? "" : "\n") << "], \"drives\": [";
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const DriveOutcome& outcome = outcomes[i];
        const std::string passes = !outcome.run || targetRate <= 0.0 ? "null"
                                   : ReachesTargetRate(FiguresOf(*outcome.run), targetRate) ? "true" : "false";
        out << (i ? ", " : "") << "{\"name\": " << JsonQuoted(outcome.name) << ", \"target\": "
            << JsonQuoted(outcome.target) << ", \"controller\": " << JsonQuoted(outcome.controller)
            << ", \"exit_status\": " << outcome.status << ", \"reaches_target_rate\": " << passes << "}";
    }
    out << "], \"concurrent\": " << (concurrent ? "true" : "false") << "}\n";
}
