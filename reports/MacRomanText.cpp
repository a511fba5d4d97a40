#include "reports/MacRomanText.h"

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace {
struct IconvCloser {
    void operator()(void* descriptor) const { iconv_close(static_cast<iconv_t>(descriptor)); }
};
using Converter = std::unique_ptr<void, IconvCloser>;

Converter OpenConverter()
{
    const iconv_t descriptor = iconv_open("MACINTOSH", "UTF-8");
    return Converter(descriptor == reinterpret_cast<iconv_t>(-1) ? nullptr : descriptor);
}

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}
}  // namespace

std::string Utf8ToMacRoman(const std::string& utf8)
{
    const Converter converter = OpenConverter();
    if (!converter) {
        // No converter: keep the ASCII, mark the rest.
        std::string ascii;
        for (const char c : utf8) ascii += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        return ascii;
    }
    const auto descriptor = static_cast<iconv_t>(converter.get());
    std::string result;
    result.reserve(utf8.size());
    std::string input = utf8;
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted = iconv(descriptor, &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (converted != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // Unconvertible (EILSEQ) or cut-off (EINVAL) character: replace it and go on.
        result += '?';
        // The character is its first byte and the continuation bytes after it.
        do {
            ++in;
            --inLeft;
        } while (inLeft > 0 && IsContinuationByte(*in));
        iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    }
    return result;
}
