#include "display/OverlaySettings.h"

#include "display/ControlLookup.h"

#include <QPointer>
#include <QWidget>

#include <limits>

bool gOverlayEnabled = false;

namespace {
// The sheet's baseline field and safety popup, found once.
QPointer<QWidget> gBaselineField;
QPointer<QWidget> gSafetyPopup;
uint32_t gTargetRate = 0;   // the last whole number read or set
int32_t gSafetyValue = 1;
}  // namespace

void SetOverlaySettingsSheet(QWidget* sheet)
{
    gBaselineField = display::FindControl(sheet, "etxt", 2);
    gSafetyPopup = display::FindControl(sheet, "popb", 7);
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
        if (ParseWholeNumber(display::ControlText(gBaselineField).trimmed(), rate))
            gTargetRate = rate;
    }
    if (!gSafetyPopup.isNull())
        gSafetyValue = display::ControlValue(gSafetyPopup);
    OverlayInputs inputs;
    inputs.enabled = gOverlayEnabled;
    inputs.targetRate = static_cast<double>(gTargetRate);
    // A popup without a choice means no margin, never a negative one.
    inputs.safetyValue = gSafetyValue < 1 ? 1 : gSafetyValue;
    return inputs;
}
