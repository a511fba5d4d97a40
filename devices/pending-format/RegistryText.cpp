#include "format/RegistryText.h"

#include <cstdio>

void ConvertCFNumberToCStr(const RegistryNumber& number, char* text, bool hex)
{
    using Type = RegistryNumber::Type;
    if (number.type == Type::Float32 || number.type == Type::Float64 || number.type == Type::Float ||
        number.type == Type::Double || number.type == Type::CGFloat) {
        std::snprintf(text, 256, "%f", number.real);
        return;
    }
    std::snprintf(text, 256, hex ? "%llX" : "%lld", static_cast<long long>(number.integer));
}

void Buffer2HexCStr(const unsigned char* bytes, std::size_t length, char* text)
{
    for (std::size_t i = 0; i < length; ++i)
        std::snprintf(text + 2 * i, 3, "%02X", bytes[i]);
    text[2 * length] = '\0';
}

void ConvertCFDataToCStr(const unsigned char* data, std::size_t length, char* text)
{
    Buffer2HexCStr(data, length, text);
}
