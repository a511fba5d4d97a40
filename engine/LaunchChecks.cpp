#include "engine/LaunchChecks.h"

#include <cstdio>

bool IsWholeNumberText(const std::string& text)
{
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

uint32_t MegabytesFromText(const std::string& text)
{
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > kMaxTransferMegabytes)
            return kMaxTransferMegabytes + 1;
    }
    return static_cast<uint32_t>(value);
}

std::optional<LaunchRefusal> MaxTransferRefusal(uint64_t maxSegmentBytes, uint32_t transferBytes,
                                                const std::string& interfaceText)
{
    if (interfaceText.find("RAID") != std::string::npos)
        return std::nullopt;
    if (maxSegmentBytes == 0 || maxSegmentBytes >= 2147483647u || transferBytes <= maxSegmentBytes)
        return std::nullopt;
    const char* unit = "Bytes.";
    uint64_t amount = maxSegmentBytes;
    if (maxSegmentBytes / 1048576 != 0) {
        amount = maxSegmentBytes / 1048576;
        unit = "MegaBytes.";
    } else if (maxSegmentBytes / 1024 != 0) {
        amount = maxSegmentBytes / 1024;
        unit = "KiloBytes.";
    }
    char message[160];
    std::snprintf(message, sizeof message, "Sorry, the test drive will not accept transfers above %ld %s",
                  static_cast<long>(amount), unit);
    return LaunchRefusal{message, kMaxTransferExplanation};
}
