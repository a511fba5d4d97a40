#include "cli/ReportOutput.h"

#include "engine/TestModel.h"
#include "format/ByteText.h"
#include "reports/ActiveSubject.h"
#include "reports/ReportFile.h"

#include <cstdlib>
#include <filesystem>

namespace {
// The invoking user's id from the variable sudo or pkexec sets, or -1.
long InvokingId(const char* variable)
{
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0')
        return -1;
    char* end = nullptr;
    const long id = std::strtol(value, &end, 10);
    return *end == '\0' && id >= 0 ? id : -1;
}
}  // namespace

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

    long uid = InvokingId("PKEXEC_UID");
    long gid = -1;
    if (uid < 0) {
        uid = InvokingId("SUDO_UID");
        gid = InvokingId("SUDO_GID");
    }
    if (uid >= 0 && gid < 0)
        gid = uid;  // pkexec names only the user; their own group has the same number on most systems

    const ReportSaveResult result = SaveReportFile(path, subject, ReportFormatForFileName(path), uid, gid);
    if (result.ok())
        return true;
    err << "kestrelia-cli: " << path << ": " << ReportSaveFailureText(result) << '\n';
    return false;
}
