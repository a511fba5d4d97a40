#include "display/EarlierRun.h"

#include "display/GraphRenderer.h"

#include <algorithm>
#include <cstdio>

EarlierRun gEarlierRun;

namespace {
bool StandardComparison()
{
    return gEarlierRun.active && !gEarlierRun.random;
}

std::string ChangeText(double earlier, double now)
{
    if (!(earlier > 0.0) || !(now > 0.0))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, " (%+.1f%%)", (now - earlier) / earlier * 100.0);
    return text;
}
}  // namespace

uint32_t EarlierRunScaleTop()
{
    if (!StandardComparison())
        return 0;
    double highest = 0.0;
    for (const EarlierZone& zone : gEarlierRun.zones)
        highest = std::max({highest, zone.readMax, zone.hasWrite ? zone.writeMax : 0.0});
    return GraphScaleTop(highest);
}

std::string EarlierRunHelpText(int zoneIndex, bool isRead, double averageNow)
{
    if (!StandardComparison() || zoneIndex < 0 || zoneIndex >= static_cast<int>(gEarlierRun.zones.size()))
        return {};
    const EarlierZone& zone = gEarlierRun.zones[zoneIndex];
    if (!isRead && !zone.hasWrite)
        return {};
    const double avg = isRead ? zone.readAvg : zone.writeAvg;
    char text[160];
    std::snprintf(text, sizeof text, "\rEarlier Average: %.2f MB/sec%s\rEarlier Range: %.2f - %.2f MB/sec", avg,
                  ChangeText(avg, averageNow).c_str(), isRead ? zone.readMin : zone.writeMin,
                  isRead ? zone.readMax : zone.writeMax);
    return text;
}

std::string EarlierRandomText(double readNow, double writeNow)
{
    if (!gEarlierRun.active || !gEarlierRun.random)
        return {};
    std::string text = "Earlier run (" + gEarlierRun.label + "):";
    char part[96];
    std::snprintf(part, sizeof part, "  Read %.3f MB/sec%s", gEarlierRun.randomRead,
                  ChangeText(gEarlierRun.randomRead, readNow).c_str());
    text += part;
    if (gEarlierRun.randomWrite > 0.0) {
        std::snprintf(part, sizeof part, "  Write %.3f MB/sec%s", gEarlierRun.randomWrite,
                      ChangeText(gEarlierRun.randomWrite, writeNow).c_str());
        text += part;
    }
    if (readNow > 0.0 && gEarlierRun.queueDepth != gSavedRandomQueueDepthU32)
        text += "  Note: queue depth " + std::to_string(gEarlierRun.queueDepth) + " then, " +
                std::to_string(gSavedRandomQueueDepthU32) + " now.";
    return text;
}
