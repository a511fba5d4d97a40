// Results for a fleet of machines: the Prometheus metrics of finished runs
// (every figure once, label values escaped, accepted by promtool), and
// kestrelia-cli --merge over the folders fetched from two hosts (the newest
// run of each drive once, as a table and as CSV; foreign files and planted
// links named and skipped; surface runs with their 1 % lows, unreadable
// sectors and the tenths of their span the picture draws).
#include "KnownSurfaceRun.h"
#include "LoopDevice.h"
#include "cli/FleetRun.h"
#include "cli/MetricsOutput.h"
#include "cli/ResultsOutput.h"
#include "reports/FetchedRuns.h"
#include "reports/RunDocument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
Run StandardRun(const std::string& node, const std::string& identity, const std::string& model, double readMinimum,
                double readAverage, std::time_t ended)
{
    Run run;
    run.target = {node, identity, model, "1 TB", false, 1000204886016ull, 512};
    run.settings.transferMegabytes = 1;  // one zone, one cycle
    run.started = ended - 60;
    run.ended = ended;
    run.end = RunEnd::Completed;
    run.zones.resize(1);
    run.zones[0].lastSector = 2047;
    run.zones[0].read = {{readAverage}, readAverage, readMinimum, readAverage + 9.5};
    return run;
}

// Writes measured too, and a model with a quote, a backslash and a line break.
Run WriteRun()
{
    Run run = StandardRun("/dev/sdb", "WD-WX12", "WDC \"Blue\"\\WD10\nEZEX", 100.0, 110.5, 1765200000);
    run.settings.writes = true;
    run.zones[0].write = {{95.0}, 95.0, 90.0, 99.0};
    return run;
}

TEST(FleetMetrics, EveryFigureOnceLabelledAndEscapedAndPromtoolAccepts)
{
    ::Run random;
    random.target = {"/dev/sdc", "", "Loop Device (loop7)", "64 MB", false, 64ull << 20, 512};
    random.settings = {.kind = TestKind::Random, .queueDepth = 4};
    random.ended = 1765200100;
    random.end = RunEnd::Stopped;
    random.random = {40.0, 0.0, 4, {250.0, 900.0}, {}};
    ::Run standard = WriteRun();
    standard.zones.resize(2);  // a zone the run never reached has no figures
    const ::Run* const runs[] = {&standard, &random};
    const std::string text = PrometheusMetricsText(runs);
    const std::string sdb = R"(device="/dev/sdb",identity="WD-WX12",model="WDC \"Blue\"\\WD10\nEZEX",test="standard")";
    const std::string sdc = R"x(device="/dev/sdc",identity="",model="Loop Device (loop7)",test="random",queue_depth="4")x";
    EXPECT_EQ(text,
              "# HELP kestrelia_zone_read_speed_bytes_per_second Read speed of a zone of the standard test over its cycles.\n"
              "# TYPE kestrelia_zone_read_speed_bytes_per_second gauge\n"
              "kestrelia_zone_read_speed_bytes_per_second{" + sdb + R"(,zone="1",statistic="min"} 104857600)" "\n"
              "kestrelia_zone_read_speed_bytes_per_second{" + sdb + R"(,zone="1",statistic="avg"} 115867648)" "\n"
              "kestrelia_zone_read_speed_bytes_per_second{" + sdb + R"(,zone="1",statistic="max"} 125829120)" "\n"
              "# HELP kestrelia_zone_write_speed_bytes_per_second Write speed of a zone of the standard test over its cycles.\n"
              "# TYPE kestrelia_zone_write_speed_bytes_per_second gauge\n"
              "kestrelia_zone_write_speed_bytes_per_second{" + sdb + R"(,zone="1",statistic="min"} 94371840)" "\n"
              "kestrelia_zone_write_speed_bytes_per_second{" + sdb + R"(,zone="1",statistic="avg"} 99614720)" "\n"
              "kestrelia_zone_write_speed_bytes_per_second{" + sdb + R"(,zone="1",statistic="max"} 103809024)" "\n"
              "# HELP kestrelia_random_read_speed_bytes_per_second Read speed of the random test's 4 KiB transfers.\n"
              "# TYPE kestrelia_random_read_speed_bytes_per_second gauge\n"
              "kestrelia_random_read_speed_bytes_per_second{" + sdc + "} 41943040\n"
              "# HELP kestrelia_random_read_latency_seconds Time from submission to completion of a random read.\n"
              "# TYPE kestrelia_random_read_latency_seconds gauge\n"
              "kestrelia_random_read_latency_seconds{" + sdc + R"(,statistic="mean"} 0.00025)" "\n"
              "kestrelia_random_read_latency_seconds{" + sdc + R"(,statistic="p99"} 0.0009)" "\n"
              "# HELP kestrelia_run_end_timestamp_seconds When the run ended, in seconds since 1970 (UTC).\n"
              "# TYPE kestrelia_run_end_timestamp_seconds gauge\n"
              "kestrelia_run_end_timestamp_seconds{" + sdb + "} 1765200000\n"
              "kestrelia_run_end_timestamp_seconds{" + sdc.substr(0, sdc.find(",queue")) + "} 1765200100\n"
              "# HELP kestrelia_run_completed 1 when the run measured everything it set out to, else 0.\n"
              "# TYPE kestrelia_run_completed gauge\n"
              "kestrelia_run_completed{" + sdb + "} 1\n"
              "kestrelia_run_completed{" + sdc.substr(0, sdc.find(",queue")) + "} 0\n");

    if (RunCommand("command -v promtool >/dev/null") != 0)
        GTEST_SKIP() << "promtool is missing (Debian's prometheus package; scripts/install-deps installs it)";
    const std::string file = "/tmp/kestrelia-metrics-" + std::to_string(getpid()) + ".prom";
    std::ofstream(file) << text;
    std::string out;
    EXPECT_EQ(0, RunCommand("promtool check metrics < " + file, &out)) << out;
    fs::remove(file);
}

void WriteFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

std::string ResultsJson(const Run& run)
{
    std::ostringstream json;
    PrintResultsJson(json, run, "");
    return json.str();
}

TEST(FleetMerge, NewestRunOfEveryDriveOnceAsTableAndCsvForeignFilesSkipped)
{
    const fs::path folder = "/tmp/kestrelia-fleet-" + std::to_string(getpid());
    const ::Run written = WriteRun();
    const ::Run older = StandardRun("/dev/sdb", "WD-WX12", "WDC", 1.0, 2.0, 1765100000);
    // hostA: the history (this run and an older one of the drive) and the --json output of this run.
    WriteFile(folder / "hostA/history/WD-WX12/1.json", RunDocumentToJson(CaptureRunDocument(written)));
    WriteFile(folder / "hostA/history/WD-WX12/0.json", RunDocumentToJson(CaptureRunDocument(older)));
    WriteFile(folder / "hostA/kestrelia.json", ResultsJson(written));
    // hostB: the --json output of several drives, a foreign file, a planted link and a report.
    const ::Run slow = StandardRun("/dev/sdd", "S3Z,9 \"x\"", "Samsung", 50.0, 55.0, 1765300000);
    WriteFile(folder / "hostB/kestrelia.json", "{\"runs\": [" + ResultsJson(slow) + "]}");
    WriteFile(folder / "hostB/notes.json", "{\"hello\": 1}");
    WriteFile(folder / "hostB/report.txt", "not read");
    fs::create_symlink(folder / "hostA/kestrelia.json", folder / "hostB/link.json");

    const std::string cli = "env -u SUDO_UID -u PKEXEC_UID " KESTRELIA_CLI_PATH " --merge ";
    const std::string hosts = (folder / "hostA").string() + " " + (folder / "hostB/").string();
    std::string out;
    EXPECT_EQ(1, RunCommand("(" + cli + hosts + " 2>" + (folder / "err").string() + ")", &out));
    EXPECT_EQ(out,
              "Host   Drive     Identity   Test      Ended (UTC)           Read avg  Read min  Write avg  Write min   (MB/s)\n"
              "hostA  /dev/sdb  WD-WX12    standard  2025-12-08T13:20:00Z    110.50    100.00      95.00      90.00\n"
              "hostB  /dev/sdd  S3Z,9 \"x\"  standard  2025-12-09T17:06:40Z     55.00     50.00\n");
    std::ifstream errors(folder / "err");
    const std::string err((std::istreambuf_iterator<char>(errors)), std::istreambuf_iterator<char>());
    EXPECT_EQ(err, "kestrelia-cli: skipping " + (folder / "hostB/link.json").string() +
                       ": a symbolic link, not followed\n"
                       "kestrelia-cli: skipping " + (folder / "hostB/notes.json").string() +
                       ": neither a Kestrelia run document nor kestrelia-cli --json output\n");
    EXPECT_EQ(1, RunCommand("(" + cli + hosts + " --csv 2>/dev/null)", &out));
    EXPECT_EQ(out,
              "host,drive,identity,test,ended,read_avg_mbps,read_min_mbps,write_avg_mbps,write_min_mbps\r\n"
              "hostA,/dev/sdb,WD-WX12,standard,2025-12-08T13:20:00Z,110.50,100.00,95.00,90.00\r\n"
              "hostB,/dev/sdd,\"S3Z,9 \"\"x\"\"\",standard,2025-12-09T17:06:40Z,55.00,50.00,,\r\n");
    const fs::path png = folder / "fleet.png";
    EXPECT_EQ(0, RunCommand(cli + (folder / "hostA").string() + " --graph " + png.string(), &out)) << out;
    EXPECT_GT(fs::file_size(png), 1000u);
    EXPECT_EQ(2, RunCommand(cli + " --csv", &out));
    EXPECT_NE(out.find("--merge needs the folders of the hosts' runs"), std::string::npos) << out;
    fs::remove_all(folder);
}

TEST(FleetMerge, SurfaceRunsWithTheirLowsAndUnreadableSectors)
{
    const fs::path folder = "/tmp/kestrelia-fleet-surface-" + std::to_string(getpid());
    ::Run surface = KnownSurfaceRun();
    for (SurfaceSample& sample : surface.surface.samples)
        sample.readMaximum = sample.writeMaximum = 99.0f;  // the bars are the averages
    ::Run readsOnly = KnownSurfaceRun();
    readsOnly.settings.writes = false;
    WriteFile(folder / "hostC/kestrelia.json", "{\"runs\": [" + ResultsJson(surface) + ", " +
                                                   ResultsJson(StandardRun("/dev/loop7", "loop:known-surface", "M", 1.0, 2.0, 1765100000)) + "]}");
    WriteFile(folder / "hostD/history/1.json", RunDocumentToJson(CaptureRunDocument(readsOnly)));
    const std::string cli = "env -u SUDO_UID -u PKEXEC_UID " KESTRELIA_CLI_PATH " --merge " +
                            (folder / "hostC").string() + " " + (folder / "hostD").string();
    std::string out;
    EXPECT_EQ(0, RunCommand(cli, &out));
    EXPECT_EQ(out.substr(0, out.find('\n')), "Host   Drive       Identity            Test      Ended (UTC)           Read avg  Read min"
                                            "  Write avg  Write min  Read 1% low  Write 1% low  Unreadable   (MB/s)");
    EXPECT_EQ(0, RunCommand(cli + " --csv", &out));
    EXPECT_EQ(out,
              "host,drive,identity,test,ended,read_avg_mbps,read_min_mbps,write_avg_mbps,write_min_mbps,read_1pct_low_mbps,write_1pct_low_mbps,unreadable_sectors\r\n"
              "hostC,/dev/loop7,loop:known-surface,standard,2025-12-07T09:33:20Z,2.00,1.00,,,,,\r\n"
              "hostC,/dev/loop7,loop:known-surface,surface,2026-12-05T19:48:15Z,80.00,80.00,31.20,20.00,80.00,20.00,8\r\n"
              "hostD,/dev/loop7,loop:known-surface,surface,2026-12-05T19:48:15Z,80.00,80.00,,,80.00,,8\r\n");
    EXPECT_EQ(0, RunCommand(cli + " --graph " + (folder / "fleet.png").string(), &out)) << out;
    // The picture: five tenths of the span written at 60 MB/s, five at 20, all read at 80.
    const auto fetched = RunsFromFetchedJson(ResultsJson(surface), nullptr);
    ASSERT_TRUE(fetched);
    std::string bars;
    for (const FleetBar& bar : FleetBarsOf(fetched->front()))
        bars += std::to_string(std::lround(bar.read)) + "/" + std::to_string(std::lround(bar.write.value_or(-1))) + " ";
    EXPECT_EQ(bars, "80/60 80/60 80/60 80/60 80/60 80/20 80/20 80/20 80/20 80/20 ");
    fs::remove_all(folder);
}
}  // namespace
