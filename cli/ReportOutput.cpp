#include "cli/ReportOutput.h"

#include "engine/TestModel.h"
#include "format/ByteText.h"
#include "reports/ActiveSubject.h"
#include "reports/ReportFile.h"

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

bool WriteRunReport(const std::string& path, const CliOptions& options, std::ostream& err)
{
    ReportSubject subject;
    subject.name = options.target.empty() ? "Scratch file" : options.target;
    char size[256];
    BytesSInt64ToCStrWLabel(gDriveSizeInBytes64, size, true);
    subject.sizeLabel = size;

    const ReportSaveResult result = SaveReportFile(path, subject, ReportFormatForFileName(path));
    if (result.ok())
        return true;
    err << "kestrelia-cli: " << path << ": " << ReportSaveFailureText(result) << '\n';
    return false;
}
