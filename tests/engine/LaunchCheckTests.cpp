// Start-time rules: the transfer size text, the device's largest transfer and
// the bar width for the zone count.
#include "engine/LaunchChecks.h"
#include "engine/TestModel.h"

#include <gtest/gtest.h>

namespace {

TEST(TransferSizeText, WholeNumbersAndTheirValue)
{
    const struct { const char* text; bool whole; uint32_t megabytes; } rows[] = {
        {"", true, 0},  // empty passes the digit check and is refused later as too small
        {"1", true, 1},
        {"511", true, 511},
        {"512", true, 512},
        {"0007", true, 7},
        {"99999999999999999999", true, 512},  // huge values cannot overflow the size arithmetic
        {"1a", false, 1},
        {"10.5", false, 10},
        {" 4", false, 0},
        {"-4", false, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.whole, IsWholeNumberText(row.text)) << '"' << row.text << '"';
        EXPECT_EQ(row.megabytes, MegabytesFromText(row.text)) << '"' << row.text << '"';
    }
}

TEST(MaxTransfer, RefusalNamesTheLargestWholeUnit)
{
    const uint32_t mb = 1048576;
    const struct { uint64_t maxSegment; uint32_t transfer; const char* interfaceText; std::string message; } rows[] = {
        {131072, mb, "USB", "Sorry, the test drive will not accept transfers above 128 KiloBytes."},
        {4194304, 5 * mb, "SATA", "Sorry, the test drive will not accept transfers above 4 MegaBytes."},
        {4194304, 4 * mb, "SATA", ""},
        {1000, mb, "SATA", "Sorry, the test drive will not accept transfers above 1000 Bytes."},
        {131072, 511 * mb, "Software RAID 1 (md0)", ""},
        {0, 511 * mb, "NVMe", ""},
        {2147483647, 511 * mb, "SATA", ""},
        {2147483646, 2147483647u + 1u, "SATA",
         "Sorry, the test drive will not accept transfers above 2047 MegaBytes."},
    };
    for (const auto& row : rows) {  // no message: accepted
        const auto refusal = MaxTransferRefusal(row.maxSegment, row.transfer, row.interfaceText);
        EXPECT_EQ(row.message, refusal ? refusal->message : "") << row.maxSegment << " / " << row.transfer;
    }
}

TEST(BarWidth, FollowsTheZoneCountTable)
{
    const std::pair<int32_t, uint16_t> rows[] = {{1, 15}, {9, 15}, {10, 12}, {19, 12}, {20, 10}, {29, 10},
                                                 {30, 8}, {39, 8}, {40, 6}, {50, 6}};
    for (const auto& [zones, width] : rows)
        EXPECT_EQ(width, BarWidthForZoneCount(zones)) << zones;
}

}  // namespace
