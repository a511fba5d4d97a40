#include "cli/ResultsOutput.h"

#include "cli/SurfaceResultsOutput.h"
#include "engine/QueuedTransfers.h"
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

std::string ZoneRecordJson(const ZoneSpeeds& r, int32_t cycles)
{
    std::string out = "{\"min\": " + Number(r.minimum) + ", \"avg\": " + Number(r.average) +
                      ", \"max\": " + Number(r.maximum) + ", \"cycles\": [";
    for (int c = 0; c < cycles && c < kMaxCycleCount; ++c)
        out += (c ? ", " : "") + Number(r.cycles[static_cast<size_t>(c)]);
    return out + "]}";
}

// The random test's writes count when they were measured: a random test
// whose writes failed still shows the reads it measured.
bool RandomWritesMeasured(const Run& run)
{
    return run.settings.writes && run.random.writeSpeed != 0.0;
}
}  // namespace

void PrintResultsTable(std::ostream& out, const Run& run)
{
    char line[512];
    const double gib = static_cast<double>(run.target.sizeBytes) / (1024.0 * 1024.0 * 1024.0);
    const RandomResult& random = run.random;
    if (run.settings.kind == TestKind::Surface) {
        PrintSurfaceTable(out, run);
        return;
    }
    if (run.settings.kind == TestKind::Random) {
        const bool writes = RandomWritesMeasured(run);
        std::snprintf(line, sizeof line,
                      "%s (%.2f GiB): random test, %d transfers of %u bytes, queue depth %u%s\n",
                      run.target.devicePath.c_str(), gib, kRandomTransferCount, kRandomTransferBytes,
                      random.queueDepth, writes ? ", reads and writes" : ", reads only");
        out << line;
        if (const std::string note = QueueDepthLimitNote(run); !note.empty())
            out << "Note: " << note << '\n';
        auto phase = [&](const char* name, double speed, const TransferLatency& latency) {
            const RandomSpeedTexts t = FormatRandomSpeed(speed);
            std::snprintf(line, sizeof line, "%-7s %s %s, %s transfers per second, %s per transfer", name,
                          t.value, t.unit, t.perSecond, t.perTransfer);
            out << line;
            if (random.queueDepth > 1) {
                std::snprintf(line, sizeof line, ", latency %.1f \u00b5s mean, %.1f \u00b5s at the 99th percentile",
                              latency.meanMicroseconds, latency.p99Microseconds);
                out << line;
            }
            out << '\n';
        };
        phase("Reads:", random.readSpeed, random.readLatency);
        if (writes)
            phase("Writes:", random.writeSpeed, random.writeLatency);
        return;
    }
    const bool writes = run.settings.writes;
    std::snprintf(line, sizeof line, "%s (%.2f GiB): standard test, %s, %s, %u MB transfers%s\n",
                  run.target.devicePath.c_str(), gib, CountText(run.settings.zones, "zone").c_str(),
                  CountText(run.settings.cycles, "cycle").c_str(), run.settings.transferMegabytes,
                  writes ? ", reads and writes" : ", reads only");
    out << line;
    std::snprintf(line, sizeof line, "%4s %14s %14s %9s %9s %9s", "Zone", "First sector",
                  "Last sector", "Read min", "avg", "max");
    out << line;
    if (writes) {
        std::snprintf(line, sizeof line, " %9s %9s %9s", "Write min", "avg", "max");
        out << line;
    }
    out << "   (MB/s)\n";
    const int zones = run.MeasuredZoneCount();
    for (int z = 0; z < zones; ++z) {
        const ZoneResult& zone = run.zones[static_cast<size_t>(z)];
        const ZoneSpeeds& r = zone.read;
        std::snprintf(line, sizeof line, "%4d %14llu %14llu", z + 1,
                      static_cast<unsigned long long>(zone.firstSector),
                      static_cast<unsigned long long>(zone.lastSector));
        out << line << Speed(r.minimum) << ' ' << Speed(r.average) << ' ' << Speed(r.maximum);
        if (writes) {
            const ZoneSpeeds& w = zone.write;
            out << ' ' << Speed(w.minimum) << ' ' << Speed(w.average) << ' ' << Speed(w.maximum);
        }
        out << '\n';
    }
}

void PrintResultsJson(std::ostream& out, const Run& run, const std::string& extraJsonMembers)
{
    const bool randomTest = run.settings.kind == TestKind::Random;
    const bool surfaceTest = run.settings.kind == TestKind::Surface;
    const int32_t cycles = run.settings.cycles;
    out << "{\"target\": " << JsonQuoted(run.target.devicePath) << ", \"test\": "
        << (randomTest ? "\"random\"" : surfaceTest ? "\"surface\"" : "\"standard\"") << ", \"zones\": [";
    if (!randomTest && !surfaceTest) {
        const int zones = run.MeasuredZoneCount();
        for (int z = 0; z < zones; ++z) {
            const ZoneResult& zone = run.zones[static_cast<size_t>(z)];
            out << (z ? ", " : "") << "{\"first_sector\": " << zone.firstSector
                << ", \"last_sector\": " << zone.lastSector << ", \"read\": " << ZoneRecordJson(zone.read, cycles)
                << ", \"write\": " << (run.settings.writes ? ZoneRecordJson(zone.write, cycles) : "null")
                << "}";
        }
    }
    out << "], \"random\": ";
    if (randomTest) {
        const RandomResult& random = run.random;
        const bool writes = RandomWritesMeasured(run);
        // Per-transfer latency is measured above queue depth 1 only; one at a time it is
        // the time between completions.
        const auto latency = [&random](bool measured, double microseconds) {
            return measured && random.queueDepth > 1 ? Number(microseconds) : std::string("null");
        };
        const std::string note = QueueDepthLimitNote(run);
        out << "{\"read_mbps\": " << Number(random.readSpeed)
            << ", \"write_mbps\": " << (writes ? Number(random.writeSpeed) : "null")
            << ", \"read_per_sec\": " << RandomTransfersPerSecond(random.readSpeed)
            << ", \"write_per_sec\": "
            << (writes ? std::to_string(RandomTransfersPerSecond(random.writeSpeed)) : "null")
            << ", \"queue_depth\": " << random.queueDepth
            << ", \"asked_queue_depth\": " << run.settings.queueDepth
            << ", \"queue_depth_note\": " << (note.empty() ? "null" : JsonQuoted(note))
            << ", \"read_us_between_completions\": "
            << Number(RandomMicrosecondsPerTransfer(random.readSpeed))
            << ", \"write_us_between_completions\": "
            << (writes ? Number(RandomMicrosecondsPerTransfer(random.writeSpeed)) : "null")
            << ", \"read_latency_mean_us\": " << latency(true, random.readLatency.meanMicroseconds)
            << ", \"read_latency_p99_us\": " << latency(true, random.readLatency.p99Microseconds)
            << ", \"write_latency_mean_us\": " << latency(writes, random.writeLatency.meanMicroseconds)
            << ", \"write_latency_p99_us\": " << latency(writes, random.writeLatency.p99Microseconds)
            << "}";
    } else {
        out << "null";
    }
    if (surfaceTest)
        out << ", \"surface\": " << SurfaceJson(run);
    // The drive as the history knows it, and when the run ended (seconds since 1970, UTC).
    out << ", \"identity\": " << JsonQuoted(run.target.identity) << ", \"drive\": " << JsonQuoted(run.target.name)
        << ", \"ended\": " << run.ended;
    if (!extraJsonMembers.empty())
        out << ", " << extraJsonMembers;
    out << "}\n";
}
