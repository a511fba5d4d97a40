// Texts of error numbers: the fixed table and Linux's own numbering.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "format/ErrorText.h"

namespace {
TEST(ErrorTexts, FixedRowsUnknownNumbersAndLinuxErrors)
{
    const std::pair<int16_t, const char*> rows[] = {
        {1, "i/o Error: Permission denied"},
        {5, "i/o Error: Possible bad sector, connector or data cable"},
        {41, "i/o Error: Protocol wrong type for socket "},
        {50, "i/o Error: Network is down"},
    };
    char text[256];
    for (const auto& [number, expected] : rows) {
        IoErrorText(number, text);
        EXPECT_STREQ(text, expected) << number;
    }
    for (const int16_t number : {0, 3, 46, 51, -1, 32767}) {
        IoErrorText(number, text);
        EXPECT_EQ(text, "Unknown i/o Error = " + std::to_string(number));
    }
    // Linux numbers its errors differently from the table above 34 and at 11.
    const std::pair<int, const char*> linuxRows[] = {
        {EIO, "i/o Error: Possible bad sector, connector or data cable"},
        {ENXIO, "i/o Error: No such device or address"},
        {EAGAIN, "i/o Error: Try operation again later"},
        {EDEADLK, "i/o Error: Call would deadlock or block so it was aborted"},
        {ENETDOWN, "i/o Error: Network is down"},
        // Faults of the medium as Linux reports them are read errors of the drive.
        {ENODATA, "i/o Error: Possible bad sector, connector or data cable"},
        {ENOMEDIUM, "i/o Error: Possible bad sector, connector or data cable"},
        {ENOSPC, "i/o Error: No space left on device"},
        {EROFS, "i/o Error: Device or file system is read-only"},
        {ENOTBLK, "i/o Error: Not a block device"},
        {EBUSY, "i/o Error: Device or resource busy"},
    };
    for (const auto& [number, expected] : linuxRows) {
        SystemErrorText(number, text);
        EXPECT_STREQ(text, expected) << number;
    }
    for (const int number : {ENAMETOOLONG, ENOSYS, ENOTEMPTY, ELOOP}) {  // their numbers are other rows
        SystemErrorText(number, text);
        EXPECT_EQ(text, "Unknown i/o Error = " + std::to_string(number));
    }
}
}  // namespace
