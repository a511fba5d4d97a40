// Registry numbers and data as text.
#pragma once

#include <cstddef>
#include <cstdint>

// A number as the device registry stores it: a value and its stored type.
struct RegistryNumber {
    enum class Type {
        SInt8, SInt16, SInt32, SInt64, Float32, Float64,
        Char, Short, Int, Long, LongLong, Float, Double, CFIndex, NSInteger, CGFloat,
    };
    Type type = Type::SInt64;
    int64_t integer = 0;  // integer types
    double real = 0.0;    // floating types
};

// Decimal or hexadecimal text of the number, by its stored type; the buffer
// is left untouched for types without a text.
void FormatRegistryNumber(const RegistryNumber& number, char* text, bool hex);

// Each byte as two upper-case hexadecimal digits, then a NUL.
void FormatHexBytes(const unsigned char* bytes, std::size_t length, char* text);

// Hexadecimal dump of a data value into a 256-byte text; data longer than
// kMaxDumpedDataBytes is dumped up to that many bytes.
inline constexpr std::size_t kMaxDumpedDataBytes = 127;
void FormatRegistryData(const unsigned char* data, std::size_t length, char* text);
