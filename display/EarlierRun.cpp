#include "display/EarlierRun.h"

#include "display/GraphRenderer.h"

#include <algorithm>
#include <cstdio>

EarlierRun gEarlierRun;

namespace {
bool StandardComparison()
{
    return gEarlierRun.active && gEarlierRun.run.settings.kind == TestKind::Standard;
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
    return GraphScaleTop(gEarlierRun.run.maxSpeed);
}

std::string EarlierRunHelpText(int zoneIndex, bool isRead, double averageNow)
{
    const Run& earlier = gEarlierRun.run;
    if (!StandardComparison() || !earlier.ZoneMeasured(zoneIndex) || (!isRead && !earlier.settings.writes))
        return {};
    const ZoneResult& zone = earlier.zones[static_cast<size_t>(zoneIndex)];
    const ZoneSpeeds& speeds = isRead ? zone.read : zone.write;
    char text[160];
    std::snprintf(text, sizeof text, "\rEarlier Average: %.2f MB/sec%s\rEarlier Range: %.2f - %.2f MB/sec",
                  speeds.average, ChangeText(speeds.average, averageNow).c_str(), speeds.minimum, speeds.maximum);
    return text;
}

std::string EarlierRandomText(const RandomResult& now)
{
    const RandomResult& earlier = gEarlierRun.run.random;
    if (!gEarlierRun.active || gEarlierRun.run.settings.kind != TestKind::Random)
        return {};
    std::string text = "Earlier run (" + gEarlierRun.label + "):";
    char part[96];
    std::snprintf(part, sizeof part, "  Read %.3f MB/sec%s", earlier.readSpeed,
                  ChangeText(earlier.readSpeed, now.readSpeed).c_str());
    text += part;
    if (earlier.writeSpeed > 0.0) {
        std::snprintf(part, sizeof part, "  Write %.3f MB/sec%s", earlier.writeSpeed,
                      ChangeText(earlier.writeSpeed, now.writeSpeed).c_str());
        text += part;
    }
    if (now.readSpeed > 0.0 && earlier.queueDepth != now.queueDepth)
        text += "  Note: queue depth " + std::to_string(earlier.queueDepth) + " then, " +
                std::to_string(now.queueDepth) + " now.";
    return text;
}
