// The application's localised strings: English text is the key and the
// fallback. The interface installs its strings table at start-up; without
// one, every lookup gives the English text.
#pragma once

#include <string>

// Returns the translation of key, or nullptr when the table has none.
using LocalizationLookup = const char* (*)(const char* key);

void SetLocalizationLookup(LocalizationLookup lookup);

// The localised text for an English key (the key itself when untranslated).
std::string LocalizedText(const char* key);
// The same with its "%1" (where it has one) filled in.
std::string LocalizedText(const char* key, const std::string& fill);

// Writes the localised text for key into text (256 bytes, NUL-terminated).
// False when no text can be obtained (text untouched).
bool LocalizedCString(const char* key, char* text);
