// Reports and size texts under a German and a Japanese locale, built with
// localedef into a folder of the test's own: numbers keep "." and ",", the
// date follows the locale where Mac OS Roman can hold it, else English.
#include <gtest/gtest.h>

#include "format/ByteText.h"
#include "reports/ReportText.h"

#include <QLocale>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace {
TEST(LocaleReport, NumbersKeepTheReportFormAndDatesFollowTheLocale)
{
    std::string folder = "/dev/shm/kestrelia-locales-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(folder.data()));
    struct CleanUp {
        std::string folder;
        ~CleanUp()
        {
            std::setlocale(LC_ALL, "C");
            unsetenv("LOCPATH");
            std::filesystem::remove_all(folder);
        }
    } cleanUp{folder};
    const struct { const char* name; ReportDate date; } rows[] = {
        {"de_DE", {"Montag, 7. Dezember 2026", "12:00:00"}},  // printf writes 1.5 as "1,5" there
        {"ja_JP", {"Monday, December 7, 2026", "12:00:00 PM"}},
    };
    for (const auto& row : rows)
        if (std::system(("localedef -i " + std::string(row.name) + " -f UTF-8 " + folder + "/" + row.name +
                         ".UTF-8 >/dev/null 2>&1").c_str()) != 0)
            GTEST_SKIP() << "localedef could not build " << row.name << " (package locales missing?)";
    setenv("LOCPATH", folder.c_str(), 1);
    std::tm noon{};
    ASSERT_NE(nullptr, strptime("2026-12-07 12:00:00", "%Y-%m-%d %H:%M:%S", &noon));
    noon.tm_isdst = -1;
    const std::time_t when = std::mktime(&noon);
    ::Run run;
    run.target.name = "D";
    run.target.sizeLabel = "1 Gigabytes";
    run.random.readSpeed = 1.5;
    run.zones.resize(1);
    run.zones[0].read.cycles[0] = run.zones[0].read.maximum = 85.25;
    run.zones[0].lastSector = 1000;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(nullptr, std::setlocale(LC_ALL, (std::string(row.name) + ".UTF-8").c_str()));
        char text[256];
        FormatByteSize(1536, text, true);
        EXPECT_STREQ("1.500 Kilobytes", text);
        FormatByteSize(1536, text, false);
        EXPECT_STREQ("1.5 KB", text);
        FormatGigabytes(1610612736, text);
        EXPECT_STREQ("1.5", text);
        const std::string report = AssembleReport(run, kTextReportFormat, {"d", "t"});
        for (const char* line : {"Random Read Results:\t1.500 Megabytes per Second\r", "Last Measured Sector:\t1,000\r",
                                 "Maximum:           85.250 MB/sec\r"})
            EXPECT_NE(std::string::npos, report.find(line)) << line;
        const ReportDate date = ReportDateFor(when, QLocale(QString::fromLatin1(row.name)));
        EXPECT_EQ(row.date.longDate, date.longDate);
        EXPECT_EQ(row.date.timeOfDay, date.timeOfDay);
    }
    EXPECT_EQ("Monday, December 7, 2026", ReportDateFor(when, QLocale::c()).longDate);
}
}  // namespace
