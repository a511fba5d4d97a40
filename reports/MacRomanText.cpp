#include "reports/MacRomanText.h"

#include <cerrno>
#include <iconv.h>

namespace {

class Converter {
public:
    Converter() : handle_(iconv_open("MACINTOSH//TRANSLIT", "UTF-8")) {}
    ~Converter()
    {
        if (valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

}  // namespace

bool ConvertUtf8ToMacRoman(const std::string& utf8, std::string* macRoman)
{
    const Converter converter;
    if (!converter.valid())
        return false;
    std::string result;
    result.reserve(utf8.size());
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char chunk[4096];
    while (inLeft > 0) {
        char* out = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t converted = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        result.append(chunk, static_cast<std::size_t>(out - chunk));
        if (converted != static_cast<std::size_t>(-1))
            continue;
        if (error == E2BIG)
            continue;
        // EILSEQ or EINVAL: a byte that starts no valid character here.
        result += '?';
        ++in;
        --inLeft;
    }
    *macRoman = std::move(result);
    return true;
}
