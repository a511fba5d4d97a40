#include "engine/SurfaceTexts.h"

#include "format/ByteText.h"

#include <cmath>
#include <cstdio>

namespace {
std::string WholeGrouped(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", std::round(value));
    InsertThousandsSeparators(text);
    return text;
}

std::string Gigabytes(uint64_t sectors)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(sectors) * 512.0 / 1073741824.0);
    return text;
}
}  // namespace

std::string WriteFalloffText(const SurfaceWriteFalloff& falloff)
{
    if (!falloff.found)
        return "Writes held their speed: no fall-off found";
    return "Writes fell from " + WholeGrouped(falloff.beforeSpeed) + " MB/s to " + WholeGrouped(falloff.afterSpeed) +
           " MB/s after " + Gigabytes(falloff.atSector) + " GB";
}

std::string ThrottlingText(const SurfaceResult& surface)
{
    if (!surface.possibleThrottling)
        return {};
    char text[160];
    std::snprintf(text, sizeof text,
                  "Possible throttling: the speed dropped while the drive was at its hottest (%.0f \u00b0C)",
                  surface.maximumCelsius);
    return text;
}

std::string SurfaceCoverageText(const SurfaceResult& surface)
{
    const double percent = surface.spanSectors == 0 ? 0.0
        : std::floor(100.0 * static_cast<double>(surface.coveredSectors) / static_cast<double>(surface.spanSectors));
    char text[64];
    std::snprintf(text, sizeof text, " covered (%.0f %%)", percent);
    return Gigabytes(surface.coveredSectors) + " of " + Gigabytes(surface.spanSectors) + " GB" + text +
           (surface.timeLimitReached ? ", the time limit reached" : "");
}

std::string UnreadableBlocksText(const SurfaceUnreadableRange& range, uint32_t logicalBlockBytes)
{
    const uint64_t blockSectors = logicalBlockBytes / 512;
    if (blockSectors <= 1)
        return {};
    const auto grouped = [](uint64_t number) { return WholeGrouped(static_cast<double>(number)); };
    return " (logical blocks " + grouped(range.firstSector / blockSectors) + " to " +
           grouped((range.firstSector + range.sectors) / blockSectors - 1) + " of " + grouped(logicalBlockBytes) + " bytes)";
}
