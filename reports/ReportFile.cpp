#include "reports/ReportFile.h"

#include "reports/MacRomanText.h"
#include "reports/ResultsReport.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int32_t ReportFormatForFileName(const std::string& path)
{
    const std::string suffix = ".xls";
    const bool spreadsheet =
        path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
    return spreadsheet ? kSpreadsheetReportFormat : kTextReportFormat;
}

int WriteResultsReportFile(const std::string& path, int32_t format)
{
    std::string bytes;
    if (!ConvertUtf8ToMacRoman(AssembleResultsReport(format, ReportDateTimeOf(std::time(nullptr))), &bytes))
        return -ENOTSUP;
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return -errno;
    // Reports are ordinary documents: readable by others, like files the user makes.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    int status = ::fchmod(fd, 0666 & ~mask) == 0 ? 0 : -errno;
    std::size_t written = 0;
    while (status == 0 && written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno != EINTR)
            status = -errno;
        else if (count > 0)
            written += static_cast<std::size_t>(count);
    }
    if (status == 0 && ::fsync(fd) != 0)
        status = -errno;
    if (::close(fd) != 0 && status == 0)
        status = -errno;
    if (status == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        status = -errno;
    if (status != 0)
        ::unlink(temporary.c_str());
    return status;
}
