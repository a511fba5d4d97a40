#include "shell/StringsTable.h"

#include "format/Localization.h"

#include <fstream>
#include <sstream>

namespace {
std::map<std::string, std::string> gTable;

const char* LookUp(const char* key)
{
    const auto found = gTable.find(key);
    return found != gTable.end() ? found->second.c_str() : nullptr;
}

// Reads a quoted string starting at text[position] (the opening quote); npos on failure.
std::size_t ReadQuoted(const std::string& text, std::size_t position, std::string* value)
{
    if (position >= text.size() || text[position] != '"')
        return std::string::npos;
    value->clear();
    for (std::size_t i = position + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            return i + 1;
        if (c == '\\' && i + 1 < text.size()) {
            const char escaped = text[++i];
            *value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
        } else {
            *value += c;
        }
    }
    return std::string::npos;
}

std::size_t SkipSpaces(const std::string& text, std::size_t position)
{
    while (position < text.size() && (text[position] == ' ' || text[position] == '\t')) ++position;
    return position;
}
}  // namespace

std::map<std::string, std::string> ParseStringsTable(const std::string& text)
{
    std::map<std::string, std::string> table;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::string key, value;
        std::size_t at = ReadQuoted(line, SkipSpaces(line, 0), &key);
        if (at == std::string::npos)
            continue;
        at = SkipSpaces(line, at);
        if (at >= line.size() || line[at] != '=')
            continue;
        at = ReadQuoted(line, SkipSpaces(line, at + 1), &value);
        if (at == std::string::npos)
            continue;
        at = SkipSpaces(line, at);
        if (at < line.size() && line[at] == ';')
            table[key] = value;
    }
    return table;
}

namespace {
bool ReadStringsFile(const std::string& path, std::map<std::string, std::string>* table)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::stringstream text;
    text << in.rdbuf();
    *table = ParseStringsTable(text.str());
    return true;
}
}  // namespace

bool InstallStringsTable(const std::string& path)
{
    if (!ReadStringsFile(path, &gTable))
        return false;
    SetLocalizationLookup(LookUp);
    return true;
}

bool AddStringsTable(const std::string& path)
{
    std::map<std::string, std::string> added;
    if (!ReadStringsFile(path, &added))
        return false;
    for (auto& [key, text] : added)
        gTable[key] = std::move(text);
    SetLocalizationLookup(LookUp);
    return true;
}
