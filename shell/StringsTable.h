// The localised strings table: a file of "key" = "text"; lines (C-style
// escapes \" \\ \n), installed as the program's lookup so the formatting
// functions and the alerts find their texts in it.
#pragma once

#include <map>
#include <string>

// Parses a strings file's text into key/text pairs; malformed lines are skipped.
std::map<std::string, std::string> ParseStringsTable(const std::string& text);

// Loads path and installs it as the lookup; false when the file cannot be read
// (the English keys are then shown).
bool InstallStringsTable(const std::string& path);

// Adds the entries of path over those installed (a language's table over the
// English one); false when the file cannot be read.
bool AddStringsTable(const std::string& path);
