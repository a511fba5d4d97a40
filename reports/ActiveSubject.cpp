#include "reports/ActiveSubject.h"

#include "devices/DriveRecords.h"
#include "reports/ReportFile.h"
#include "reports/RunDocument.h"

namespace {
ReportSubject gOpenedSubject;
uint64_t gOpenedFingerprint = 0;
bool gOpened = false;
}  // namespace

void SetOpenedResultsSubject(const ReportSubject& subject, uint64_t fingerprint)
{
    gOpenedSubject = subject;
    gOpenedFingerprint = fingerprint;
    gOpened = true;
}

ReportSubject ActiveReportSubject()
{
    if (gOpened && gOpenedFingerprint == CurrentResultsFingerprint())
        return gOpenedSubject;
    ReportSubject subject;
    subject.isVolume = gDVLastTabIndex == 2;
    const VolumeRecord* volume = subject.isVolume ? ChosenVolume() : nullptr;
    const DriveRecord* drive = subject.isVolume ? nullptr : ChosenDrive();
    if (volume != nullptr) {
        subject.name = volume->name;
        subject.sizeLabel = volume->totalSizeLabel;
    } else if (drive != nullptr) {
        subject.name = drive->name;
        subject.sizeLabel = drive->sizeLabel;
    }
    return subject;
}

int32_t ReportFormatForFileName(const std::string& path)
{
    const std::string suffix = ".xls";
    const bool spreadsheet =
        path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
    return spreadsheet ? kSpreadsheetReportFormat : kTextReportFormat;
}

int WriteResultsReportFile(const std::string& path, int32_t format)
{
    const ReportSaveResult result = SaveReportFile(path, ActiveReportSubject(), format);
    return result.ok() ? 0 : -result.errorNumber;
}
