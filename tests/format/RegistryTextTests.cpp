#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "format/RegistryText.h"

namespace {
using Type = RegistryNumber::Type;

std::string NumberText(Type type, int64_t integer, double real, bool hex) {
    char text[256] = "untouched";
    FormatRegistryNumber({type, integer, real}, text, hex);
    return text;
}

TEST(RegistryNumbers, DecimalAndHexadecimalByStoredType) {
    const struct { Type type; int64_t integer; double real; const char* decimal; const char* hex; } rows[] = {
        {Type::SInt8, 'A', 0, "A", "41"},
        {Type::SInt16, -2, 0, "-2", "FFFE"},
        {Type::SInt32, 4096, 0, "4096", "1000"},
        {Type::Long, 2147483647, 0, "2147483647", "7FFFFFFF"},
        // 64-bit values dump their bytes in memory order (least significant first here).
        {Type::SInt64, 0x0102030405060708LL, 0, "72623859790382856", "0807060504030201"},
        {Type::Float32, 0, 1.5, "1.500000", "1.500000"},
        {Type::CFIndex, 7, 0, "", ""},
        {Type::NSInteger, 7, 0, "untouched", "untouched"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(NumberText(row.type, row.integer, row.real, false), row.decimal) << row.decimal;
        EXPECT_EQ(NumberText(row.type, row.integer, row.real, true), row.hex) << row.hex;
    }
}

TEST(HexDumps, TwoUpperCaseDigitsPerByte) {
    const unsigned char bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
    char text[256] = "untouched";
    FormatHexBytes(bytes, sizeof bytes, text);
    EXPECT_STREQ(text, "000FA5FF");
    FormatRegistryData(bytes, 0, text);
    EXPECT_STREQ(text, "");
    // Long data stops at the text's capacity.
    const std::vector<unsigned char> data(300, 0xAB);
    char guarded[256 + 16];
    guarded[256] = 'G';  // guard just past the 256 bytes a caller provides
    FormatRegistryData(data.data(), data.size(), guarded);
    std::string expected;
    for (std::size_t i = 0; i < kMaxDumpedDataBytes; ++i) expected += "AB";
    EXPECT_EQ(std::string(guarded), expected);
    EXPECT_EQ(guarded[256], 'G');
}
}  // namespace
