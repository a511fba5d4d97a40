// kestrelia-cli: the speed test engine from a terminal.
#include "cli/BenchmarkRun.h"
#include "cli/CliOptions.h"
#include "cli/DriveListing.h"
#include "cli/GraphOutput.h"
#include "cli/ReportTarget.h"
#include "engine/TestModel.h"
#include "reports/ActiveSubject.h"
#include "reports/ReportFile.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace {
void OnInterrupt(int)
{
    RequestBenchmarkInterrupt();
}

const std::vector<ExtraOption> kCommandOptions = {
    {kGraphOption, true},
    {"--list", false},
    {"--report", true},
};

const std::string* ExtraValue(const CliOptions& options, const std::string& name)
{
    for (const auto& [option, value] : options.extras) {
        if (option == name)
            return &value;
    }
    return nullptr;
}

// A report that cannot be stored is refused before any test runs.
std::string CheckReportOption(const std::string* path)
{
    if (!path)
        return std::string();
    if (path->empty())
        return "--report needs a file name";
    if (!std::filesystem::is_directory(std::filesystem::absolute(*path).parent_path()))
        return std::string(kReportOpenFailedMessage) + " No folder for " + *path;
    return std::string();
}

int SaveReport(const CliOptions& options, const std::string& path)
{
    ChooseReportedDevice(options.target, gDriveSizeInBytes64);
    const int status = WriteResultsReportFile(path, ReportFormatForFileName(path));
    if (status != 0) {
        std::cerr << "kestrelia-cli: " << kReportOpenFailedMessage << " " << path << ": " << std::strerror(-status)
                  << '\n';
        return kExitTestFailed;
    }
    std::cerr << "Report saved as " << path << '\n';
    return kExitDone;
}
}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParseResult parsed = ParseCliOptions(arguments, kCommandOptions);
    if (!parsed.options) {
        std::cerr << "kestrelia-cli: " << parsed.error << '\n';
        return kExitBadInput;
    }
    const CliOptions& options = *parsed.options;
    if (options.help) {
        std::cout << CliUsageText();
        return kExitDone;
    }
    if (ExtraValue(options, "--list")) {
        PrintDriveList(std::cout, options.json);
        return kExitDone;
    }
    const std::string* reportPath = ExtraValue(options, "--report");
    for (const std::string& problem : {CheckGraphOption(options), CheckReportOption(reportPath)}) {
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
    if (status != kExitDone)
        return status;
    const std::string graph = GraphPathOption(options);
    if (!graph.empty() && !WriteResultGraph(graph, options, std::cerr))
        return kExitTestFailed;
    return reportPath ? SaveReport(options, *reportPath) : kExitDone;
}
