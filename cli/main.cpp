// kestrelia-cli: the speed test engine from a terminal.
#include "cli/BenchmarkRun.h"
#include "cli/CliOptions.h"
#include "cli/DriveListing.h"
#include "cli/GraphOutput.h"
#include "cli/HistoryOutput.h"
#include "cli/ReportOutput.h"

#include <csignal>
#include <iostream>

namespace {
void OnInterrupt(int)
{
    RequestBenchmarkInterrupt();
}
}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParseResult parsed = ParseCliOptions(arguments, {{kGraphOption, true},
                                                                {kReportOption, true},
                                                                {kListOption, false},
                                                                {kHistoryOption, true},
                                                                {kCompareOption, true},
                                                                {kSaveJsonOption, true}});
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
    const std::string historyTarget = ExtraOptionValue(options, kHistoryOption);
    if (!historyTarget.empty())
        return PrintRunHistory(historyTarget, options.json, std::cout, std::cerr);
    std::optional<RunDocument> earlier;
    for (const std::string& problem :
         {CheckGraphOption(options), CheckReportOption(options), CheckHistoryOptions(options, &earlier)}) {
        if (!problem.empty()) {
            std::cerr << "kestrelia-cli: " << problem << '\n';
            return kExitBadInput;
        }
    }

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    // The run is kept (history, --save-json) as soon as it has ended well; its
    // comparison with --compare goes into the JSON output or after the table.
    bool kept = true;
    RunDocument run;
    const std::string comparePath = ExtraOptionValue(options, kCompareOption);
    const int status = RunBenchmark(options, std::cout, std::cerr, [&](const std::string& target) {
        run = CliRunDocument(target);
        if (options.target.empty())
            run.devicePath = run.description = "Scratch file";
        kept = KeepCliRun(options, run, std::cerr);
        return earlier && options.json ? "\"compared_with\": " + ComparisonJson(*earlier, comparePath, run)
                                       : std::string();
    });
    if (status == kExitDone && earlier && !options.json)
        PrintComparisonTable(std::cout, *earlier, comparePath, run);
    if (status == kExitDone && !kept)
        return kExitTestFailed;
    const std::string graph = GraphPathOption(options);
    if (status == kExitDone && !graph.empty() && !WriteResultGraph(graph, options, std::cerr))
        return kExitTestFailed;
    const std::string report = ReportPathOption(options);
    if (status == kExitDone && !report.empty() && !WriteRunReport(report, options, std::cerr))
        return kExitTestFailed;
    return status;
}
