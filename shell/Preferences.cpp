#include "shell/Preferences.h"

#include "display/ControlLookup.h"
#include "engine/LaunchChecks.h"
#include "engine/QueuedTransfers.h"
#include "engine/TestModel.h"
#include "display/OverlaySettings.h"
#include "shell/Alerts.h"
#include "shell/Toolkit.h"
#include "shell/UserLanguage.h"
#include "format/Localization.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QSettings>

#include <cstring>
#include <memory>

WindowRef gSettingsSheetWindow = nullptr;

using display::ControlText;
using display::ControlValue;
using display::FindControl;
using display::SetControlText;

namespace {
QString gOrganization = QStringLiteral("Kestrelia");
QString gApplication = QStringLiteral("Kestrelia");

constexpr const char* kVersionKey = "AppPrefsVersionNum";
constexpr const char* kOverlayKey = "OverlayEnabled";
constexpr const char* kIterationsKey = "IterationsPopup";
constexpr const char* kZonesKey = "ZonesPopup";
constexpr const char* kSafetyKey = "SafetyPopup";
constexpr const char* kTransferSizeKey = "TransferSize";
constexpr const char* kBaselineKey = "BaselineSpeed";
constexpr const char* kQueueDepthKey = "RandomQueueDepth";  // the depth itself, 1 to 256
constexpr int kQueueDepthPopup = 8;
constexpr int kQueueDepthSummary = 130;

std::unique_ptr<QSettings> ApplicationSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, gOrganization, gApplication);
}

// A value from the application's settings or, while they have no version
// yet, from the suite.
QVariant ReadValue(const char* key)
{
    const auto own = ApplicationSettings();
    if (own->contains(key))
        return own->value(key);
    if (!own->contains(kVersionKey)) {
        const QSettings suite(QSettings::IniFormat, QSettings::UserScope, kPrefsSuiteDomain);
        return suite.value(key);
    }
    return {};
}

void WriteValue(const char* key, const QVariant& value)
{
    ApplicationSettings()->setValue(key, value);
}

QWidget* Sheet()
{
    return static_cast<QWidget*>(gSettingsSheetWindow);
}

QWidget* MainWindow()
{
    return static_cast<QWidget*>(gMainWindowRef);
}

void SetSummaryText(int id, const QString& text)
{
    SetControlText(FindControl(MainWindow(), "stxt", id), text);
}

// Enables or disables the controls inside the overlay group, not the group's own check box.
void EnableOverlayControls(bool enabled)
{
    if (enabled)
        EnableAllEmbeddedControls(gSettingsSheetWindow, "cgrp", 1);
    else
        DisableAllEmbeddedControls(gSettingsSheetWindow, "cgrp", 1);
}

void ShowOverlaySummary(bool overlayOn)
{
    if (!overlayOn) {
        SetSummaryText(10, QString::fromStdString(LocalizedText("Disabled")));
        return;
    }
    const int safety = ControlValue(FindControl(Sheet(), "popb", 7));
    if (safety == 1)
        SetSummaryText(10, QString::fromStdString(LocalizedText("none")));
    else
        SetSummaryText(10, QString::asprintf("%2ld %s", static_cast<long>((safety - 1) * 5), "%"));
}

// A beep, then the program's own error alert, like every other alert.
void DefaultRejection(const QString& message, const QString& explanation)
{
    QApplication::beep();
    const QByteArray messageKey = message.toUtf8();
    const QByteArray explanationKey = explanation.toUtf8();
    DoStandardLocalizedAlert(messageKey.constData(), explanation.isEmpty() ? nullptr : explanationKey.constData(),
                             kAlertStopAlert);
}

SheetRejection gRejection = DefaultRejection;

SheetValues gAccepted;

SheetValues ReadSheetValues()
{
    QWidget* sheet = Sheet();
    SheetValues values;
    values.transferSize = ControlText(FindControl(sheet, "etxt", 1));
    values.zones = ControlValue(FindControl(sheet, "popb", 3));
    values.cycles = ControlValue(FindControl(sheet, "popb", 4));
    values.overlay = ControlValue(FindControl(sheet, "cgrp", 1)) != 0;
    values.baseline = ControlText(FindControl(sheet, "etxt", 2));
    values.safety = ControlValue(FindControl(sheet, "popb", 7));
    values.queueDepthItem = ControlValue(FindControl(sheet, "popb", kQueueDepthPopup));
    return values;
}

// The sheet's controls back to what was last accepted (or loaded).
void RestoreSheetValues(const SheetValues& values)
{
    QWidget* sheet = Sheet();
    SetControlText(FindControl(sheet, "etxt", 1), values.transferSize);
    SetThisWindowControlValue32(sheet, "popb", 3, values.zones);
    SetThisWindowControlValue32(sheet, "popb", 4, values.cycles);
    SetControlText(FindControl(sheet, "etxt", 2), values.baseline);
    SetThisWindowControlValue32(sheet, "popb", 7, values.safety);
    SetThisWindowControlValue32(sheet, "popb", kQueueDepthPopup, values.queueDepthItem);
    SetThisWindowControlValue32(sheet, "cgrp", 1, values.overlay ? 1 : 0);
    EnableOverlayControls(values.overlay);
}
}  // namespace

const SheetValues& AcceptedSheetValues()
{
    return gAccepted;
}

void CancelSettingsSheet()
{
    RestoreSheetValues(gAccepted);
}

void SetPreferencesLocation(const QString& organization, const QString& application)
{
    gOrganization = organization;
    gApplication = application;
}

void SaveVersionNumberIntoPrefs(int32_t version)
{
    WriteValue(kVersionKey, version);
}

void SaveThisBoolCtlValueIntoPrefs(QWidget* window, const char* signature, int id, const char* key)
{
    WriteValue(key, ControlValue(FindControl(window, signature, id)) != 0);
}

void SaveThisS16CtlValueIntoPrefs(QWidget* window, const char* signature, int id, const char* key)
{
    WriteValue(key, static_cast<int>(static_cast<int16_t>(ControlValue(FindControl(window, signature, id)))));
}

void SaveThisETextCtlValueIntoPrefs(QWidget* window, int id, const char* key)
{
    WriteValue(key, ControlText(FindControl(window, "etxt", id)));
}

int32_t GetPrefsVersion()
{
    return ReadValue(kVersionKey).toInt();
}

int16_t GetPrefsNumValue16(const char* key)
{
    return static_cast<int16_t>(ReadValue(key).toInt());
}

bool GetPrefsBoolKeyValue(const char* key)
{
    return ReadValue(key).toBool();
}

void GetPrefsCString(const char* key, char* text)
{
    text[0] = '\0';
    const QByteArray bytes = ReadValue(key).toString().toUtf8();
    if (bytes.size() >= 256)
        return;  // does not fit: read as empty
    std::memcpy(text, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    text[bytes.size()] = '\0';
}

void GetApplicationPrefs()
{
    QWidget* sheet = Sheet();
    char text[256];

    GetPrefsCString(kTransferSizeKey, text);
    if (text[0] != '\0') {
        SetControlText(FindControl(sheet, "etxt", 1), QString::fromUtf8(text));
        SetSummaryText(6, CountLabel(MegabytesFromText(text), "Megabyte"));
    }
    if (const int16_t cycles = GetPrefsNumValue16(kIterationsKey); cycles != 0) {
        SetThisWindowControlValue32(sheet, "popb", 4, cycles);
        SetSummaryText(7, QString::number(cycles));
    }
    if (const int16_t zones = GetPrefsNumValue16(kZonesKey); zones != 0) {
        SetThisWindowControlValue32(sheet, "popb", 3, zones);
        SetSummaryText(8, QString::number(zones));
    }
    gOverlayEnabled = GetPrefsBoolKeyValue(kOverlayKey);

    GetPrefsCString(kBaselineKey, text);
    if (text[0] != '\0') {
        SetControlText(FindControl(sheet, "etxt", 2), QString::fromUtf8(text));
        SetSummaryText(9, gOverlayEnabled ? QString::fromUtf8(text) + QLatin1Char(' ') + QString::fromStdString(LocalizedText("MB/sec"))
                                          : QString::fromStdString(LocalizedText("Disabled")));
    }  // an empty baseline leaves its summary as it was
    if (const int16_t safety = GetPrefsNumValue16(kSafetyKey); safety != 0)
        SetThisWindowControlValue32(sheet, "popb", 7, safety);
    ShowOverlaySummary(gOverlayEnabled);

    SetThisWindowControlValue32(sheet, "cgrp", 1, gOverlayEnabled ? 1 : 0);
    EnableOverlayControls(gOverlayEnabled);

    // A missing or unsupported depth leaves the popup as it was (depth 1 at first).
    if (const QVariant depth = ReadValue(kQueueDepthKey); IsSupportedQueueDepth(depth.toUInt()))
        SetThisWindowControlValue32(sheet, "popb", kQueueDepthPopup, PopupItemForQueueDepth(depth.toUInt()));
    SetSummaryText(kQueueDepthSummary, QString::fromStdString(LocalizedText("Queue depth: %1")).arg(SheetQueueDepth()));
    // What the sheet now shows is what a test uses until the sheet is accepted again.
    gAccepted = ReadSheetValues();
}

uint32_t SheetQueueDepth()
{
    return QueueDepthForPopupItem(ControlValue(FindControl(Sheet(), "popb", kQueueDepthPopup)));
}

int32_t SaveApplicationPrefs()
{
    QWidget* sheet = Sheet();
    SaveVersionNumberIntoPrefs(kAppPrefsVersion);
    SaveThisBoolCtlValueIntoPrefs(sheet, "cgrp", 1, kOverlayKey);
    SaveThisS16CtlValueIntoPrefs(sheet, "popb", 4, kIterationsKey);
    SaveThisS16CtlValueIntoPrefs(sheet, "popb", 3, kZonesKey);
    SaveThisS16CtlValueIntoPrefs(sheet, "popb", 7, kSafetyKey);
    SaveThisETextCtlValueIntoPrefs(sheet, 1, kTransferSizeKey);
    SaveThisETextCtlValueIntoPrefs(sheet, 2, kBaselineKey);
    WriteValue(kQueueDepthKey, SheetQueueDepth());
    const auto settings = ApplicationSettings();
    settings->sync();
    return settings->status() == QSettings::NoError ? 0 : -1;
}

void SetSheetRejection(SheetRejection rejection)
{
    gRejection = rejection ? std::move(rejection) : SheetRejection(DefaultRejection);
}

bool AcceptSettingsSheet()
{
    QWidget* sheet = Sheet();
    const std::string sizeText = ControlText(FindControl(sheet, "etxt", 1)).toStdString();
    if (!IsWholeNumberText(sizeText)) {
        gRejection(kSheetSizeNotWholeMessage, QString());
        return false;
    }
    const uint32_t megabytes = MegabytesFromText(sizeText);
    gXFerMBytes = megabytes;
    gXFerKBytes = megabytes * 1024u;
    if (megabytes < 1 || megabytes > kMaxTransferMegabytes) {
        gRejection(kTransferSizeUnsupportedMessage, kTransferSizeUnsupportedExplanation);
        return false;
    }
    if (!IsWholeNumberText(ControlText(FindControl(sheet, "etxt", 2)).toStdString())) {
        gRejection(kSheetOverlayNotWholeMessage, QString());
        return false;
    }
    if (sheet != nullptr)
        sheet->hide();
    SaveApplicationPrefs();
    GetApplicationPrefs();
    return true;
}

void InstallSettingsSheetHandlers(QWidget* sheet, std::function<void()> onAccepted)
{
    gSettingsSheetWindow = sheet;
    if (auto* confirm = qobject_cast<QAbstractButton*>(FindControl(sheet, "push", 10))) {
        QObject::connect(confirm, &QAbstractButton::clicked, confirm, [onAccepted] {
            if (AcceptSettingsSheet() && onAccepted)
                onAccepted();
        });
    }
    // Escape and the close button cancel: the controls go back to the accepted values.
    if (auto* dialog = qobject_cast<QDialog*>(sheet))
        QObject::connect(dialog, &QDialog::rejected, dialog, [onAccepted] {
            CancelSettingsSheet();
            if (onAccepted)
                onAccepted();  // the overlay follows the sheet's values back
        });
    if (auto* group = qobject_cast<QGroupBox*>(FindControl(sheet, "cgrp", 1))) {
        // The overlay switch itself changes only when the sheet is accepted.
        QObject::connect(group, &QGroupBox::toggled, group,
                         [](bool on) { EnableOverlayControls(on); });
    }
}
