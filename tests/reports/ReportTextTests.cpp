#include <gtest/gtest.h>

#include "reports/MacRomanText.h"
#include "reports/ReportText.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {
const ReportDate kDate{"Monday, December 7, 2026", "05:30:12"};
const std::string kProduct = "Kestrelia\xAA 2.0 Test Results\r";
const std::string kNotice = "Speeds in megabytes of 1,048,576 bytes per second, timed on the raw device.\r";
const std::string kDateLine = "Test Date: Monday, December 7, 2026 (05:30:12)\r";

// A drive (or volume) as a report names it.
RunTarget Named(const std::string& name, const std::string& sizeLabel, bool isVolume = false)
{
    return {"", "", name, sizeLabel, isVolume};
}

// Runs of one zone and one cycle of 1 MB on "D", until a case says otherwise.
class Report : public ::testing::Test {
protected:
    void SetUp() override
    {
        run.target = Named("D", "1 Gigabytes");
        run.settings.transferMegabytes = 1;
        run.zones.resize(1);
    }
    // Zone z from sector first, 2048 sectors long, with the given cycle speeds and their statistics.
    void Zone(int z, uint64_t first, const std::vector<double>& reads, const std::vector<double>& writes = {})
    {
        ZoneResult& zone = run.zones[static_cast<size_t>(z)];
        zone.firstSector = first;
        zone.lastSector = first + 2047;
        for (ZoneSpeeds* r : {&zone.read, &zone.write}) {
            const std::vector<double>& speeds = r == &zone.read ? reads : writes;
            if (speeds.empty())
                continue;
            std::copy(speeds.begin(), speeds.end(), r->cycles.begin());
            r->minimum = *std::min_element(speeds.begin(), speeds.end());
            r->maximum = *std::max_element(speeds.begin(), speeds.end());
            r->average = std::accumulate(speeds.begin(), speeds.end(), 0.0) / double(speeds.size());
        }
    }

    ::Run run;
};

TEST_F(Report, TextReportOfADriveWithWritesAndRandomResults)
{
    run.target = Named("Data Disk", "465.762 Gigabytes");
    run.settings = {.cycles = 2, .transferMegabytes = 2, .writes = true};
    run.random.readSpeed = 1.5;
    run.random.writeSpeed = 0.5;
    Zone(0, 1234567, {70.125, 71.0}, {40.0, 42.5});

    const std::string expected =
        kProduct + kNotice + kDateLine +
        "Test Drive Name: Data Disk\r"
        "Test Drive Size: 465.762 Gigabytes\r"
        "\rRandom Read Results:\t1.500 Megabytes per Second\r"
        "Random Write Results:\t512 Kilobytes per Second\r"
        "\rZone Test Results:\r"
        "Transfer Size: 2 MBytes\r"
        "Zone Count: 1\r"
        "Cycle Count: 2\r"
        "\r\rMeasurement Zone:\t1\r"
        "First Measured Sector:\t1,234,567\r"
        "Last Measured Sector:\t1,236,614\r\r"
        "                    Read Speeds            Write Speeds\r"
        "Maximum:           71.000 MB/sec           42.500 MB/sec\r"
        "Average:           70.562 MB/sec           41.250 MB/sec\r"
        "Minimum:           70.125 MB/sec           40.000 MB/sec\r\r"
        "Cycle 1:           70.125 MB/sec           40.000 MB/sec\r"
        "Cycle 2:           71.000 MB/sec           42.500 MB/sec\r";
    EXPECT_EQ(AssembleReport(run, kTextReportFormat, kDate), expected);
}

TEST_F(Report, SpreadsheetReportOfAVolume)
{
    run.target = Named("Backup", "2 Gigabytes", true);
    Zone(0, 1000, {12.5});
    const std::string expected =
        kProduct + kNotice + kDateLine +
        "Test Volume Name: Backup\r"
        "Test Volume Size: 2 Gigabytes\r"
        "\rZone Test Results:\r"
        "Transfer Size: 1 MByte\r"
        "Zone Count: 1\r"
        "Cycle Count: 1\r"
        "\r\rMeasurement Zone:\t1\r"
        "First Measured Sector:\t1,000\r"
        "Last Measured Sector:\t3,047\r\r"
        "<Insert Summary Chart Here>\tZone 1 Reads\r"
        "Max\t12.500\r"
        "Ave\t12.500\r"
        "Min\t12.500\r"
        "\r<Insert Cycle Chart Here>\tZone 1 Reads\r"
        "Cycle 1\t12.500\r";
    EXPECT_EQ(AssembleReport(run, kSpreadsheetReportFormat, kDate), expected);

    // With writes, each table gets a write column.
    run.settings.writes = true;
    Zone(0, 0, {10.0}, {5.0});
    const std::string body = SpreadsheetReportBody(run);
    EXPECT_NE(body.find("<Insert Summary Chart Here>\tZone 1 Reads\tZone 1 Writes\rMax\t10.000\t5.000\r"),
              std::string::npos);
    EXPECT_NE(body.find("\r<Insert Cycle Chart Here>\tZone 1 Reads\tZone 1 Writes\rCycle 1\t10.000\t5.000\r"),
              std::string::npos);
}

TEST_F(Report, RandomResultLinesAndTheirSpacing)
{
    const std::string head = kProduct + kNotice + kDateLine + "Test Drive Name: D\rTest Drive Size: 1 Gigabytes\r";
    const struct { double read, write; uint32_t queueDepth; std::string tail; } rows[] = {
        {1.0, 0.0, 1, "\rRandom Read Results:\t1024 Kilobytes per Second\r"},
        {0.0, 2.25, 1, "Random Write Results:\t2.250 Megabytes per Second\r"},
        {0.0, 0.0, 1, ""},
        {0.0, 0.0, 32, ""},
        {1.5, 0.5, 32,
         "\rRandom Read Results:\t1.500 Megabytes per Second\rQueue Depth: 32\r"
         "Random Write Results:\t512 Kilobytes per Second\rQueue Depth: 32\r"},
        {0.0, 2.25, 256, "Random Write Results:\t2.250 Megabytes per Second\rQueue Depth: 256\r"},
    };
    for (const auto& row : rows) {
        run.random.readSpeed = row.read;
        run.random.writeSpeed = row.write;
        run.random.queueDepth = row.queueDepth;
        EXPECT_EQ(AssembleReport(run, kTextReportFormat, kDate), head + row.tail)
            << row.read << " " << row.write << " depth " << row.queueDepth;
    }
}

TEST_F(Report, HeaderOnlyForOtherFormatsOrNoResultsAndFullRecordsComplete)
{
    EXPECT_EQ(AssembleReport(run, kTextReportFormat, kDate),
              kProduct + kNotice + kDateLine + "Test Drive Name: D\rTest Drive Size: 1 Gigabytes\r");
    // A name the report's set cannot hold all of: written with "?" and a line that says so.
    ::Run volume = run;
    volume.target = Named("\u65e5\u672c Caf\u00e9?", "1 Gigabytes", true);
    EXPECT_EQ(AssembleReport(volume, kTextReportFormat, kDate),
              kProduct + kNotice + kDateLine +
                  "Test Volume Name: ?? Caf\x8E?\rTest Volume Size: 1 Gigabytes\r"
                  "Note: Some characters of the name could not be written in Mac OS Roman "
                  "and appear as \"?\".\r");
    Zone(0, 0, {10.0});
    const std::string header = AssembleReport(run, 3, kDate);
    EXPECT_EQ(header.find("Measurement Zone"), std::string::npos);
    EXPECT_NE(header.find("Zone Test Results"), std::string::npos);

    run.settings = {.zones = kMaxZoneCount, .cycles = kMaxCycleCount, .transferMegabytes = 1, .writes = true};
    run.zones.resize(kMaxZoneCount);
    for (ZoneResult& zone : run.zones)
        for (int c = 0; c < kMaxCycleCount; ++c) {
            zone.read.cycles[c] = 100.0 + c;
            zone.write.cycles[c] = 50.0 + c;
        }
    const std::string report = AssembleReport(run, kTextReportFormat, kDate);
    EXPECT_NE(report.find("MB/sec\r\r\rMeasurement Zone:\t50\r"), std::string::npos);
    EXPECT_NE(report.find("Cycle 50:          149.000 MB/sec           99.000 MB/sec\r"), std::string::npos);
    EXPECT_EQ(report.find('\n'), std::string::npos);
}

TEST(MacRoman, ConvertsWhatTheSetHoldsAndMarksTheRest)
{
    const std::pair<std::string, std::string> rows[] = {
        {"Kestrelia\u2122", "Kestrelia\xAA"},
        {"Caf\u00e9 M\u00fcller", "Caf\x8E M\x9F" "ller"},
        {"\u65e5\u672c disk", "?? disk"},
        {"bad \xFF byte", "bad ? byte"},
        {"cut \xE2\x84", "cut ?"},
        {"", ""},
    };
    for (const auto& [utf8, roman] : rows) EXPECT_EQ(Utf8ToMacRoman(utf8), roman) << utf8;
}
}  // namespace
