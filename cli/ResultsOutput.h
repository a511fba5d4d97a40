// The results of a finished run, as a table for people or as JSON for scripts.
// Both name the run's target by the node it tested.
#pragma once

#include "engine/Run.h"

#include <ostream>
#include <string>

void PrintResultsTable(std::ostream& out, const Run& run);
// extraJsonMembers: more "name": value pairs for the JSON object, or empty.
void PrintResultsJson(std::ostream& out, const Run& run, const std::string& extraJsonMembers);

// A JSON string literal with the needed escapes; bytes that are no valid
// UTF-8 become U+FFFD, so the literal always is.
std::string JsonQuoted(const std::string& text);
