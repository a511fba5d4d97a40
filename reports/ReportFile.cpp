#include "reports/ReportFile.h"

#include "engine/InterfaceHost.h"
#include "reports/MacRomanText.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int32_t gSavedRestulsFileFormatS32 = kTextReportFormat;
std::string gResultsFileRef;
int gResultsFileForkRefNum = -1;

namespace {
std::string gReport;  // UTF-8 while it is assembled, then Mac OS Roman
bool gReportConverted = false;

void ShowErrorAlert(const char* message)
{
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ShowAlert(0, message);
}

void CloseFork()
{
    if (gResultsFileForkRefNum >= 0)
        close(gResultsFileForkRefNum);
    gResultsFileForkRefNum = -1;
}

// Writes all of text, going on after partial writes; 0 or an error number.
int WriteAll(int fd, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(fd, text.data() + written, text.size() - written);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (count == 0)
            return EIO;
        written += static_cast<std::size_t>(count);
    }
    return 0;
}
}  // namespace

int16_t OpenAndAllocateDataFork(const std::string& fileRef, int* forkRefNum, uint64_t requestCount,
                                uint64_t* actualCount)
{
    *actualCount = 0;
    const int fd = open(fileRef.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    *forkRefNum = fd;
    // Reserve the space without changing the file's length.
    const int status = fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(requestCount));
    if (status == 0) {
        *actualCount = requestCount;
        return 0;
    }
    // File systems without reservations still take the write.
    if (errno == EOPNOTSUPP || errno == ENOSYS)
        return 0;
    return static_cast<int16_t>(errno);
}

int16_t DoCommonSaveResults(const ReportSubject& subject)
{
    uint64_t reserved = 0;
    const int16_t status =
        OpenAndAllocateDataFork(gResultsFileRef, &gResultsFileForkRefNum, kReportReservationBytes, &reserved);
    if (status != 0) {
        ShowErrorAlert(kReportOpenFailedMessage);
        CloseFork();
        unlink(gResultsFileRef.c_str());
        return status;
    }
    gReport = ReportHeader(subject, ReportDateFor(std::time(nullptr)));
    gReportConverted = false;
    return 0;
}

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

int16_t MakeWritableByAll(int fd)
{
    struct stat status {};
    if (fstat(fd, &status) != 0)
        return static_cast<int16_t>(errno);
    if (fchmod(fd, (status.st_mode & 07777) | 0222) != 0)
        return static_cast<int16_t>(errno);
    return 0;
}

ReportSaveResult SaveReportFile(const std::string& path, const ReportSubject& subject, int32_t format,
                                long ownerUid, long ownerGid)
{
    const OutputPathCheck check = CheckOutputPath(path);
    if (!check.ok())
        return {check.errorNumber, "check", check.refusal};
    std::string temporary;
    const int created = CreateFileBeside(check.path, &temporary);
    if (created < 0)
        return {errno, "create", {}};
    close(created);
    gResultsFileRef = temporary;

    const auto fail = [&](int errorNumber, const char* step) {
        CloseFork();
        unlink(temporary.c_str());
        return ReportSaveResult{errorNumber, step, {}};
    };

    if (const int16_t status = DoCommonSaveResults(subject); status != 0)
        return {status == -1 ? EIO : status, "open", {}};  // the file is already deleted
    if (format == kTextReportFormat)
        SaveTestResultsTEXT();
    else if (format == kSpreadsheetReportFormat)
        SaveTestResultsXCEL();

    if (const int error = WriteAll(gResultsFileForkRefNum, CurrentReport()); error != 0)
        return fail(error, "write");
    if (fsync(gResultsFileForkRefNum) != 0)
        return fail(errno, "write");
    // mkstemp made the file 0600: a report is a document, readable by all,
    // then writable by all as the save has always left it.
    if (fchmod(gResultsFileForkRefNum, 0644) != 0)
        return fail(errno, "permissions");
    if (const int16_t status = MakeWritableByAll(gResultsFileForkRefNum); status != 0)
        return fail(status, "permissions");
    if (ownerUid >= 0 &&
        fchown(gResultsFileForkRefNum, static_cast<uid_t>(ownerUid), static_cast<gid_t>(ownerGid)) != 0)
        return fail(errno, "owner");
    const int fd = gResultsFileForkRefNum;
    gResultsFileForkRefNum = -1;
    if (close(fd) != 0)
        return fail(errno, "close");
    if (const int error = ReplaceWithFile(temporary, check.path); error != 0)
        return fail(error, "replace");
    gResultsFileRef = path;
    return {};
}

std::string ReportSaveFailureText(const ReportSaveResult& result)
{
    if (!result.refusal.empty())
        return "Error: Unable to save test results file: " + result.refusal + ".";
    return "Error: Unable to save test results file (" + result.failedStep + "): " +
           std::strerror(result.errorNumber) + ".";
}
