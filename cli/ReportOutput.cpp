#include "cli/ReportOutput.h"

#include "engine/TestModel.h"
#include "format/ByteText.h"
#include "reports/ActiveSubject.h"
#include "reports/ReportFile.h"
#include "reports/ReportOwner.h"

#include <filesystem>

std::string ReportPathOption(const CliOptions& options)
{
    return ExtraOptionValue(options, kReportOption);
}

std::string CheckReportOption(const CliOptions& options)
{
    const std::string path = ReportPathOption(options);
    if (path.empty())
        return {};
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error || !std::filesystem::is_directory(absolute.parent_path(), error))
        return "--report: no folder " + absolute.parent_path().string() + " to write " + path + " into";
    if (std::filesystem::is_directory(absolute, error))
        return "--report: " + path + " is a folder";
    return {};
}

bool WriteRunReport(const std::string& path, const CliOptions& options, std::ostream& err)
{
    ReportSubject subject;
    subject.name = options.target.empty() ? "Scratch file" : options.target;
    char size[256];
    BytesSInt64ToCStrWLabel(gDriveSizeInBytes64, size, true);
    subject.sizeLabel = size;

    const ReportOwner owner = CallingUser();
    const ReportSaveResult result =
        SaveReportFile(path, subject, ReportFormatForFileName(path), owner.uid, owner.gid);
    if (result.ok())
        return true;
    err << "kestrelia-cli: " << path << ": " << ReportSaveFailureText(result) << '\n';
    return false;
}
