#include "reports/ReportFileName.h"

#include "reports/ReportText.h"

#include <cctype>

namespace {
bool EndsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool SameIgnoringCase(const std::string& text, std::size_t at, const std::string& what)
{
    if (at + what.size() > text.size())
        return false;
    for (std::size_t i = 0; i < what.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != std::tolower(static_cast<unsigned char>(what[i])))
            return false;
    return true;
}

std::string ReplaceEveryIgnoringCase(const std::string& text, const std::string& from, const std::string& to)
{
    std::string result;
    std::size_t at = 0;
    while (at < text.size()) {
        if (SameIgnoringCase(text, at, from)) {
            result += to;
            at += from.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}
}  // namespace

std::string SuggestedReportFileName(const std::string& name, int32_t format)
{
    return name + (format == kTextReportFormat ? " Results.txt" : " Results.xls");
}

std::string ChangeFileNameSuffix(const std::string& name, int32_t format)
{
    if (name.empty() || (format != kTextReportFormat && format != kSpreadsheetReportFormat))
        return name;
    const std::string wanted = format == kTextReportFormat ? ".txt" : ".xls";
    const std::string other = format == kTextReportFormat ? ".xls" : ".txt";
    if (EndsWith(name, other))
        return ReplaceEveryIgnoringCase(name, other, wanted);
    if (!EndsWith(name, wanted))
        return name + wanted;
    return name;
}

int32_t ReportFormatForFileName(const std::string& path)
{
    return EndsWith(path, ".xls") ? kSpreadsheetReportFormat : kTextReportFormat;
}
