#include "reports/SurfaceReport.h"

#include "engine/SurfaceTexts.h"
#include "format/ByteText.h"
#include "reports/ReportLines.h"

#include <cinttypes>
#include <cstdio>

namespace {
using report_lines::GroupedDigits;
using report_lines::Line;

std::string GigabytesOfSectors(uint64_t sectors)
{
    char text[64];
    FormatGigabytes(static_cast<int64_t>(sectors * 512), text);
    return std::string(text) + " GB";
}

bool HasWrites(const Run& run)
{
    return run.settings.writes;
}

std::string SpeedRows(const Run& run)
{
    const SurfaceSpeedFigures& read = run.surface.read;
    const SurfaceSpeedFigures& write = run.surface.write;
    std::string block;
    if (HasWrites(run)) {
        block += std::string(20, ' ') + "Read Speeds" + std::string(12, ' ') + "Write Speeds\r";
        block += Line("Average: %16.3f MB/sec %16.3f MB/sec\r", read.average, write.average);
        block += Line("Minimum: %16.3f MB/sec %16.3f MB/sec\r", read.minimum, write.minimum);
        block += Line("1%% Low:  %16.3f MB/sec %16.3f MB/sec\r", read.onePercentLow, write.onePercentLow);
        block += Line("Time:    %16.1f sec    %16.1f sec\r", read.seconds, write.seconds);
    } else {
        block += std::string(20, ' ') + "Read Speeds\r";
        block += Line("Average: %16.3f MB/sec\r", read.average);
        block += Line("Minimum: %16.3f MB/sec\r", read.minimum);
        block += Line("1%% Low:  %16.3f MB/sec\r", read.onePercentLow);
        block += Line("Time:    %16.1f sec\r", read.seconds);
    }
    return block;
}

std::string SpanText(const Run& run)
{
    if (run.settings.surfaceSpanBytes == 0)
        return "whole " + std::string(run.target.isVolume ? "volume" : "drive") + ", " +
               GigabytesOfSectors(run.surface.spanSectors);
    return "first " + GigabytesOfSectors(run.surface.spanSectors);
}

}  // namespace

std::string SurfaceCoveredText(const Run& run)
{
    const SurfaceResult& surface = run.surface;
    if (surface.coveredSectors >= surface.spanSectors && !surface.timeLimitReached)
        return {};
    const char* why = surface.timeLimitReached ? "time limit reached"
                      : run.end == RunEnd::Stopped ? "stopped"
                      : run.end == RunEnd::Failed  ? "failed"
                                                   : "under way";
    return GigabytesOfSectors(surface.coveredSectors) + " of " + GigabytesOfSectors(surface.spanSectors) +
           " covered (" + why + ")";
}

std::string SurfaceTextReportBody(const Run& run)
{
    if (!run.HasResults() || run.settings.kind != TestKind::Surface)
        return {};
    const SurfaceResult& surface = run.surface;
    std::string body = "\r\rSurface Test Results:\r";
    const long megabytes = static_cast<long>(run.settings.transferMegabytes);
    body += megabytes > 1 ? Line("Transfer Size: %ld MBytes\r", megabytes) : Line("Transfer Size: %ld MByte\r", megabytes);
    body += "Span: " + SpanText(run) + "\r";
    if (run.settings.surfaceMinutes != 0)
        body += Line("Time Limit: %lu minutes\r", static_cast<unsigned long>(run.settings.surfaceMinutes));
    if (const std::string covered = SurfaceCoveredText(run); !covered.empty())
        body += "Covered: " + covered + "\r";
    body += "\r" + SpeedRows(run);
    if (HasWrites(run))
        body += "\r" + WriteFalloffText(surface.writeFalloff) + ".\r";
    body += Line("\rSlow Blocks (over 10 times the median time): %zu\r", surface.slowBlocks.size());
    for (const SurfaceSlowBlock& block : surface.slowBlocks)
        body += Line("Sector %s (%s): %.1f ms\r", GroupedDigits(block.firstSector).c_str(), block.write ? "write" : "read",
                     block.milliseconds);
    body += "Unreadable Sectors: " + GroupedDigits(surface.UnreadableSectors()) + "\r";
    for (const SurfaceUnreadableRange& range : surface.unreadable)
        body += "Sectors " + GroupedDigits(range.firstSector) + " - " + GroupedDigits(range.firstSector + range.sectors - 1) +
                UnreadableBlocksText(range, run.target.logicalBlockBytes) + ": " + range.errorText + "\r";
    if (!surface.temperatures.empty()) {
        body += Line("\rMaximum Temperature: %.0f \u00b0C\r", surface.maximumCelsius);
        if (surface.possibleThrottling)
            body += "Possible thermal throttling: the speed dropped while the temperature was at its highest.\r";
    }
    return body;
}

std::string SurfaceSpreadsheetReportBody(const Run& run)
{
    if (!run.HasResults() || run.settings.kind != TestKind::Surface)
        return {};
    const SurfaceResult& surface = run.surface;
    const bool writes = HasWrites(run);
    const auto row = [writes](const char* name, const char* format, double read, double write) {
        std::string text = std::string(name) + "\t" + Line(format, read);
        return writes ? text + "\t" + Line(format, write) + "\r" : text + "\r";
    };
    std::string body = writes ? "\r\rSurface Test\tReads\tWrites\r" : "\r\rSurface Test\tReads\r";
    body += row("Average", "%.3f", surface.read.average, surface.write.average);
    body += row("Minimum", "%.3f", surface.read.minimum, surface.write.minimum);
    body += row("1% Low", "%.3f", surface.read.onePercentLow, surface.write.onePercentLow);
    body += row("Seconds", "%.1f", surface.read.seconds, surface.write.seconds);
    body += Line("Span Sectors\t%" PRIu64 "\rCovered Sectors\t%" PRIu64 "\r", surface.spanSectors,
                 surface.coveredSectors);
    if (const std::string covered = SurfaceCoveredText(run); !covered.empty())
        body += "Covered\t" + covered + "\r";
    if (writes)
        body += "Write Fall-off\t" + WriteFalloffText(surface.writeFalloff) + "\r";
    if (!surface.temperatures.empty())
        body += Line("Maximum Temperature\t%.0f\rPossible Throttling\t%s\r", surface.maximumCelsius,
                     surface.possibleThrottling ? "yes" : "no");
    body += "\rSlow Block Sector\tSectors\tMilliseconds\tDirection\r";
    for (const SurfaceSlowBlock& block : surface.slowBlocks)
        body += Line("%" PRIu64 "\t%" PRIu64 "\t%.1f\t%s\r", block.firstSector, block.sectors, block.milliseconds,
                     block.write ? "write" : "read");
    body += "\rUnreadable First Sector\tLast Sector\tError\r";
    for (const SurfaceUnreadableRange& range : surface.unreadable)
        body += Line("%" PRIu64 "\t%" PRIu64 "\t", range.firstSector, range.firstSector + range.sectors - 1) +
                range.errorText + "\r";
    body += writes ? "\r<Insert Surface Chart Here>\tFirst Sector\tReads\tWrites\r"
                   : "\r<Insert Surface Chart Here>\tFirst Sector\tReads\r";
    for (const SurfaceSample& sample : surface.samples) {
        body += writes ? Line("\t%" PRIu64 "\t%.3f\t%.3f\r", sample.firstSector, sample.readAverage, sample.writeAverage)
                       : Line("\t%" PRIu64 "\t%.3f\r", sample.firstSector, sample.readAverage);
    }
    return body;
}
