#include "format/ByteText.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "format/Localization.h"
#include "format/TextBuffer.h"

namespace {
constexpr int kHighestUnit = 8;

const char* const kShortExact[kHighestUnit + 1] = {
    "%ld B", "%.0f KB", "%.0f MB", "%.0f GB", "%.0f TB", "%.0f PB", "%.0f EB", "%.0f ZB", "%.0f YB"};
const char* const kShortInexact[kHighestUnit + 1] = {
    "%ld B", "%.1f KB", "%.1f MB", "%.1f GB", "%.1f TB", "%.1f PB", "%.1f EB", "%.1f ZB", "%.1f YB"};
const char* const kLongLabels[kHighestUnit + 1] = {
    "Bytes", "Kilobytes", "Megabytes", "Gigabytes", "Terabytes",
    "PetaBytes", "ExaBytes", "ZettaBytes", "YottaBytes"};

// A count split into binary units: magnitude in units of 1024^unit plus the
// remainder of the last division, in 1/1024ths.
struct ScaledCount {
    bool negative = false;
    int unit = 0;
    int64_t magnitude = 0;
    int64_t remainder = 0;

    bool Exact() const { return remainder == 0; }

    float Value() const {
        const float whole = static_cast<float>((magnitude >> 16) & 0xFFFF) * 65536.0f +
                            static_cast<float>(magnitude & 0xFFFF);
        return whole + static_cast<float>(remainder) * 0.0009765625f;
    }

    long Bytes() const { return magnitude < 0 ? 0L : static_cast<long>(magnitude); }
};

ScaledCount Scale(int64_t count) {
    ScaledCount scaled;
    scaled.negative = count < 0;
    if (count == std::numeric_limits<int64_t>::min()) ++count;
    scaled.magnitude = scaled.negative ? -count : count;
    while (scaled.magnitude >= 1024) {
        scaled.remainder = scaled.magnitude % 1024;
        scaled.magnitude /= 1024;
        ++scaled.unit;
    }
    return scaled;
}

void WriteShort(const ScaledCount& scaled, char* text) {
    std::string body;
    if (scaled.unit > kHighestUnit)
        body = "???";
    else if (scaled.unit == 0)
        body = FormatValue("%ld B", scaled.Bytes());
    else
        body = FormatValue(scaled.Exact() ? kShortExact[scaled.unit] : kShortInexact[scaled.unit],
                           static_cast<double>(scaled.Value()));
    CopyToText(scaled.negative ? "-" + body : body, text);
}

void WriteLong(const ScaledCount& scaled, char* text) {
    char label[kTextBufferBytes] = " ";
    if (scaled.unit <= kHighestUnit && !LocalizedCString(kLongLabels[scaled.unit], label)) return;
    std::string number;
    if (scaled.unit == 0)
        number = FormatValue("%ld", scaled.Bytes());
    else
        number = FormatValue(scaled.Exact() ? "%.0f" : "%.3f", static_cast<double>(scaled.Value()));
    CopyToText((scaled.negative ? "-" : "") + number + " " + label, text);
}
}  // namespace

void FormatByteSize(int64_t count, char* text, bool longLabels) {
    const ScaledCount scaled = Scale(count);
    if (longLabels)
        WriteLong(scaled, text);
    else
        WriteShort(scaled, text);
}

void FormatGigabytes(int64_t count, char* text) {
    // Low 30 bits scaled by 2^-30 plus the whole gigabytes above them.
    const float fraction = static_cast<float>(count & 0x3FFFFFFF) * (1.0f / 1073741824.0f);
    const float whole = static_cast<float>(count >> 30);
    CopyToText(FormatValue("%.1f", static_cast<double>(whole + fraction)), text);
}

void InsertThousandsSeparators(char* text) {
    char reversed[256];
    const std::size_t length = std::strlen(text);
    if (length >= sizeof reversed) return;  // longer than the work space: leave it as it is
    for (std::size_t i = 0; i < length; ++i) reversed[i] = text[length - 1 - i];

    char grouped[256 + 256 / 3];
    std::size_t out = 0;
    std::size_t in = 0;
    while (length - in >= 4) {
        for (int k = 0; k < 3; ++k) grouped[out++] = reversed[in++];
        grouped[out++] = ',';
    }
    while (in < length) grouped[out++] = reversed[in++];

    // A grouped text that would not fit the caller's 256 bytes leaves the text as it was.
    if (out > 255) return;
    for (std::size_t i = 0; i < out; ++i) text[i] = grouped[out - 1 - i];
    text[out] = '\0';
}
