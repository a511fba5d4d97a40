// The proposed report names and the suffix that follows the format choice.
#include <gtest/gtest.h>

#include "reports/ReportFileName.h"

TEST(ReportFileName, ProposedNameFollowsTheFormat)
{
    EXPECT_EQ(SuggestedReportFileName("Data Disk", 1), "Data Disk Results.txt");
    EXPECT_EQ(SuggestedReportFileName("Backup", 2), "Backup Results.xls");
}

TEST(ReportFileName, SuffixRules)
{
    struct Case {
        const char* name;
        int32_t format;
        const char* expected;
    };
    const Case cases[] = {
        {"Backup Results.txt", 2, "Backup Results.xls"},
        {"Backup Results.xls", 1, "Backup Results.txt"},
        {"report", 2, "report.xls"},
        {"report", 1, "report.txt"},
        {"report.txt", 1, "report.txt"},
        {"report.xls", 2, "report.xls"},
        // the ending is compared case-sensitively...
        {"REPORT.XLS", 1, "REPORT.XLS.txt"},
        // ...but once it matches every occurrence, in any case, is replaced
        {"a.xls.xls", 1, "a.txt.txt"},
        {"my.XLS data.xls", 1, "my.txt data.txt"},
        {"a.txt.txt", 2, "a.xls.xls"},
        {"", 1, ""},
        {"report", 3, "report"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChangeFileNameSuffix(c.name, c.format), c.expected) << c.name << " format " << c.format;
}
