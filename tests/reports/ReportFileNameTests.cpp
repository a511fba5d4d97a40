// The suffix that follows the format choice. The proposed names and the
// plain renames are tested through the real save dialog in tests/shell.
#include <gtest/gtest.h>

#include "reports/ReportFileName.h"

TEST(ReportFileName, SuffixRules)
{
    const struct { const char* name; int32_t format; const char* expected; } cases[] = {
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
    for (const auto& c : cases)
        EXPECT_EQ(ChangeFileNameSuffix(c.name, c.format), c.expected) << c.name << " format " << c.format;
}
