// What the target-rate overlay draws from: the overlay switch, the target
// media rate (the options sheet's baseline speed {'etxt', 2}) and the safety
// popup {'popb', 7}. The values are read at every redraw.
#pragma once

#include <QString>

#include <cstdint>

class QComboBox;
class QLineEdit;

// The "OverlayEnabled" preference last loaded; the overlay shows only while true.
extern bool gOverlayEnabled;

struct OverlayInputs {
    bool enabled = false;
    double targetRate = 0.0;      // MB/s
    int32_t safetyValue = 1;      // 1-based popup value; margin = (5 * value - 5) percent
};

// The options sheet's baseline field and safety popup, which the overlay reads.
// Without them (command line, tests) the values below are used.
void SetOverlaySettingsSheet(QLineEdit* baselineField, QComboBox* safetyPopup);
void SetOverlayTargetRate(uint32_t megabytesPerSecond);
void SetOverlaySafetyValue(int32_t popupValue);

// The inputs as they stand now. A baseline field that momentarily holds
// anything but digits counts as the last whole number read from it.
OverlayInputs CurrentOverlayInputs();

// A field of digits only; an empty field is 0. Values beyond 32 bits saturate.
// False for any other character.
bool ParseWholeNumber(const QString& text, uint32_t& value);
