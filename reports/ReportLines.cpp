#include "reports/ReportLines.h"

#include "format/ByteText.h"
#include "format/NumberLocale.h"

#include <cstdarg>
#include <cstdio>

namespace report_lines {

std::string Line(const char* format, ...)
{
    const CNumericScope numbers;
    char line[1024];  // the longest report line is far below this
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    return length < 0 ? std::string() : std::string(line);
}

std::string GroupedDigits(uint64_t number)
{
    char text[256];
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(number));
    InsertThousandsSeparators(text);
    return text;
}

}  // namespace report_lines
