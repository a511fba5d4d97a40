#include "format/Localization.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {
std::atomic<LocalizationLookup> gLookup{nullptr};
}

void SetLocalizationLookup(LocalizationLookup lookup) { gLookup.store(lookup); }

std::string LocalizedText(const char* key) {
    if (key == nullptr) return {};
    const LocalizationLookup lookup = gLookup.load();
    if (lookup != nullptr) {
        if (const char* translated = lookup(key); translated != nullptr) return translated;
    }
    return key;
}

std::string LocalizedText(const char* key, const std::string& fill) {
    std::string text = LocalizedText(key);
    if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, fill);
    return text;
}

bool LocalizedCString(const char* key, char* text) {
    if (key == nullptr || text == nullptr) return false;
    const std::string localized = LocalizedText(key);
    // Truncate on a character boundary so a long translation stays valid UTF-8.
    std::size_t length = std::min<std::size_t>(localized.size(), 255);
    while (length > 0 && length < localized.size() &&
           (static_cast<unsigned char>(localized[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(text, localized.data(), length);
    text[length] = '\0';
    return true;
}
