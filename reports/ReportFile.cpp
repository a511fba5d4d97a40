#include "reports/ReportFile.h"

#include <cstring>

namespace {
std::string gReport;  // Mac OS Roman
}  // namespace

const std::string& CurrentReport()
{
    return gReport;
}

ReportSaveResult SaveReportFile(const std::string& path, const Run& run, int32_t format, std::time_t testDate)
{
    gReport = AssembleReport(run, format, ReportDateFor(testDate));
    return WriteFileAtomically(path, gReport);
}

std::string ReportSaveFailureText(const ReportSaveResult& result)
{
    if (!result.refusal.empty())
        return "Error: Unable to save test results file: " + result.refusal + ".";
    std::string text = "Error: Unable to save test results file (" + result.failedStep +
                       "): " + std::strerror(result.errorNumber);
    if (!result.writtenAs.empty())
        text += " (" + result.writtenAs + ")";
    return text + ".";
}
