// Checks made when a test is started, before anything is opened: the
// transfer-size text and the largest transfer the device accepts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

inline constexpr const char* kTransferSizeNotWholeMessage = "Transfer size must be whole number!";
inline constexpr const char* kTransferSizeUnsupportedMessage = "Sorry: this transfer size is not supported.";
inline constexpr const char* kTransferSizeUnsupportedExplanation =
    "Please enter a new size between 1 and 511 Megabytes.";
inline constexpr const char* kMaxTransferExplanation = " Try reducing the transfer size below this limit.";
inline constexpr uint32_t kMaxTransferMegabytes = 511;

// True when the text holds nothing but the digits 0 to 9 (an empty text counts).
bool IsWholeNumberText(const std::string& text);

// The megabytes of a whole-number text, as the system's number conversion
// reads it; an empty text gives 0. Values past kMaxTransferMegabytes come
// back as kMaxTransferMegabytes + 1 so that no size arithmetic can overflow.
uint32_t MegabytesFromText(const std::string& text);

// A refusal: the alert's message and explanation.
struct LaunchRefusal {
    std::string message;
    std::string explanation;
};

// The refusal for a standard test whose transfer exceeds the drive's largest
// accepted transfer (maxSegmentBytes, 0 = no known limit), or nothing.
// RAID sets are never limited.
std::optional<LaunchRefusal> MaxTransferRefusal(uint64_t maxSegmentBytes, uint32_t transferBytes,
                                                const std::string& interfaceText);
