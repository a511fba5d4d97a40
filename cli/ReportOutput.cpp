#include "cli/ReportOutput.h"

#include "reports/ReportFile.h"
#include "reports/ReportFileName.h"

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
    const ReportSaveResult result = SaveReportFile(path, run, ReportFormatForFileName(path), run.ended);
    if (result.ok())
        return true;
    err << "kestrelia-cli: " << path << ": " << ReportSaveFailureText(result) << '\n';
    return false;
}
