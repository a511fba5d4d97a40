// Reports and size texts under a German and a Japanese locale, built with
// localedef into a folder of the test's own: numbers keep "." and ",", the
// date follows the locale where Mac OS Roman can hold it, else English.
#include <gtest/gtest.h>

#include "engine/TestModel.h"
#include "format/ByteText.h"
#include "reports/ReportText.h"

#include <QLocale>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
struct LocaleRow {
    const char* name;
    const char* decimalInLocale;  // how printf writes 1.5 there, to show the row means something
    ReportDate date;
};

class LocaleReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = "/dev/shm/kestrelia-h17devices-locales-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern.data()));
        folder_ = pattern;
        for (const char* name : {"de_DE", "ja_JP"}) {
            const std::string command = "localedef -i " + std::string(name) + " -f UTF-8 " + folder_ + "/" + name +
                                        ".UTF-8 >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0)
                GTEST_SKIP() << "localedef could not build " << name << " (package locales missing?)";
        }
        setenv("LOCPATH", folder_.c_str(), 1);
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
        gSavedRandomReadSpeedDbl = 0.0;
        std::memset(gSavedREADResultsInfo, 0, sizeof gSavedREADResultsInfo);
    }
    std::string folder_;
};

TEST_F(LocaleReport, NumbersKeepTheReportFormAndDatesFollowTheLocale)
{
    std::tm noon{};
    noon.tm_year = 2026 - 1900;
    noon.tm_mon = 11;
    noon.tm_mday = 7;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const std::time_t when = std::mktime(&noon);
    const LocaleRow rows[] = {
        {"de_DE", "1,5", {"Montag, 7. Dezember 2026", "12:00:00"}},
        {"ja_JP", "1.5", {"Monday, December 7, 2026", "12:00:00 PM"}},
    };
    gSavedRandomReadSpeedDbl = 1.5;
    gSavedREADResultsInfo[0].cycleSpeedDbl[0] = 85.25;
    gSavedREADResultsInfo[0].maxSpeedDbl = 85.25;
    gSavedREADResultsInfo[0].lastSectorU64 = 1000;
    for (const LocaleRow& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(nullptr, std::setlocale(LC_ALL, (std::string(row.name) + ".UTF-8").c_str()));
        char text[256];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        EXPECT_STREQ(row.decimalInLocale, text);
        BytesSInt64ToCStrWLabel(1536, text, true);
        EXPECT_STREQ("1.500 Kilobytes", text);
        BytesSInt64ToCStrWLabel(1536, text, false);
        EXPECT_STREQ("1.5 KB", text);
        BytesSInt64ToCStrGB(1610612736, text);
        EXPECT_STREQ("1.5", text);
        const std::string report = AssembleReport({false, "D", "1 Gigabytes"}, kTextReportFormat, {"d", "t"});
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
