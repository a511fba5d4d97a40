#include "format/RegistryText.h"

#include <cstdio>
#include <cstring>
#include <vector>

void FormatRegistryNumber(const RegistryNumber& number, char* text, bool hex) {
    using Type = RegistryNumber::Type;
    switch (number.type) {
        case Type::SInt8:
        case Type::Char: {
            const auto byte = static_cast<unsigned char>(number.integer);
            if (hex)
                std::snprintf(text, 256, "%X", static_cast<unsigned>(byte));
            else
                std::snprintf(text, 256, "%c", static_cast<char>(byte));
            return;
        }
        case Type::SInt16:
        case Type::Short: {
            const auto value = static_cast<short>(number.integer);
            if (hex)
                std::snprintf(text, 256, "%hX", static_cast<unsigned short>(value));
            else
                std::snprintf(text, 256, "%hd", value);
            return;
        }
        case Type::SInt32:
        case Type::Int:
        case Type::Long: {
            const auto value = static_cast<int32_t>(number.integer);
            if (hex)
                std::snprintf(text, 256, "%lX", static_cast<unsigned long>(static_cast<uint32_t>(value)));
            else
                std::snprintf(text, 256, "%ld", static_cast<long>(value));
            return;
        }
        case Type::SInt64:
        case Type::LongLong: {
            const int64_t value = number.integer;
            if (hex) {
                // The value's bytes in memory order.
                unsigned char bytes[sizeof value];
                std::memcpy(bytes, &value, sizeof value);
                FormatHexBytes(bytes, sizeof bytes, text);
            } else {
                std::snprintf(text, 256, "%lld", static_cast<long long>(value));
            }
            return;
        }
        case Type::Float32:
        case Type::Float:
            std::snprintf(text, 256, "%f", static_cast<double>(static_cast<float>(number.real)));
            return;
        case Type::Float64:
        case Type::Double:
            std::snprintf(text, 256, "%f", number.real);
            return;
        case Type::CFIndex:
            text[0] = '\0';
            return;
        case Type::NSInteger:
        case Type::CGFloat:
            return;  // no text for these types
    }
}

void FormatHexBytes(const unsigned char* bytes, std::size_t length, char* text) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < length; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    text[2 * length] = '\0';
}

void FormatRegistryData(const unsigned char* data, std::size_t length, char* text) {
    // The text holds 256 bytes: longer data is dumped up to the first 127 bytes.
    const std::size_t dumped = length < kMaxDumpedDataBytes ? length : kMaxDumpedDataBytes;
    const std::vector<unsigned char> copy(data, data + dumped);
    FormatHexBytes(copy.data(), copy.size(), text);
}
