#include "reports/ReportText.h"

#include "format/ByteText.h"
#include "reports/MacRomanText.h"
#include "reports/ReportLines.h"
#include "reports/SurfaceReport.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cstdio>

namespace {
using report_lines::GroupedDigits;
using report_lines::Line;

std::string SpeedLine(double megabytesPerSecond)
{
    if (megabytesPerSecond > 1.0)
        return Line("%.3f Megabytes per Second\r", megabytesPerSecond);
    return Line("%.0f Kilobytes per Second\r", megabytesPerSecond * 1024.0);
}

int32_t ClampedCount(int32_t count, int32_t limit)
{
    return count < 0 ? 0 : (count > limit ? limit : count);
}

// The zone's number and sector lines, the same in both formats.
std::string ZoneHead(int32_t zone, const ZoneResult& result)
{
    return Line("\r\rMeasurement Zone:\t%d\r", zone + 1) +
           Line("First Measured Sector:\t%s\r", GroupedDigits(result.firstSector).c_str()) +
           Line("Last Measured Sector:\t%s\r\r", GroupedDigits(result.lastSector).c_str());
}

std::string TextZoneSpeeds(int32_t, const ZoneResult& result, int32_t cycles, bool writes)
{
    const ZoneSpeeds& read = result.read;
    const ZoneSpeeds& write = result.write;
    const std::string heads(20, ' ');
    std::string block;
    if (writes) {
        block += heads + "Read Speeds" + std::string(12, ' ') + "Write Speeds\r";
        block += Line("Maximum: %16.3f MB/sec %16.3f MB/sec\r", read.maximum, write.maximum);
        block += Line("Average: %16.3f MB/sec %16.3f MB/sec\r", read.average, write.average);
        block += Line("Minimum: %16.3f MB/sec %16.3f MB/sec\r\r", read.minimum, write.minimum);
        for (int32_t c = 0; c < cycles; ++c)
            block += Line("Cycle %d: %16.3f MB/sec %16.3f MB/sec\r", c + 1, read.cycles[c],
                          write.cycles[c]);
    } else {
        block += heads + "Read Speeds\r";
        block += Line("Maximum: %16.3f MB/sec\r", read.maximum);
        block += Line("Average: %16.3f MB/sec\r", read.average);
        block += Line("Minimum: %16.3f MB/sec\r\r", read.minimum);
        for (int32_t c = 0; c < cycles; ++c)
            block += Line("Cycle %d: %16.3f MB/sec\r", c + 1, read.cycles[c]);
    }
    return block;
}

std::string SpreadsheetZoneSpeeds(int32_t zone, const ZoneResult& result, int32_t cycles, bool writes)
{
    const ZoneSpeeds& read = result.read;
    const ZoneSpeeds& write = result.write;
    const int32_t number = zone + 1;
    std::string block;
    if (writes) {
        block += Line("<Insert Summary Chart Here>\tZone %d Reads\tZone %d Writes\r", number, number);
        block += Line("Max\t%.3f\t%.3f\r", read.maximum, write.maximum);
        block += Line("Ave\t%.3f\t%.3f\r", read.average, write.average);
        block += Line("Min\t%.3f\t%.3f\r", read.minimum, write.minimum);
        block += Line("\r<Insert Cycle Chart Here>\tZone %d Reads\tZone %d Writes\r", number, number);
        for (int32_t c = 0; c < cycles; ++c)
            block += Line("Cycle %d\t%.3f\t%.3f\r", c + 1, read.cycles[c], write.cycles[c]);
    } else {
        block += Line("<Insert Summary Chart Here>\tZone %d Reads\r", number);
        block += Line("Max\t%.3f\r", read.maximum);
        block += Line("Ave\t%.3f\r", read.average);
        block += Line("Min\t%.3f\r", read.minimum);
        block += Line("\r<Insert Cycle Chart Here>\tZone %d Reads\r", number);
        for (int32_t c = 0; c < cycles; ++c)
            block += Line("Cycle %d\t%.3f\r", c + 1, read.cycles[c]);
    }
    return block;
}

// The locale's long time format (with seconds) without the time zone.
QString TimeWithoutZone(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            kept += c;
    }
    return kept.trimmed();
}

bool FitsMacRoman(const std::string& utf8)
{
    const std::string roman = Utf8ToMacRoman(utf8);
    return std::count(utf8.begin(), utf8.end(), '?') == std::count(roman.begin(), roman.end(), '?');
}

template <typename Speeds>
std::string ZoneBody(const Run& run, Speeds speeds)
{
    if (!run.ZoneMeasured(0))
        return {};
    // A run holds at most kMaxZoneCount zones of kMaxCycleCount cycles.
    const int32_t zones = std::min(ClampedCount(run.settings.zones, kMaxZoneCount), static_cast<int32_t>(run.zones.size()));
    const int32_t cycles = ClampedCount(run.settings.cycles, kMaxCycleCount);
    std::string body;
    for (int32_t zone = 0; zone < zones; ++zone) {
        const ZoneResult& result = run.zones[static_cast<size_t>(zone)];
        body += ZoneHead(zone, result) + speeds(zone, result, cycles, run.settings.writes);
    }
    return body;
}
}  // namespace

ReportDate ReportDateFor(std::time_t when)
{
    return ReportDateFor(when, QLocale::system());
}

ReportDate ReportDateFor(std::time_t when, const QLocale& locale)
{
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(when));
    // Locale data may space with no-break spaces, which the report's set lacks.
    const auto plain = [](QString text) {
        return text.replace(QChar(0x202F), QLatin1Char(' ')).replace(QChar(0x00A0), QLatin1Char(' ')).toStdString();
    };
    const auto written = [&moment, &plain](const QLocale& in) {
        return ReportDate{plain(in.toString(moment.date(), QLocale::LongFormat)),
                          plain(in.toString(moment.time(), TimeWithoutZone(in)))};
    };
    // The C locale (no locale set) and texts the report's set cannot hold are written in English.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    ReportDate date = written(locale.language() == QLocale::C ? english : locale);
    if (!FitsMacRoman(date.longDate) || !FitsMacRoman(date.timeOfDay))
        date = written(english);
    return date;
}

std::string ReportHeader(const Run& run, const ReportDate& date)
{
    const RunTarget& subject = run.target;
    std::string header = "Kestrelia\u2122 2.0 Test Results\r";
    header += "Speeds in megabytes of 1,048,576 bytes per second, timed on the raw device.\r";
    header += "Test Date: " + date.longDate + " (" + date.timeOfDay + ")\r";
    if (subject.isVolume) {
        header += "Test Volume Name: " + subject.name + "\r";
        header += "Test Volume Size: " + subject.sizeLabel + "\r";
    } else {
        header += "Test Drive Name: " + subject.name + "\r";
        header += "Test Drive Size: " + subject.sizeLabel + "\r";
    }
    if (!FitsMacRoman(subject.name))
        header += "Note: Some characters of the name could not be written in Mac OS Roman "
                  "and appear as \"?\".\r";
    // Results measured one transfer at a time read as they always have.
    const RandomResult& random = run.random;
    const std::string depthLine = random.queueDepth > 1
        ? Line("Queue Depth: %lu\r", static_cast<unsigned long>(random.queueDepth))
        : std::string();
    if (random.readSpeed != 0.0)
        header += "\rRandom Read Results:\t" + SpeedLine(random.readSpeed) + depthLine;
    if (random.writeSpeed != 0.0)
        header += "Random Write Results:\t" + SpeedLine(random.writeSpeed) + depthLine;
    if (run.ZoneMeasured(0)) {
        header += "\rZone Test Results:\r";
        const long megabytes = static_cast<long>(run.settings.transferMegabytes);
        header += megabytes > 1 ? Line("Transfer Size: %ld MBytes\r", megabytes)
                                : Line("Transfer Size: %ld MByte\r", megabytes);
        header += Line("Zone Count: %ld\r", static_cast<long>(run.settings.zones));
        header += Line("Cycle Count: %ld\r", static_cast<long>(run.settings.cycles));
    }
    return header;
}

std::string TextReportBody(const Run& run)
{
    if (run.settings.kind == TestKind::Surface)
        return SurfaceTextReportBody(run);
    return ZoneBody(run, TextZoneSpeeds);
}

std::string SpreadsheetReportBody(const Run& run)
{
    if (run.settings.kind == TestKind::Surface)
        return SurfaceSpreadsheetReportBody(run);
    return ZoneBody(run, SpreadsheetZoneSpeeds);
}

std::string AssembleReport(const Run& run, int32_t format, const ReportDate& date)
{
    std::string report = ReportHeader(run, date);
    if (format == kTextReportFormat)
        report += TextReportBody(run);
    else if (format == kSpreadsheetReportFormat)
        report += SpreadsheetReportBody(run);
    return Utf8ToMacRoman(report);
}
