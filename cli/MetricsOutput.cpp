#include "cli/MetricsOutput.h"

#include "format/Utf8Text.h"
#include "platform/AtomicFileWriter.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr double kBytesPerMegabyte = 1048576.0;

struct Sample {
    std::string labels;  // without braces: name="value",...
    double value = 0.0;
};

struct Family {
    const char* name;
    const char* help;
    // Appends the samples of one run (none when the run has no such figure).
    std::function<void(const Run&, const std::string& runLabels, std::vector<Sample>&)> samples;
};

const char* KindName(TestKind kind)
{
    switch (kind) {
    case TestKind::Random: return "random";
    case TestKind::Surface: return "surface";
    case TestKind::Standard: break;
    }
    return "standard";
}

std::string Label(const char* name, const std::string& value)
{
    return std::string(name) + "=\"" + PrometheusLabelValue(value) + "\"";
}

std::string RunLabels(const Run& run)
{
    return Label("device", run.target.devicePath) + "," + Label("identity", run.target.identity) + "," +
           Label("model", run.target.name) + "," + Label("test", KindName(run.settings.kind));
}

std::string Value(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.12g", value);
    return text;
}

// min, avg and max of one direction of every measured zone.
void ZoneSamples(const Run& run, const std::string& labels, bool write, std::vector<Sample>& out)
{
    if (run.settings.kind != TestKind::Standard || (write && !run.settings.writes))
        return;
    for (int z = 0; z < run.MeasuredZoneCount(); ++z) {
        const ZoneResult& zone = run.zones[static_cast<size_t>(z)];
        const ZoneSpeeds& speeds = write ? zone.write : zone.read;
        if (write && !zone.WriteMeasured())
            continue;
        const std::string zoneLabels = labels + "," + Label("zone", std::to_string(z + 1)) + ",statistic=";
        out.push_back({zoneLabels + "\"min\"", speeds.minimum * kBytesPerMegabyte});
        out.push_back({zoneLabels + "\"avg\"", speeds.average * kBytesPerMegabyte});
        out.push_back({zoneLabels + "\"max\"", speeds.maximum * kBytesPerMegabyte});
    }
}

std::string QueueDepthLabels(const Run& run, const std::string& labels)
{
    return labels + "," + Label("queue_depth", std::to_string(run.random.queueDepth));
}

void RandomSpeed(const Run& run, const std::string& labels, double speed, std::vector<Sample>& out)
{
    if (run.settings.kind == TestKind::Random && speed != 0.0)
        out.push_back({QueueDepthLabels(run, labels), speed * kBytesPerMegabyte});
}

// Each transfer's latency is measured above queue depth 1 only.
void RandomLatency(const Run& run, const std::string& labels, double speed, const TransferLatency& latency,
                   std::vector<Sample>& out)
{
    if (run.settings.kind != TestKind::Random || speed == 0.0 || run.random.queueDepth <= 1)
        return;
    const std::string depthLabels = QueueDepthLabels(run, labels) + ",statistic=";
    out.push_back({depthLabels + "\"mean\"", latency.meanMicroseconds / 1e6});
    out.push_back({depthLabels + "\"p99\"", latency.p99Microseconds / 1e6});
}

const std::vector<Family>& Families()
{
    static const std::vector<Family> families = {
        {"kestrelia_zone_read_speed_bytes_per_second", "Read speed of a zone of the standard test over its cycles.",
         [](const Run& run, const std::string& labels, std::vector<Sample>& out) {
             ZoneSamples(run, labels, false, out);
         }},
        {"kestrelia_zone_write_speed_bytes_per_second", "Write speed of a zone of the standard test over its cycles.",
         [](const Run& run, const std::string& labels, std::vector<Sample>& out) {
             ZoneSamples(run, labels, true, out);
         }},
        {"kestrelia_random_read_speed_bytes_per_second", "Read speed of the random test's 4 KiB transfers.",
         [](const Run& run, const std::string& labels, std::vector<Sample>& out) {
             RandomSpeed(run, labels, run.random.readSpeed, out);
         }},
        {"kestrelia_random_write_speed_bytes_per_second", "Write speed of the random test's 4 KiB transfers.",
         [](const Run& run, const std::string& labels, std::vector<Sample>& out) {
             RandomSpeed(run, labels, run.settings.writes ? run.random.writeSpeed : 0.0, out);
         }},
        {"kestrelia_random_read_latency_seconds", "Time from submission to completion of a random read.",
         [](const Run& run, const std::string& labels, std::vector<Sample>& out) {
             RandomLatency(run, labels, run.random.readSpeed, run.random.readLatency, out);
         }},
        {"kestrelia_random_write_latency_seconds", "Time from submission to completion of a random write.",
         [](const Run& run, const std::string& labels, std::vector<Sample>& out) {
             RandomLatency(run, labels, run.settings.writes ? run.random.writeSpeed : 0.0, run.random.writeLatency,
                           out);
         }},
        {"kestrelia_run_end_timestamp_seconds", "When the run ended, in seconds since 1970 (UTC).",
         [](const Run& run, const std::string& labels, std::vector<Sample>& out) {
             out.push_back({labels, static_cast<double>(run.ended)});
         }},
        {"kestrelia_run_completed", "1 when the run measured everything it set out to, else 0.",
         [](const Run& run, const std::string& labels, std::vector<Sample>& out) {
             out.push_back({labels, run.end == RunEnd::Completed ? 1.0 : 0.0});
         }},
    };
    return families;
}
}  // namespace

std::string MetricsPathOption(const CliOptions& options)
{
    return ExtraOptionValue(options, kMetricsOption);
}

std::string CheckMetricsOption(const CliOptions& options)
{
    const std::string path = MetricsPathOption(options);
    if (path.empty())
        return {};
    const FileWriteResult check = CheckFileDestination(path);
    return check.ok() ? std::string() : std::string(kMetricsOption) + ": " + FileWriteProblem(path, check);
}

std::string PrometheusLabelValue(const std::string& text)
{
    std::string out;
    for (const char c : ValidUtf8(text)) {
        if (c == '\\' || c == '"')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string PrometheusMetricsText(std::span<const Run* const> runs)
{
    std::string text;
    for (const Family& family : Families()) {
        std::vector<Sample> samples;
        for (const Run* run : runs)
            family.samples(*run, RunLabels(*run), samples);
        if (samples.empty())
            continue;
        text += std::string("# HELP ") + family.name + " " + family.help + "\n";
        text += std::string("# TYPE ") + family.name + " gauge\n";
        for (const Sample& sample : samples)
            text += std::string(family.name) + "{" + sample.labels + "} " + Value(sample.value) + "\n";
    }
    return text;
}

bool WriteRunMetrics(const std::string& path, std::span<const Run* const> runs, std::ostream& err)
{
    const FileWriteResult saved = WriteFileAtomically(path, PrometheusMetricsText(runs));
    if (saved.ok())
        return true;
    err << "kestrelia-cli: cannot write the metrics: " << FileWriteProblem(path, saved) << '\n';
    return false;
}
