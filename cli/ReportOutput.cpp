#include "cli/ReportOutput.h"

#include "cli/QtOutput.h"
#include "platform/AtomicFileWriter.h"

std::string ReportPathOption(const CliOptions& options)
{
    return ExtraOptionValue(options, kReportOption);
}

std::string CheckReportOption(const CliOptions& options)
{
    const std::string path = ReportPathOption(options);
    if (path.empty())
        return {};
    const FileWriteResult check = CheckFileDestination(path);
    return check.ok() ? std::string() : std::string(kReportOption) + ": " + FileWriteProblem(path, check);
}

bool WriteRunReport(const std::string& path, const Run& run, std::ostream& err)
{
    const QtOutputFunctions* qt = LoadQtOutput(err);
    if (qt == nullptr)
        return false;
    std::string problem;
    if (qt->saveReport(path, run, &problem))
        return true;
    err << "kestrelia-cli: " << path << ": " << problem << '\n';
    return false;
}
