#include "reports/ResultsReport.h"

#include "devices/DriveRecords.h"
#include "engine/TestModel.h"
#include "format/ByteText.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

int32_t gSavedRestulsFileFormatS32 = kTextReportFormat;

namespace {

// The cycles of each zone, at most as many as a record holds.
int ReportedCycleCount()
{
    return std::clamp(gTestCyclesS32, 0, kMaxCycleCount);
}

// The measured zones, at most as many as the records hold.
int ReportedZoneCount()
{
    if (!ZoneIsMeasured(0))
        return 0;
    return std::clamp(gZoneTestCountS32, 0, kMaxZoneCount);
}

// One formatted line appended to the report (lines stay far below 1 KiB).
[[gnu::format(printf, 2, 3)]] void AppendLine(std::string& report, const char* format, ...)
{
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length > 0)
        report.append(line, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof line - 1));
}

void AppendSpeedLine(std::string& report, double speed)
{
    if (speed > 1.0)
        AppendLine(report, "%.3f Megabytes per Second\r", speed);
    else
        AppendLine(report, "%.0f Kilobytes per Second\r", speed * 1024.0);
}

std::string PascalText(const unsigned char* pascal)
{
    return std::string(reinterpret_cast<const char*>(pascal + 1), pascal[0]);
}

std::string SectorText(uint64_t sector)
{
    char text[256];
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(sector));
    AddCommasToCStringNumber(text);
    return text;
}

void AppendTestedDevice(std::string& report)
{
    // Without a chosen record the lines name nothing rather than fail.
    if (gDVLastTabIndex == 2) {
        const std::string name = gActiveVolume ? PascalText(gActiveVolume->volNamePStr) : "";
        AppendLine(report, "Test Volume Name: %s\r", name.c_str());
        AppendLine(report, "Test Volume Size: %s\r", gActiveVolume ? gActiveVolume->totalSizeLabelCStr : "");
    } else {
        const std::string name = gActiveDrive ? PascalText(gActiveDrive->driveNamePStr) : "";
        AppendLine(report, "Test Drive Name: %s\r", name.c_str());
        AppendLine(report, "Test Drive Size: %s\r", gActiveDrive ? gActiveDrive->sizeLabelCStr : "");
    }
}

void AppendZonePosition(std::string& report, int zone)
{
    AppendLine(report, "\r\rMeasurement Zone:\t%d\r", zone + 1);
    AppendLine(report, "First Measured Sector:\t%s\r", SectorText(gSavedREADResultsInfo[zone].firstSectorU64).c_str());
    AppendLine(report, "Last Measured Sector:\t%s\r\r", SectorText(gSavedREADResultsInfo[zone].lastSectorU64).c_str());
}

void AppendTextSpeeds(std::string& report, const ZoneResultsRec& read, const ZoneResultsRec& write)
{
    const bool writes = gWriteTestEnabled;
    AppendLine(report, "%20sRead Speeds%s\r", "", writes ? "            Write Speeds" : "");
    struct Row {
        const char* label;
        double read;
        double write;
        const char* end;
    };
    const Row rows[] = {
        {"Maximum", read.maxSpeedDbl, write.maxSpeedDbl, "\r"},
        {"Average", read.aveSpeedDbl, write.aveSpeedDbl, "\r"},
        {"Minimum", read.minSpeedDbl, write.minSpeedDbl, "\r\r"},
    };
    for (const Row& row : rows) {
        if (writes)
            AppendLine(report, "%s: %16.3f MB/sec %16.3f MB/sec%s", row.label, row.read, row.write, row.end);
        else
            AppendLine(report, "%s: %16.3f MB/sec%s", row.label, row.read, row.end);
    }
    for (int cycle = 0; cycle < ReportedCycleCount(); ++cycle) {
        if (writes)
            AppendLine(report, "Cycle %d: %16.3f MB/sec %16.3f MB/sec\r", cycle + 1, read.cycleSpeedDbl[cycle],
                       write.cycleSpeedDbl[cycle]);
        else
            AppendLine(report, "Cycle %d: %16.3f MB/sec\r", cycle + 1, read.cycleSpeedDbl[cycle]);
    }
}

void AppendSpreadsheetHead(std::string& report, const char* marker, int zone)
{
    if (gWriteTestEnabled)
        AppendLine(report, "%s\tZone %d Reads\tZone %d Writes\r", marker, zone + 1, zone + 1);
    else
        AppendLine(report, "%s\tZone %d Reads\r", marker, zone + 1);
}

void AppendSpreadsheetRow(std::string& report, const std::string& label, double read, double write)
{
    if (gWriteTestEnabled)
        AppendLine(report, "%s\t%.3f\t%.3f\r", label.c_str(), read, write);
    else
        AppendLine(report, "%s\t%.3f\r", label.c_str(), read);
}

void AppendSpreadsheetSpeeds(std::string& report, int zone, const ZoneResultsRec& read,
                             const ZoneResultsRec& write)
{
    AppendSpreadsheetHead(report, "<Insert Summary Chart Here>", zone);
    AppendSpreadsheetRow(report, "Max", read.maxSpeedDbl, write.maxSpeedDbl);
    AppendSpreadsheetRow(report, "Ave", read.aveSpeedDbl, write.aveSpeedDbl);
    AppendSpreadsheetRow(report, "Min", read.minSpeedDbl, write.minSpeedDbl);
    AppendSpreadsheetHead(report, "\r<Insert Cycle Chart Here>", zone);
    for (int cycle = 0; cycle < ReportedCycleCount(); ++cycle)
        AppendSpreadsheetRow(report, "Cycle " + std::to_string(cycle + 1), read.cycleSpeedDbl[cycle],
                             write.cycleSpeedDbl[cycle]);
}

}  // namespace

ReportDateTime ReportDateTimeOf(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char date[256] = "";
    char time[256] = "";
    std::strftime(date, sizeof date, "%A, %B %-d, %Y", &local);
    std::strftime(time, sizeof time, "%X", &local);
    return {date, time};
}

void DoCommonSaveResults(std::string& report, const ReportDateTime& when)
{
    report.clear();
    report.append("Kestrelia\u2122 2.0 Test Results\r");
    report.append("Disk speed measurements by Kestrelia for Linux\r");
    AppendLine(report, "Test Date: %s (%s)\r", when.date.c_str(), when.time.c_str());
    AppendTestedDevice(report);
    if (gSavedRandomReadSpeedDbl != 0.0) {
        report.append("\rRandom Read Results:\t");
        AppendSpeedLine(report, gSavedRandomReadSpeedDbl);
    }
    if (gSavedRandomWriteSpeedDbl != 0.0) {
        report.append("Random Write Results:\t");
        AppendSpeedLine(report, gSavedRandomWriteSpeedDbl);
    }
    if (ZoneIsMeasured(0)) {
        report.append("\rZone Test Results:\r");
        AppendLine(report, gXFerMBytes > 1 ? "Transfer Size: %ld MBytes\r" : "Transfer Size: %ld MByte\r",
                   static_cast<long>(gXFerMBytes));
        AppendLine(report, "Zone Count: %ld\r", static_cast<long>(gZoneTestCountS32));
        AppendLine(report, "Cycle Count: %ld\r", static_cast<long>(gTestCyclesS32));
    }
}

void SaveTestResultsTEXT(std::string& report)
{
    for (int zone = 0; zone < ReportedZoneCount(); ++zone) {
        AppendZonePosition(report, zone);
        AppendTextSpeeds(report, gSavedREADResultsInfo[zone], gSavedWRITEResultsInfo[zone]);
    }
}

void SaveTestResultsXCEL(std::string& report)
{
    for (int zone = 0; zone < ReportedZoneCount(); ++zone) {
        AppendZonePosition(report, zone);
        AppendSpreadsheetSpeeds(report, zone, gSavedREADResultsInfo[zone], gSavedWRITEResultsInfo[zone]);
    }
}

std::string AssembleResultsReport(int32_t format, const ReportDateTime& when)
{
    std::string report;
    DoCommonSaveResults(report, when);
    if (format == kTextReportFormat)
        SaveTestResultsTEXT(report);
    else if (format == kSpreadsheetReportFormat)
        SaveTestResultsXCEL(report);
    return report;
}
