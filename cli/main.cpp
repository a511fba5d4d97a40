// kestrelia-cli: the speed test engine from a terminal.
#include "cli/BenchmarkRun.h"
#include "cli/CliOptions.h"
#include "cli/DriveListing.h"
#include "cli/GraphOutput.h"
#include "cli/HistoryOutput.h"
#include "cli/ManyDrivesRun.h"
#include "cli/AllDrives.h"
#include "cli/MergeCommand.h"
#include "cli/MetricsOutput.h"
#include "cli/ReportOutput.h"
#include "cli/UnmountedVolumes.h"
#include "format/NumberLocale.h"

#include <algorithm>
#include <csignal>
#include <future>
#include <iostream>
#include <sstream>
#include <vector>

namespace {
void OnStopSignal(int signalNumber)
{
    RequestBenchmarkInterrupt(signalNumber);
}

// Ctrl-C, SIGTERM and SIGHUP stop the run through its ordinary end, so that
// every block is put back and the scratch file removed. The dynamic loader
// calls this before any library initialises (an executable's pre-initialisers
// come first); then the signals that kestrelia-cli's launcher held back while
// this program loaded come through.
void InstallStopHandlers(int, char**, char**)
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signalNumber, &action, nullptr);
        sigaddset(&stops, signalNumber);
    }
    sigprocmask(SIG_UNBLOCK, &stops, nullptr);
}

[[gnu::section(".preinit_array"), gnu::used]] void (*const kInstallStopHandlersFirst)(int, char**, char**) =
    InstallStopHandlers;
}  // namespace

int main(int argc, char** argv)
{
    UseUserLocaleExceptNumbers();

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (IsMergeCommand(arguments))
        return MergeFetchedRuns(arguments, std::cout, std::cerr);
    const ParseResult parsed = ParseCliOptions(arguments, {{kGraphOption, true, true},
                                                                {kReportOption, true, true},
                                                                {kListOption, false},
                                                                {kUnmountOption, false},
                                                                {kRemountLeftOption, false},
                                                                {kHistoryOption, true},
                                                                {kCompareOption, true},
                                                                {kSaveJsonOption, true, true},
                                                                {kAllOption, false},
                                                                {kYesOption, false},
                                                                {kOneAtATimeOption, false},
                                                                {kTargetRateOption, true},
                                                                {kMetricsOption, true, true}});
    if (!parsed.options) {
        std::cerr << "kestrelia-cli: " << parsed.error << '\n';
        return kExitBadInput;
    }
    const CliOptions& options = *parsed.options;
    if (options.help) {
        std::cout << CliUsageText();
        return kExitDone;
    }
    if (ListOptionGiven(options)) {
        PrintDriveList(std::cout, options.json);
        return kExitDone;
    }
    if (RemountLeftOptionGiven(options))
        return RemountLeftVolumes(std::cout, std::cerr);
    MentionLeftVolumes(std::cerr);
    const std::string historyTarget = ExtraOptionValue(options, kHistoryOption);
    if (!historyTarget.empty())
        return PrintRunHistory(historyTarget, options.json, std::cout, std::cerr);
    if (ManyDrivesAsked(options)) {
        // One metrics file holds every drive's samples, labelled by drive.
        if (const std::string problem = CheckMetricsOption(options); !problem.empty()) {
            std::cerr << "kestrelia-cli: " << problem << '\n';
            return kExitBadInput;
        }
        std::vector<DriveOutcome> outcomes;
        const int status = RunManyDrives(options, std::cout, std::cerr, &outcomes);
        const std::string metrics = MetricsPathOption(options);
        const std::vector<const Run*> kept = KeptRuns(outcomes);
        if (!metrics.empty() && !kept.empty() && !WriteRunMetrics(metrics, kept, std::cerr))
            return std::max(status, kExitTestFailed);
        return status;
    }
    std::optional<RunDocument> earlier;
    for (const std::string& problem :
         {TargetPathProblem(options), CheckGraphOption(options), CheckReportOption(options),
          CheckHistoryOptions(options, &earlier), CheckMetricsOption(options)}) {
        if (!problem.empty()) {
            std::cerr << "kestrelia-cli: " << problem << '\n';
            return kExitBadInput;
        }
    }

    CliMountSession mounts;
    if (const int refused = mounts.Prepare(options, std::cerr))
        return refused;
    // The run is kept (history, --save-json) as soon as it has ended well, on a
    // thread of its own, so that its writes and fsyncs overlap the output and
    // the clean-up; its comparison with --compare goes into the JSON output or
    // after the table.
    std::future<bool> kept;
    std::ostringstream keptMessages;
    // A run that ended well, or a surface test that found unreadable sectors
    // (status 1): its results are kept and written all the same.
    bool measured = false;
    Run finished;
    RunDocument run;
    const std::string comparePath = ExtraOptionValue(options, kCompareOption);
    const int status = mounts.Finish(RunBenchmark(options, std::cout, std::cerr, [&](const Run& ended) {
        finished = ended;
        measured = true;
        run = CaptureRunDocument(ended);
        if (options.target.empty())
            run.devicePath = "Scratch file";
        kept = std::async(std::launch::async | std::launch::deferred, [&options, &keptMessages, document = run] {
            return KeepCliRun(options, document, keptMessages);
        });
        return earlier && options.json ? "\"compared_with\": " + ComparisonJson(*earlier, comparePath, ended)
                                       : std::string();
    }), std::cerr);
    if (status == kExitDone && earlier && !options.json)
        PrintComparisonTable(std::cout, *earlier, comparePath, finished);
    const bool keptWell = !kept.valid() || kept.get();
    std::cerr << keptMessages.str();
    if (measured && !keptWell)
        return kExitTestFailed;
    const std::string graph = GraphPathOption(options);
    if (measured && !graph.empty() && !WriteResultGraph(graph, finished, options, std::cerr))
        return kExitTestFailed;
    const std::string report = ReportPathOption(options);
    if (measured && !report.empty() && !WriteRunReport(report, finished, std::cerr))
        return kExitTestFailed;
    const std::string metrics = MetricsPathOption(options);
    const Run* const metricsRuns[] = {&finished};
    if (measured && !metrics.empty() && !WriteRunMetrics(metrics, metricsRuns, std::cerr))
        return kExitTestFailed;
    return status;
}
