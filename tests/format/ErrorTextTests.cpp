#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "format/ErrorText.h"

namespace {
std::string ErrorText(int16_t number) {
    char text[256];
    ioErrorNoToCStr(number, text);
    return text;
}

TEST(ErrorTexts, KnownNumbersHaveFixedTexts) {
    const std::pair<int16_t, const char*> rows[] = {
        {1, "i/o Error: Permission denied"},
        {13, "i/o Error: Permission denied"},
        {5, "i/o Error: Possible bad sector, connector or data cable"},
        {16, "i/o Error: Device or resource busy"},
        {22, "i/o Error: Invalid argument"},
        {41, "i/o Error: Protocol wrong type for socket "},
        {49, "i/o Error: Can't assign requested address"},
        {50, "i/o Error: Network is down"},
    };
    for (const auto& [number, expected] : rows) EXPECT_EQ(ErrorText(number), expected) << number;
}

TEST(ErrorTexts, NumbersWithoutARowAreUnknown) {
    for (const int16_t number : {0, 3, 7, 46, 47, 51, -1, 32767})
        EXPECT_EQ(ErrorText(number), "Unknown i/o Error = " + std::to_string(number)) << number;
}
}  // namespace

namespace {
std::string SystemText(int number) {
    char text[256];
    SystemErrorToCStr(number, text);
    return text;
}

// Linux numbers its errors differently from the table above 34 and at 11.
TEST(ErrorTexts, LinuxErrorsGetTheirOwnRow) {
    EXPECT_EQ(SystemText(EIO), "i/o Error: Possible bad sector, connector or data cable");
    EXPECT_EQ(SystemText(ENXIO), "i/o Error: No such device or address");
    EXPECT_EQ(SystemText(EAGAIN), "i/o Error: Try operation again later");
    EXPECT_EQ(SystemText(EDEADLK), "i/o Error: Call would deadlock or block so it was aborted");
    EXPECT_EQ(SystemText(EOPNOTSUPP), "i/o Error: Operation not supported on socket");
    EXPECT_EQ(SystemText(ENETDOWN), "i/o Error: Network is down");
    // Faults of the medium and the link as Linux reports them are read errors of the drive.
    for (const int number : {ENODATA, EREMOTEIO, EILSEQ, ETIMEDOUT, ENOLINK, ENOMEDIUM})
        EXPECT_EQ(SystemText(number), "i/o Error: Possible bad sector, connector or data cable") << number;
    EXPECT_EQ(SystemText(ENOSPC), "i/o Error: No space left on device");
    EXPECT_EQ(SystemText(EROFS), "i/o Error: Device or file system is read-only");
    EXPECT_EQ(SystemText(ENOTBLK), "i/o Error: Not a block device");
    EXPECT_EQ(SystemText(EBUSY), "i/o Error: Device or resource busy");
    // Linux errors whose numbers are other errors' rows are not shown under their names.
    for (const int number : {ENAMETOOLONG, ENOSYS, ENOTEMPTY, ELOOP})
        EXPECT_EQ(SystemText(number), "Unknown i/o Error = " + std::to_string(number)) << number;
}
}  // namespace
