#include "cli/ResultsOutput.h"

#include "engine/QueuedTransfers.h"
#include "engine/TestModel.h"
#include "engine/ZoneTests.h"
#include "format/CountText.h"
#include "format/Utf8Text.h"

#include <cstdio>

std::string JsonQuoted(const std::string& text)
{
    std::string out = "\"";
    for (const unsigned char c : ValidUtf8(text)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

namespace {
std::string Number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string Speed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%9.2f", value);
    return text;
}

int MeasuredZoneCount()
{
    int zones = 0;
    while (zones < gZoneTestCountS32 && zones < kMaxZoneCount && ZoneIsMeasured(zones))
        ++zones;
    return zones;
}

std::string ZoneRecordJson(const ZoneResultsRec& r)
{
    std::string out = "{\"min\": " + Number(r.minSpeedDbl) + ", \"avg\": " + Number(r.aveSpeedDbl) +
                      ", \"max\": " + Number(r.maxSpeedDbl) + ", \"cycles\": [";
    for (int c = 0; c < gTestCyclesS32 && c < kMaxCycleCount; ++c)
        out += (c ? ", " : "") + Number(r.cycleSpeedDbl[c]);
    return out + "]}";
}
}  // namespace

void PrintResultsTable(std::ostream& out, const RunDescription& run)
{
    char line[512];
    const double gib = static_cast<double>(run.sizeBytes) / (1024.0 * 1024.0 * 1024.0);
    if (run.randomTest) {
        std::snprintf(line, sizeof line,
                      "%s (%.2f GiB): random test, %d transfers of %u bytes, queue depth %u%s\n",
                      run.target.c_str(), gib, kRandomTransferCount, kRandomTransferBytes,
                      gSavedRandomQueueDepthU32, run.writes ? ", reads and writes" : ", reads only");
        out << line;
        if (const std::string note = QueueDepthLimitNote(); !note.empty())
            out << "Note: " << note << '\n';
        auto phase = [&](const char* name, double speed, const TransferLatency& latency) {
            const RandomSpeedTexts t = FormatRandomSpeed(speed);
            std::snprintf(line, sizeof line, "%-7s %s %s, %s transfers per second, %s per transfer", name,
                          t.value, t.unit, t.perSecond, t.perTransfer);
            out << line;
            if (gSavedRandomQueueDepthU32 > 1) {
                std::snprintf(line, sizeof line, ", latency %.1f \u00b5s mean, %.1f \u00b5s at the 99th percentile",
                              latency.meanMicroseconds, latency.p99Microseconds);
                out << line;
            }
            out << '\n';
        };
        phase("Reads:", gSavedRandomReadSpeedDbl, gSavedRandomReadLatency);
        if (run.writes)
            phase("Writes:", gSavedRandomWriteSpeedDbl, gSavedRandomWriteLatency);
        return;
    }
    std::snprintf(line, sizeof line, "%s (%.2f GiB): standard test, %s, %s, %u MB transfers%s\n",
                  run.target.c_str(), gib, CountText(gZoneTestCountS32, "zone").c_str(),
                  CountText(gTestCyclesS32, "cycle").c_str(), gXFerMBytes,
                  run.writes ? ", reads and writes" : ", reads only");
    out << line;
    std::snprintf(line, sizeof line, "%4s %14s %14s %9s %9s %9s", "Zone", "First sector",
                  "Last sector", "Read min", "avg", "max");
    out << line;
    if (run.writes) {
        std::snprintf(line, sizeof line, " %9s %9s %9s", "Write min", "avg", "max");
        out << line;
    }
    out << "   (MB/s)\n";
    const int zones = MeasuredZoneCount();
    for (int z = 0; z < zones; ++z) {
        const ZoneResultsRec& r = gSavedREADResultsInfo[z];
        std::snprintf(line, sizeof line, "%4d %14llu %14llu", z + 1,
                      static_cast<unsigned long long>(r.firstSectorU64),
                      static_cast<unsigned long long>(r.lastSectorU64));
        out << line << Speed(r.minSpeedDbl) << ' ' << Speed(r.aveSpeedDbl) << ' ' << Speed(r.maxSpeedDbl);
        if (run.writes) {
            const ZoneResultsRec& w = gSavedWRITEResultsInfo[z];
            out << ' ' << Speed(w.minSpeedDbl) << ' ' << Speed(w.aveSpeedDbl) << ' ' << Speed(w.maxSpeedDbl);
        }
        out << '\n';
    }
}

void PrintResultsJson(std::ostream& out, const RunDescription& run)
{
    out << "{\"target\": " << JsonQuoted(run.target)
        << ", \"test\": " << (run.randomTest ? "\"random\"" : "\"standard\"") << ", \"zones\": [";
    if (!run.randomTest) {
        const int zones = MeasuredZoneCount();
        for (int z = 0; z < zones; ++z) {
            const ZoneResultsRec& r = gSavedREADResultsInfo[z];
            out << (z ? ", " : "") << "{\"first_sector\": " << r.firstSectorU64
                << ", \"last_sector\": " << r.lastSectorU64 << ", \"read\": " << ZoneRecordJson(r)
                << ", \"write\": " << (run.writes ? ZoneRecordJson(gSavedWRITEResultsInfo[z]) : "null")
                << "}";
        }
    }
    out << "], \"random\": ";
    if (run.randomTest) {
        // Per-transfer latency is measured above queue depth 1 only; one at a time it is
        // the time between completions.
        const auto latency = [](bool measured, double microseconds) {
            return measured && gSavedRandomQueueDepthU32 > 1 ? Number(microseconds) : std::string("null");
        };
        const std::string note = QueueDepthLimitNote();
        out << "{\"read_mbps\": " << Number(gSavedRandomReadSpeedDbl)
            << ", \"write_mbps\": " << (run.writes ? Number(gSavedRandomWriteSpeedDbl) : "null")
            << ", \"read_per_sec\": " << RandomTransfersPerSecond(gSavedRandomReadSpeedDbl)
            << ", \"write_per_sec\": "
            << (run.writes ? std::to_string(RandomTransfersPerSecond(gSavedRandomWriteSpeedDbl)) : "null")
            << ", \"queue_depth\": " << gSavedRandomQueueDepthU32
            << ", \"asked_queue_depth\": " << gSavedRandomAskedQueueDepthU32
            << ", \"queue_depth_note\": " << (note.empty() ? "null" : JsonQuoted(note))
            << ", \"read_us_between_completions\": "
            << Number(RandomMicrosecondsPerTransfer(gSavedRandomReadSpeedDbl))
            << ", \"write_us_between_completions\": "
            << (run.writes ? Number(RandomMicrosecondsPerTransfer(gSavedRandomWriteSpeedDbl)) : "null")
            << ", \"read_latency_mean_us\": " << latency(true, gSavedRandomReadLatency.meanMicroseconds)
            << ", \"read_latency_p99_us\": " << latency(true, gSavedRandomReadLatency.p99Microseconds)
            << ", \"write_latency_mean_us\": " << latency(run.writes, gSavedRandomWriteLatency.meanMicroseconds)
            << ", \"write_latency_p99_us\": " << latency(run.writes, gSavedRandomWriteLatency.p99Microseconds)
            << "}";
    } else {
        out << "null";
    }
    if (!run.extraJsonMembers.empty())
        out << ", " << run.extraJsonMembers;
    out << "}\n";
}
