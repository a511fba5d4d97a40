// kestrelia-cli: the speed test engine from a terminal.
#include "cli/BenchmarkRun.h"
#include "cli/CliOptions.h"
#include "cli/DriveListing.h"
#include "cli/ReportTarget.h"
#include "engine/TestModel.h"
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
        std::cout << CliUsageText()
                  << "\n  --list                  list the drives that can be tested and their mounted volumes\n"
                     "                          (with --json as one JSON object); runs no test\n"
                     "  --report FILE           after the test, save its report to FILE: a text report, or\n"
                     "                          a tab-separated spreadsheet report when FILE ends in .xls\n";
        return kExitDone;
    }
    if (ExtraValue(options, "--list")) {
        PrintDriveList(std::cout, options.json);
        return kExitDone;
    }
    const std::string* reportPath = ExtraValue(options, "--report");
    if (reportPath && reportPath->empty()) {
        std::cerr << "kestrelia-cli: --report needs a file name\n";
        return kExitBadInput;
    }
    // Found out before the test runs rather than after it.
    if (reportPath && !std::filesystem::is_directory(std::filesystem::absolute(*reportPath).parent_path())) {
        std::cerr << "kestrelia-cli: " << kReportOpenFailedMessage << " No folder for " << *reportPath << '\n';
        return kExitBadInput;
    }

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const int status = RunBenchmark(options, std::cout, std::cerr);
    if (status != kExitDone || !reportPath)
        return status;
    return SaveReport(options, *reportPath);
}
