#include "cli/MergeCommand.h"

#include "cli/BenchmarkRun.h"
#include "cli/GraphOutput.h"
#include "platform/ActAsUser.h"
#include "platform/AtomicFileWriter.h"
#include "reports/FetchedRuns.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct MergeArguments {
    std::vector<std::string> folders;
    bool csv = false;
    std::string graphPath;
    std::string error;
};

MergeArguments ParseMergeArguments(const std::vector<std::string>& arguments)
{
    MergeArguments parsed;
    std::vector<std::string> given;
    for (size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
        const std::string& arg = arguments[i];
        if (arg.empty() || arg[0] != '-') {
            parsed.folders.push_back(arg);
            continue;
        }
        if (std::find(given.begin(), given.end(), arg) != given.end()) {
            parsed.error = arg + " given twice";
        } else if (arg == "--csv") {
            parsed.csv = true;
        } else if (arg == "--graph") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty() || arguments[i + 1][0] == '-')
                parsed.error = "--graph needs a file name";
            else
                parsed.graphPath = arguments[++i];
        } else if (arg != "--merge") {
            parsed.error = arg + " does not go with --merge (only --csv and --graph FILE.png do)";
        }
        given.push_back(arg);
    }
    if (parsed.error.empty() && parsed.folders.empty())
        parsed.error = "--merge needs the folders of the hosts' runs";
    return parsed;
}

std::string WithoutTrailingSlashes(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// A host's name: its folder's last component.
std::string HostOf(const std::string& folder)
{
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

bool EndsWithJson(const std::string& name)
{
    return name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0;
}

struct Collected {
    std::vector<FleetRun> runs;
    int skipped = 0;
};

// Every .json file under folder, in name order; links below the folder named
// are never followed.
void CollectRuns(const std::string& host, const std::string& folder, bool named, Collected& collected,
                 std::ostream& err)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (named ? 0 : O_NOFOLLOW));
    DIR* directory = fd < 0 ? nullptr : fdopendir(fd);
    if (directory == nullptr) {
        if (fd >= 0)
            close(fd);
        err << "kestrelia-cli: skipping " << folder << ": " << std::strerror(errno) << '\n';
        ++collected.skipped;
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(directory))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    closedir(directory);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        struct stat status {};
        if (lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            CollectRuns(host, path, false, collected, err);
            continue;
        }
        if (!EndsWithJson(name))
            continue;  // reports, graphs and metrics fetched beside the runs
        std::string why;
        const std::optional<std::vector<RunDocument>> runs = ReadFetchedRunFile(path, &why);
        if (!runs) {
            err << "kestrelia-cli: skipping " << path << ": " << why << '\n';
            ++collected.skipped;
            continue;
        }
        for (const RunDocument& run : *runs)
            collected.runs.push_back({host, run});
    }
}

// The newest run of each host's drive and test, by host, drive and test.
// A run both kept in the history and printed by --json appears once.
std::vector<FleetRun> NewestPerDrive(const std::vector<FleetRun>& runs)
{
    std::map<std::tuple<std::string, std::string, std::string>, FleetRun> newest;
    for (const FleetRun& fleetRun : runs) {
        const RunDocument& run = fleetRun.run;
        const auto key = std::make_tuple(fleetRun.host, run.identity.empty() ? run.devicePath : run.identity,
                                         FleetTestName(run));
        const auto found = newest.find(key);
        if (found == newest.end() || found->second.run.when < run.when)
            newest[key] = fleetRun;
    }
    std::vector<FleetRun> shown;
    for (const auto& [key, fleetRun] : newest)
        shown.push_back(fleetRun);
    std::stable_sort(shown.begin(), shown.end(), [](const FleetRun& a, const FleetRun& b) {
        return std::make_tuple(a.host, a.run.devicePath, FleetTestName(a.run)) <
               std::make_tuple(b.host, b.run.devicePath, FleetTestName(b.run));
    });
    return shown;
}

std::string Speed(std::optional<double> speed)
{
    if (!speed)
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", *speed);
    return text;
}

// The columns of a run, as both the table and the CSV give them; those of
// the surface test only when withSurface.
std::vector<std::string> Columns(const FleetRun& fleetRun, bool withSurface)
{
    const RunDocument& run = fleetRun.run;
    const FleetFigures figures = FleetFiguresOf(run);
    std::vector<std::string> columns = {fleetRun.host,
                                        run.devicePath,
                                        run.identity,
                                        FleetTestName(run),
                                        run.when,
                                        Speed(figures.readAverage),
                                        run.randomTest ? "" : Speed(figures.readMinimum),
                                        Speed(figures.writeAverage),
                                        Speed(figures.writeMinimum)};
    if (withSurface) {
        columns.push_back(Speed(figures.readOnePercentLow));
        columns.push_back(Speed(figures.writeOnePercentLow));
        columns.push_back(figures.unreadableSectors ? std::to_string(*figures.unreadableSectors) : "");
    }
    return columns;
}

const std::vector<std::string> kHeadings = {"Host", "Drive", "Identity", "Test", "Ended (UTC)", "Read avg",
                                            "Read min", "Write avg", "Write min"};
const std::vector<std::string> kSurfaceHeadings = {"Read 1% low", "Write 1% low", "Unreadable"};
constexpr size_t kFirstSpeedColumn = 5;

// The surface test's columns are shown when a surface run is among the runs.
bool AnySurfaceRun(const std::vector<FleetRun>& runs)
{
    return std::any_of(runs.begin(), runs.end(), [](const FleetRun& run) { return run.run.surfaceTest; });
}

std::string CsvField(const std::string& field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}
}  // namespace

bool IsMergeCommand(const std::vector<std::string>& arguments)
{
    return std::find(arguments.begin(), arguments.end(), "--merge") != arguments.end();
}

void PrintFleetTable(std::ostream& out, const std::vector<FleetRun>& runs)
{
    const bool withSurface = AnySurfaceRun(runs);
    std::vector<std::vector<std::string>> rows = {kHeadings};
    if (withSurface)
        rows[0].insert(rows[0].end(), kSurfaceHeadings.begin(), kSurfaceHeadings.end());
    for (const FleetRun& run : runs)
        rows.push_back(Columns(run, withSurface));
    std::vector<size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            const std::string padding(widths[c] - row[c].size(), ' ');
            line += (c ? "  " : "") + (c >= kFirstSpeedColumn ? padding + row[c] : row[c] + padding);
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << (&row == &rows.front() ? "   (MB/s)" : "") << '\n';
    }
}

void PrintFleetCsv(std::ostream& out, const std::vector<FleetRun>& runs)
{
    const bool withSurface = AnySurfaceRun(runs);
    out << "host,drive,identity,test,ended,read_avg_mbps,read_min_mbps,write_avg_mbps,write_min_mbps"
        << (withSurface ? ",read_1pct_low_mbps,write_1pct_low_mbps,unreadable_sectors" : "") << "\r\n";
    for (const FleetRun& run : runs) {
        const std::vector<std::string> columns = Columns(run, withSurface);
        for (size_t c = 0; c < columns.size(); ++c)
            out << (c ? "," : "") << CsvField(columns[c]);
        out << "\r\n";
    }
}

int MergeFetchedRuns(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const MergeArguments parsed = ParseMergeArguments(arguments);
    if (!parsed.error.empty()) {
        err << "kestrelia-cli: " << parsed.error << '\n';
        return kExitBadInput;
    }
    if (!parsed.graphPath.empty()) {
        const FileWriteResult check = CheckFileDestination(parsed.graphPath);
        if (!check.ok()) {
            err << "kestrelia-cli: --graph: " << FileWriteProblem(parsed.graphPath, check) << '\n';
            return kExitBadInput;
        }
    }
    Collected collected;
    {
        // Read with the rights of the user who asked, whoever planted what in the folders.
        const ActAsCallingUser asUser;
        if (asUser.error() != 0) {
            err << "kestrelia-cli: cannot act as the calling user: " << std::strerror(asUser.error()) << '\n';
            return kExitTestFailed;
        }
        for (const std::string& named : parsed.folders) {
            const std::string folder = WithoutTrailingSlashes(named);
            struct stat status {};
            if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
                err << "kestrelia-cli: " << folder << ": not a folder of a host's runs\n";
                return kExitBadInput;
            }
            CollectRuns(HostOf(folder), folder, true, collected, err);
        }
    }
    const std::vector<FleetRun> shown = NewestPerDrive(collected.runs);
    if (parsed.csv)
        PrintFleetCsv(out, shown);
    else
        PrintFleetTable(out, shown);
    out.flush();
    if (!parsed.graphPath.empty() && !WriteFleetGraph(parsed.graphPath, shown, err))
        return kExitTestFailed;
    return collected.skipped == 0 ? kExitDone : kExitTestFailed;
}
