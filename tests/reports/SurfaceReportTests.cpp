// The report sections of a surface run, written out in full for a known run.
#include <gtest/gtest.h>

#include <algorithm>

#include "KnownSurfaceRun.h"
#include "reports/ReportText.h"
#include "reports/SurfaceReport.h"

namespace {

TEST(SurfaceReport, TextTellsFiguresFallOffBlocksAndTemperature)
{
    ::Run run = KnownSurfaceRun();
    run.surface.possibleThrottling = true;
    EXPECT_EQ(TextReportBody(run),
              "\r\rSurface Test Results:\r"
              "Transfer Size: 1 MByte\r"
              "Span: first 0.4 GB\r"
              "\r"
              "                    Read Speeds            Write Speeds\r"
              "Average:           80.000 MB/sec           31.200 MB/sec\r"
              "Minimum:           80.000 MB/sec           20.000 MB/sec\r"
              "1% Low:            80.000 MB/sec           20.000 MB/sec\r"
              "Time:                 4.5 sec                11.6 sec\r"
              "\r"
              "Writes fell from 60 MB/s to 20 MB/s after 0.2 GB.\r"
              "\r"
              "Slow Blocks (over 10 times the median time): 1\r"
              "Sector 200,000 (read): 152.5 ms\r"
              "Unreadable Sectors: 8\r"
              "Sectors 600,000 - 600,007: Input/output error\r"
              "\r"
              "Maximum Temperature: 40 \u00b0C\r"
              "Possible thermal throttling: the speed dropped while the temperature was at its highest.\r");
}

TEST(SurfaceReport, PartsOfTheRunThatEndedEarlyOrFoundNothingAreSaid)
{
    ::Run run = KnownSurfaceRun();
    run.surface.writeFalloff = {};
    EXPECT_EQ(SurfaceCoveredText(run), "");
    run.surface.coveredSectors = 380000;
    run.end = RunEnd::Stopped;
    EXPECT_EQ(SurfaceCoveredText(run), "0.2 GB of 0.4 GB covered (stopped)");
    run.surface.timeLimitReached = true;
    run.settings.surfaceMinutes = 5;
    EXPECT_NE(TextReportBody(run).find("Time Limit: 5 minutes\rCovered: 0.2 GB of 0.4 GB covered (time limit reached)\r"),
              std::string::npos);
    run.surface.samples.clear();
    EXPECT_EQ(TextReportBody(run), "");
    EXPECT_EQ(SpreadsheetReportBody(run), "");
}

TEST(SurfaceReport, SpreadsheetHoldsFiguresListsAndOneRowPerSample)
{
    const std::string body = SpreadsheetReportBody(KnownSurfaceRun());
    EXPECT_EQ(body.substr(0, body.find("\r\rSlow")),
              "\r\rSurface Test\tReads\tWrites\rAverage\t80.000\t31.200\rMinimum\t80.000\t20.000\r"
              "1% Low\t80.000\t20.000\rSeconds\t4.5\t11.6\rSpan Sectors\t760000\rCovered Sectors\t760000\r"
              "Write Fall-off\tWrites fell from 60 MB/s to 20 MB/s after 0.2 GB\r"
              "Maximum Temperature\t40\rPossible Throttling\tno");
    for (const char* row : {"\r200000\t2000\t152.5\tread\r", "\r600000\t600007\tInput/output error\r",
                            "Reads\tWrites\r\t0\t80.000\t60.000\r", "\r\t758000\t80.000\t20.000\r"})
        EXPECT_NE(body.find(row), std::string::npos) << row;
    EXPECT_EQ(std::count(body.begin(), body.end(), '\r'), 20 + 380);
}

}  // namespace
