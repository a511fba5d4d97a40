// kestrelia-cli: the speed test engine from a terminal.
#include "cli/BenchmarkRun.h"
#include "cli/CliOptions.h"
#include "cli/DriveListing.h"
#include "cli/GraphOutput.h"
#include "cli/ReportOutput.h"
#include "format/NumberLocale.h"

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
    UseUserLocaleExceptNumbers();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParseResult parsed = ParseCliOptions(arguments, {{kGraphOption, true}, {kReportOption, true}, {kListOption, false}});
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
    for (const std::string& problem : {CheckGraphOption(options), CheckReportOption(options)}) {
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

    const int status = RunBenchmark(options, std::cout, std::cerr);
    const std::string graph = GraphPathOption(options);
    if (status == kExitDone && !graph.empty() && !WriteResultGraph(graph, options, std::cerr))
        return kExitTestFailed;
    const std::string report = ReportPathOption(options);
    if (status == kExitDone && !report.empty() && !WriteRunReport(report, options, std::cerr))
        return kExitTestFailed;
    return status;
}
