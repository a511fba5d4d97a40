#include "display/OverlaySettings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

#include <limits>

bool gOverlayEnabled = false;

namespace {
QPointer<QLineEdit> gBaselineField;
QPointer<QComboBox> gSafetyPopup;
uint32_t gTargetRate = 0;   // the last whole number read or set
int32_t gSafetyValue = 1;
}  // namespace

void SetOverlaySettingsSheet(QLineEdit* baselineField, QComboBox* safetyPopup)
{
    gBaselineField = baselineField;
    gSafetyPopup = safetyPopup;
}

void SetOverlayTargetRate(uint32_t megabytesPerSecond)
{
    gTargetRate = megabytesPerSecond;
}

void SetOverlaySafetyValue(int32_t popupValue)
{
    gSafetyValue = popupValue;
}

bool ParseWholeNumber(const QString& text, uint32_t& value)
{
    uint64_t number = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        number = number * 10 + static_cast<uint64_t>(c.unicode() - '0');
        if (number > std::numeric_limits<uint32_t>::max())
            number = std::numeric_limits<uint32_t>::max();
    }
    value = static_cast<uint32_t>(number);
    return true;
}

OverlayInputs CurrentOverlayInputs()
{
    if (!gBaselineField.isNull()) {
        uint32_t rate = 0;
        if (ParseWholeNumber(gBaselineField->text().trimmed(), rate))
            gTargetRate = rate;
    }
    if (!gSafetyPopup.isNull())
        gSafetyValue = gSafetyPopup->currentIndex() + 1;
    OverlayInputs inputs;
    inputs.enabled = gOverlayEnabled;
    inputs.targetRate = static_cast<double>(gTargetRate);
    // A popup without a choice means no margin, never a negative one.
    inputs.safetyValue = gSafetyValue < 1 ? 1 : gSafetyValue;
    return inputs;
}
