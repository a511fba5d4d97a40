// The results of a finished test, as a table for people or as JSON for scripts.
#pragma once

#include <ostream>
#include <string>

struct RunDescription {
    std::string target;
    uint64_t sizeBytes = 0;
    bool randomTest = false;
    bool writes = false;
    std::string extraJsonMembers;  // more "name": value pairs for the JSON object, or empty
};

void PrintResultsTable(std::ostream& out, const RunDescription& run);
void PrintResultsJson(std::ostream& out, const RunDescription& run);

// A JSON string literal with the needed escapes; bytes that are no valid
// UTF-8 become U+FFFD, so the literal always is.
std::string JsonQuoted(const std::string& text);
