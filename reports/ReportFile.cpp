#include "reports/ReportFile.h"

#include "reports/MacRomanText.h"

#include <cstring>
#include <ctime>

namespace {
std::string gReport;  // UTF-8 while it is assembled, then Mac OS Roman
bool gReportConverted = false;
}  // namespace

void SaveTestResultsTEXT()
{
    gReport += TextReportBody();
}

void SaveTestResultsXCEL()
{
    gReport += SpreadsheetReportBody();
}

const std::string& CurrentReport()
{
    if (!gReportConverted) {
        gReport = Utf8ToMacRoman(gReport);
        gReportConverted = true;
    }
    return gReport;
}

ReportSaveResult SaveReportFile(const std::string& path, const ReportSubject& subject, int32_t format)
{
    gReport = ReportHeader(subject, ReportDateFor(std::time(nullptr)));
    gReportConverted = false;
    if (format == kTextReportFormat)
        SaveTestResultsTEXT();
    else if (format == kSpreadsheetReportFormat)
        SaveTestResultsXCEL();
    return WriteFileAtomically(path, CurrentReport());
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
