#include "cli/HistoryOutput.h"

#include "cli/ResultsOutput.h"
#include "devices/DriveIdentity.h"
#include "format/ByteText.h"
#include "format/CountText.h"
#include "format/Utf8Text.h"
#include "platform/AtomicFileWriter.h"
#include "reports/RunHistory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
std::string Number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string ChangeJson(double earlier, double now)
{
    const std::optional<double> change = PercentChange(earlier, now);
    return change ? Number(*change) : "null";
}

std::string ChangeText(double earlier, double now)
{
    const std::optional<double> change = PercentChange(earlier, now);
    if (!change)
        return "      -";
    char text[32];
    std::snprintf(text, sizeof text, "%+6.1f%%", *change);
    return text;
}

std::string PairJson(double earlier, double now)
{
    return "{\"earlier_avg\": " + Number(earlier) + ", \"new_avg\": " + Number(now) +
           ", \"change_percent\": " + ChangeJson(earlier, now) + "}";
}

// What a reader of the comparison must know besides the figures.
std::vector<std::string> ComparisonNotes(const RunDocument& earlier, const Run& now)
{
    std::vector<std::string> notes;
    if (earlier.identity != now.target.identity)
        notes.push_back("the earlier run is of another drive (" + earlier.identity + ")");
    const uint32_t depth = now.settings.kind == TestKind::Random ? std::max<uint32_t>(now.random.queueDepth, 1) : 1;
    if (static_cast<uint32_t>(earlier.queueDepth) != depth)
        notes.push_back("the runs were measured at different queue depths: " + std::to_string(earlier.queueDepth) +
                        " then, " + std::to_string(depth) + " now");
    return notes;
}

// The random speeds of a run as its document keeps them: writes only when measured.
std::optional<double> RandomWriteOf(const Run& run)
{
    return run.settings.writes ? std::optional<double>(run.random.writeSpeed) : std::nullopt;
}

// The user who started the program may write the file there: else why not.
std::string WritablePathProblem(const std::string& option, const std::string& path)
{
    const FileWriteResult check = CheckFileDestination(path);
    return check.ok() ? std::string() : option + ": " + FileWriteProblem(path, check);
}
}  // namespace

int PrintRunHistory(const std::string& target, bool json, std::ostream& out, std::ostream& err)
{
    const std::string identity = DriveIdentityFor(target);
    if (identity.empty()) {
        err << "kestrelia-cli: " << target << ": no such drive, volume or file\n";
        return 2;
    }
    const std::vector<HistoryEntry> runs = ListDriveHistory(HistoryRoot(), identity, err);
    if (json) {
        out << "{\"target\": " << JsonQuoted(target) << ", \"identity\": " << JsonQuoted(identity) << ", \"runs\": [";
        for (std::size_t i = 0; i < runs.size(); ++i)
            out << (i ? ", " : "") << "{\"file\": " << JsonQuoted(runs[i].path)
                << ", \"when\": " << JsonQuoted(runs[i].run.when)
                << ", \"queue_depth\": " << runs[i].run.queueDepth << ", \"summary\": " << JsonQuoted(RunSummary(runs[i].run)) << "}";
        out << "]}\n";
        return 0;
    }
    out << target << " (" << identity << "): " << CountText(static_cast<long>(runs.size()), "run") << '\n';
    for (const HistoryEntry& entry : runs)
        out << "  " << ShownText(RunSummary(entry.run)) << "\n    " << entry.path << '\n';
    return 0;
}

std::string CheckHistoryOptions(const CliOptions& options, std::optional<RunDocument>* earlier)
{
    const std::string saveJson = ExtraOptionValue(options, kSaveJsonOption);
    if (!saveJson.empty())
        if (std::string problem = WritablePathProblem(kSaveJsonOption, saveJson); !problem.empty())
            return problem;
    const std::string compare = ExtraOptionValue(options, kCompareOption);
    if (compare.empty())
        return {};
    std::string why;
    *earlier = ReadRunDocumentAsUser(compare, &why);
    if (!*earlier)
        return std::string(kCompareOption) + ": " + compare + ": " + why;
    const std::string problem = RunComparabilityProblem(**earlier, options.randomTest, options.zones);
    if (!problem.empty())
        return std::string(kCompareOption) + ": " + compare + " is " + problem +
               ", which cannot be compared with this test";
    return {};
}

RunTarget CliRunTarget(const CliOptions& options, const std::string& target, uint64_t sizeBytes)
{
    RunTarget run;
    run.devicePath = target;
    run.identity = DriveIdentityFor(target);
    run.name = options.target.empty() ? "Scratch file" : target;
    char size[256];
    FormatByteSize(static_cast<int64_t>(sizeBytes), size, true);
    run.sizeLabel = size;
    run.isVolume = run.identity.find("#part") != std::string::npos;
    run.sizeBytes = sizeBytes;
    return run;
}

bool KeepCliRun(const CliOptions& options, const RunDocument& run, std::ostream& err)
{
    // Drives and volumes have a history; files (the scratch file among them) do not.
    if (!options.target.empty() && run.identity.rfind("file:", 0) != 0) {
        std::string why;
        if (SaveRunToHistory(HistoryRoot(), run, NowMilliseconds(), &why, err).empty())
            err << "kestrelia-cli: the run could not be kept in the history: " << why << '\n';
    }
    const std::string saveJson = ExtraOptionValue(options, kSaveJsonOption);
    if (saveJson.empty())
        return true;
    if (const FileWriteResult written = WriteRunDocumentFile(saveJson, run); !written.ok()) {
        err << "kestrelia-cli: " << FileWriteProblem(saveJson, written) << '\n';
        return false;
    }
    return true;
}

void PrintComparisonTable(std::ostream& out, const RunDocument& earlier, const std::string& earlierPath,
                          const Run& now)
{
    out << "Compared with the run of " << ShownText(RunSummary(earlier)) << " (" << earlierPath << "):\n";
    for (const std::string& note : ComparisonNotes(earlier, now))
        out << "Note: " << ShownText(note) << ".\n";
    char line[256];
    if (now.settings.kind == TestKind::Random) {
        auto row = [&](const char* name, std::optional<double> before, std::optional<double> after) {
            if (!before || !after)
                return;
            std::snprintf(line, sizeof line, "%-7s %10.3f %10.3f %s\n", name, *before, *after,
                          ChangeText(*before, *after).c_str());
            out << line;
        };
        out << "        Earlier        New   Change   (MB/s)\n";
        row("Reads:", earlier.randomRead, now.random.readSpeed);
        row("Writes:", earlier.randomWrite, RandomWriteOf(now));
        return;
    }
    const bool writes = now.settings.writes && earlier.writes;
    std::snprintf(line, sizeof line, "%4s %13s %9s %7s", "Zone", "Earlier read", "New read", "Change");
    out << line;
    if (writes) {
        std::snprintf(line, sizeof line, " %13s %9s %7s", "Earlier write", "New write", "Change");
        out << line;
    }
    out << "   (average MB/s)\n";
    const std::size_t zones = std::min(earlier.zoneResults.size(), static_cast<std::size_t>(now.MeasuredZoneCount()));
    for (std::size_t z = 0; z < zones; ++z) {
        const RunZone& before = earlier.zoneResults[z];
        const ZoneResult& after = now.zones[z];
        std::snprintf(line, sizeof line, "%4zu %13.2f %9.2f %s", z + 1, before.read.avg, after.read.average,
                      ChangeText(before.read.avg, after.read.average).c_str());
        out << line;
        if (writes && before.write) {
            std::snprintf(line, sizeof line, " %13.2f %9.2f %s", before.write->avg, after.write.average,
                          ChangeText(before.write->avg, after.write.average).c_str());
            out << line;
        }
        out << '\n';
    }
}

std::string ComparisonJson(const RunDocument& earlier, const std::string& earlierPath, const Run& now)
{
    const bool randomTest = now.settings.kind == TestKind::Random;
    std::string json = "{\"file\": " + JsonQuoted(earlierPath) + ", \"when\": " + JsonQuoted(earlier.when) +
                       ", \"test\": " + (earlier.randomTest ? "\"random\"" : "\"standard\"") +
                       ", \"queue_depth\": " + std::to_string(earlier.queueDepth) + ", \"notes\": [";
    const std::vector<std::string> notes = ComparisonNotes(earlier, now);
    for (std::size_t i = 0; i < notes.size(); ++i)
        json += (i ? ", " : "") + JsonQuoted(notes[i]);
    json += "], \"zones\": [";
    const std::size_t zones =
        randomTest ? 0 : std::min(earlier.zoneResults.size(), static_cast<std::size_t>(now.MeasuredZoneCount()));
    for (std::size_t z = 0; z < zones; ++z) {
        const RunZone& before = earlier.zoneResults[z];
        const ZoneResult& after = now.zones[z];
        json += (z ? ", " : "") + std::string("{\"zone\": ") + std::to_string(z + 1) +
                ", \"read\": " + PairJson(before.read.avg, after.read.average) + ", \"write\": " +
                (before.write && now.settings.writes ? PairJson(before.write->avg, after.write.average) : "null") + "}";
    }
    json += "], \"random\": ";
    if (randomTest) {
        const std::optional<double> write = RandomWriteOf(now);
        json += "{\"read\": " + (earlier.randomRead ? PairJson(*earlier.randomRead, now.random.readSpeed) : "null") +
                ", \"write\": " + (earlier.randomWrite && write ? PairJson(*earlier.randomWrite, *write) : "null") +
                "}";
    } else {
        json += "null";
    }
    return json + "}";
}
