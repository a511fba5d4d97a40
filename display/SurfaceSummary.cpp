#include "display/SurfaceSummary.h"

#include "format/ByteText.h"
#include "format/Localization.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

QString Localized(const char* key)
{
    return QString::fromStdString(LocalizedText(key));
}

// "1,850": the fall-off's speeds, as the reports write them.
QString WholeSpeed(double megabytesPerSecond)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", megabytesPerSecond);
    InsertThousandsSeparators(text);
    return QString::fromLatin1(text);
}

QString Speed(double megabytesPerSecond)
{
    return QString::number(megabytesPerSecond, 'f', 1);
}

QString FiguresLine(const char* key, const SurfaceSpeedFigures& figures)
{
    return Localized(key).arg(Speed(figures.average), Speed(figures.minimum), Speed(figures.onePercentLow),
                              QString::number(figures.seconds, 'f', 1));
}

QString TimeLeft(double seconds)
{
    const long minutes = std::lround(seconds / 60.0);
    if (minutes >= 1)
        return Localized("%1 min").arg(minutes);
    return Localized("%1 sec").arg(std::max(1L, std::lround(seconds)));
}

uint64_t Covered(const Run& run)
{
    if (run.surface.samples.empty())
        return 0;
    const SurfaceSample& last = run.surface.samples.back();
    return std::max(run.surface.coveredSectors, last.firstSector + last.sectors);
}

}  // namespace

QString SectorsAsGigabytes(uint64_t sectors)
{
    char text[256];
    FormatGigabytes(static_cast<int64_t>(sectors * 512), text);
    return QString::fromLatin1(text);
}

QString SurfaceProgressText(const Run& run, double elapsedSeconds)
{
    const uint64_t covered = Covered(run);
    const uint64_t span = std::max(run.surface.spanSectors, covered);
    const float now = run.surface.samples.empty() ? 0.0f : run.surface.samples.back().readAverage;
    const QString where = SectorsAsGigabytes(covered), whole = SectorsAsGigabytes(span);
    if (covered == 0 || !(elapsedSeconds > 0.0))
        return Localized("Surface Test: %1 of %2 GB, %3 MB/sec now").arg(where, whole, Speed(now));
    double left = elapsedSeconds * static_cast<double>(span - covered) / static_cast<double>(covered);
    if (run.settings.surfaceMinutes != 0)
        left = std::min(left, std::max(0.0, run.settings.surfaceMinutes * 60.0 - elapsedSeconds));
    return Localized("Surface Test: %1 of %2 GB, %3 MB/sec now, %4 left").arg(where, whole, Speed(now), TimeLeft(left));
}


QString SurfaceSummaryText(const Run& run)
{
    if (run.settings.kind != TestKind::Surface || !run.HasResults())
        return {};
    const SurfaceResult& surface = run.surface;
    QStringList lines{FiguresLine("Reads: average %1, minimum %2, 1 % low %3 MB/sec in %4 sec", surface.read)};
    QStringList notes;
    if (run.settings.writes) {
        lines << FiguresLine("Writes: average %1, minimum %2, 1 % low %3 MB/sec in %4 sec", surface.write);
        const SurfaceWriteFalloff& falloff = surface.writeFalloff;
        notes << (falloff.found ? Localized("Writes fell from %1 MB/s to %2 MB/s after %3 GB")
                                      .arg(WholeSpeed(falloff.beforeSpeed), WholeSpeed(falloff.afterSpeed), SectorsAsGigabytes(falloff.atSector))
                                : Localized("Writes did not fall off."));
    }
    notes << Localized("Slow blocks: %1").arg(surface.slowBlocks.size())
          << Localized("Unreadable sectors: %1").arg(surface.UnreadableSectors());
    if (!surface.temperatures.empty())
        notes << Localized("Highest temperature: %1 \u00b0C").arg(std::lround(surface.maximumCelsius));
    if (surface.coveredSectors < surface.spanSectors || surface.timeLimitReached) {
        const char* key = surface.timeLimitReached      ? "Time limit reached after %1 of %2 GB"
                          : run.end == RunEnd::Failed   ? "Failed after %1 of %2 GB"
                          : run.end == RunEnd::NotEnded ? "%1 of %2 GB so far"
                                                        : "Stopped after %1 of %2 GB";
        notes << Localized(key).arg(SectorsAsGigabytes(surface.coveredSectors), SectorsAsGigabytes(surface.spanSectors));
    }
    lines << notes.join(QStringLiteral("   "));
    return lines.join(QLatin1Char('\n'));
}
