#include "shell/Preferences.h"

#include "display/OverlaySettings.h"
#include "engine/LaunchChecks.h"
#include "engine/QueuedTransfers.h"
#include "shell/Alerts.h"
#include "shell/MainWindow.h"
#include "shell/UserLanguage.h"
#include "format/Localization.h"

#include <QApplication>
#include <QSettings>

#include <cstring>
#include <memory>

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
constexpr const char* kTestKindKey = "TestKindPopup";         // the main window's test-kind popup, 1 to 3
constexpr const char* kSurfaceSpanKey = "SurfaceSpan";        // gigabytes, as typed
constexpr const char* kSurfaceMinutesKey = "SurfaceMinutes";  // minutes, as typed

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

int16_t StoredNumber16(const char* key)
{
    return static_cast<int16_t>(ReadValue(key).toInt());
}

// Empties text (256 bytes), then copies the stored string into it.
void StoredText(const char* key, char* text)
{
    text[0] = '\0';
    const QByteArray bytes = ReadValue(key).toString().toUtf8();
    if (bytes.size() >= 256)
        return;  // does not fit: read as empty
    std::memcpy(text, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    text[bytes.size()] = '\0';
}

void WriteValue(const char* key, const QVariant& value)
{
    ApplicationSettings()->setValue(key, value);
}

Ui::OptionsSheet& Sheet()
{
    return TheMainWindow()->optionsSheet->ui;
}

Ui::MainWindow& Main()
{
    return TheMainWindow()->ui;
}

int Value(const QComboBox* popup)
{
    return popup->currentIndex() + 1;
}

void SetValue(QComboBox* popup, int value)
{
    popup->setCurrentIndex(value - 1);
}

// Enables or disables the controls inside the overlay group, not the group's own check box.
void EnableOverlayControls(bool enabled)
{
    for (QWidget* child : Sheet().overlayGroup->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setEnabled(enabled);
}

void ShowOverlaySummary(bool overlayOn)
{
    QLabel* summary = Main().safetySummary;
    if (!overlayOn) {
        summary->setText(QString::fromStdString(LocalizedText("Disabled")));
        return;
    }
    const int safety = Value(Sheet().safetyPopup);
    if (safety == 1)
        summary->setText(QString::fromStdString(LocalizedText("none")));
    else
        summary->setText(QString::asprintf("%2ld %s", static_cast<long>((safety - 1) * 5), "%"));
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
    const Ui::OptionsSheet& sheet = Sheet();
    SheetValues values;
    values.transferSize = sheet.transferSize->text();
    values.zones = Value(sheet.zonesPopup);
    values.cycles = Value(sheet.cyclesPopup);
    values.overlay = sheet.overlayGroup->isChecked();
    values.baseline = sheet.baselineSpeed->text();
    values.safety = Value(sheet.safetyPopup);
    values.queueDepthItem = Value(sheet.queueDepthPopup);
    values.surfaceSpan = sheet.surfaceSpan->text();
    values.surfaceMinutes = sheet.surfaceMinutes->text();
    return values;
}

// The sheet's controls back to what was last accepted (or loaded).
void RestoreSheetValues(const SheetValues& values)
{
    const Ui::OptionsSheet& sheet = Sheet();
    sheet.transferSize->setText(values.transferSize);
    SetValue(sheet.zonesPopup, values.zones);
    SetValue(sheet.cyclesPopup, values.cycles);
    sheet.baselineSpeed->setText(values.baseline);
    SetValue(sheet.safetyPopup, values.safety);
    SetValue(sheet.queueDepthPopup, values.queueDepthItem);
    sheet.surfaceSpan->setText(values.surfaceSpan);
    sheet.surfaceMinutes->setText(values.surfaceMinutes);
    sheet.overlayGroup->setChecked(values.overlay);
    EnableOverlayControls(values.overlay);
}
}  // namespace

const SheetValues& AcceptedSheetValues()
{
    return gAccepted;
}

WindowSettings& CurrentWindowSettings()
{
    static WindowSettings settings;
    return settings;
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

int32_t StoredPreferencesVersion()
{
    return ReadValue(kVersionKey).toInt();
}

bool StoredPreferenceBool(const char* key)
{
    return ReadValue(key).toBool();
}

void LoadPreferences()
{
    const Ui::OptionsSheet& sheet = Sheet();
    const Ui::MainWindow& main = Main();
    char text[256];

    StoredText(kTransferSizeKey, text);
    if (text[0] != '\0') {
        sheet.transferSize->setText(QString::fromUtf8(text));
        main.sizeSummary->setText(CountLabel(MegabytesFromText(text), "Megabyte"));
    }
    if (const int16_t cycles = StoredNumber16(kIterationsKey); cycles != 0) {
        SetValue(sheet.cyclesPopup, cycles);
        main.cyclesSummary->setText(QString::number(cycles));
    }
    if (const int16_t zones = StoredNumber16(kZonesKey); zones != 0) {
        SetValue(sheet.zonesPopup, zones);
        main.zonesSummary->setText(QString::number(zones));
    }
    gOverlayEnabled = StoredPreferenceBool(kOverlayKey);

    StoredText(kBaselineKey, text);
    if (text[0] != '\0') {
        sheet.baselineSpeed->setText(QString::fromUtf8(text));
        main.targetSummary->setText(gOverlayEnabled ? QString::fromUtf8(text) + QLatin1Char(' ') + QString::fromStdString(LocalizedText("MB/sec"))
                                                    : QString::fromStdString(LocalizedText("Disabled")));
    }  // an empty baseline leaves its summary as it was
    if (const int16_t safety = StoredNumber16(kSafetyKey); safety != 0)
        SetValue(sheet.safetyPopup, safety);
    ShowOverlaySummary(gOverlayEnabled);

    sheet.overlayGroup->setChecked(gOverlayEnabled);
    EnableOverlayControls(gOverlayEnabled);

    // A missing or unsupported depth leaves the popup as it was (depth 1 at first).
    if (const QVariant depth = ReadValue(kQueueDepthKey); IsSupportedQueueDepth(depth.toUInt()))
        SetValue(sheet.queueDepthPopup, PopupItemForQueueDepth(depth.toUInt()));
    main.queueDepthSummary->setText(QString::fromStdString(LocalizedText("Queue depth: %1")).arg(SheetQueueDepth()));
    StoredText(kSurfaceSpanKey, text);
    if (text[0] != '\0')
        sheet.surfaceSpan->setText(QString::fromUtf8(text));
    StoredText(kSurfaceMinutesKey, text);
    if (text[0] != '\0')
        sheet.surfaceMinutes->setText(QString::fromUtf8(text));
    if (const int16_t kind = StoredNumber16(kTestKindKey); kind >= 1 && kind <= main.testKindPopup->count())
        SetValue(main.testKindPopup, kind);
    // What the sheet now shows is what a test uses until the sheet is accepted again.
    gAccepted = ReadSheetValues();
}

uint64_t AcceptedSurfaceSpanBytes()
{
    return gAccepted.surfaceSpan.toULongLong() << 30;
}

uint32_t AcceptedSurfaceMinutes()
{
    return gAccepted.surfaceMinutes.toUInt();
}

uint32_t SheetQueueDepth()
{
    return QueueDepthForPopupItem(Value(Sheet().queueDepthPopup));
}

int32_t SavePreferences()
{
    const Ui::OptionsSheet& sheet = Sheet();
    WriteValue(kVersionKey, kAppPrefsVersion);
    WriteValue(kOverlayKey, sheet.overlayGroup->isChecked());
    WriteValue(kIterationsKey, static_cast<int>(static_cast<int16_t>(Value(sheet.cyclesPopup))));
    WriteValue(kZonesKey, static_cast<int>(static_cast<int16_t>(Value(sheet.zonesPopup))));
    WriteValue(kSafetyKey, static_cast<int>(static_cast<int16_t>(Value(sheet.safetyPopup))));
    WriteValue(kTransferSizeKey, sheet.transferSize->text());
    WriteValue(kBaselineKey, sheet.baselineSpeed->text());
    WriteValue(kQueueDepthKey, SheetQueueDepth());
    WriteValue(kTestKindKey, static_cast<int>(static_cast<int16_t>(Value(Main().testKindPopup))));
    WriteValue(kSurfaceSpanKey, sheet.surfaceSpan->text());
    WriteValue(kSurfaceMinutesKey, sheet.surfaceMinutes->text());
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
    const Ui::OptionsSheet& sheet = Sheet();
    const std::string sizeText = sheet.transferSize->text().toStdString();
    if (!IsWholeNumberText(sizeText)) {
        gRejection(kSheetSizeNotWholeMessage, QString());
        return false;
    }
    const uint32_t megabytes = MegabytesFromText(sizeText);
    if (megabytes < 1 || megabytes > kMaxTransferMegabytes) {
        gRejection(kTransferSizeUnsupportedMessage, kTransferSizeUnsupportedExplanation);
        return false;
    }
    if (!IsWholeNumberText(sheet.baselineSpeed->text().toStdString())) {
        gRejection(kSheetOverlayNotWholeMessage, QString());
        return false;
    }
    if (!IsWholeNumberText(sheet.surfaceSpan->text().toStdString())) {
        gRejection(kSheetSurfaceSpanNotWholeMessage, kSheetSurfaceSpanExplanation);
        return false;
    }
    if (!IsWholeNumberText(sheet.surfaceMinutes->text().toStdString())) {
        gRejection(kSheetSurfaceMinutesNotWholeMessage, kSheetSurfaceMinutesExplanation);
        return false;
    }
    TheMainWindow()->optionsSheet->hide();
    SavePreferences();
    LoadPreferences();
    return true;
}

void InstallSettingsSheetHandlers(std::function<void()> onAccepted)
{
    OptionsSheet* sheet = TheMainWindow()->optionsSheet;
    QObject::connect(sheet->ui.confirmButton, &QPushButton::clicked, sheet, [onAccepted] {
        if (AcceptSettingsSheet() && onAccepted)
            onAccepted();
    });
    // Escape and the close button cancel: the controls go back to the accepted values.
    QObject::connect(sheet, &QDialog::rejected, sheet, [onAccepted] {
        CancelSettingsSheet();
        if (onAccepted)
            onAccepted();  // the overlay follows the sheet's values back
    });
    // The overlay switch itself changes only when the sheet is accepted.
    QObject::connect(sheet->ui.overlayGroup, &QGroupBox::toggled, sheet, [](bool on) { EnableOverlayControls(on); });
}
