// The options sheet's values kept across runs (QSettings under the
// application's name), mirrored into the main window's summary texts, and
// the sheet's own behaviour: validation when it is confirmed and the overlay
// group that enables its controls with its check box.
#pragma once

#include "reports/ReportText.h"

#include <QString>

#include <cstdint>
#include <functional>

inline constexpr int32_t kAppPrefsVersion = 66305;  // 0x10301
inline constexpr const char* kPrefsSuiteDomain = "com.marrowglen.kestrelia.prefs";

// Where the preferences live: the application's own settings and the older
// suite consulted while the application's own have no version yet.
void SetPreferencesLocation(const QString& organization, const QString& application);

// Single stored values, as the loading reads them.
int32_t StoredPreferencesVersion();
bool StoredPreferenceBool(const char* key);

// Loads every key into the options sheet of the main window and its summary
// texts (TheMainWindow() must exist).
void LoadPreferences();
// Writes every key from the options sheet; 0 when the settings were stored.
int32_t SavePreferences();

// The random test's queue depth chosen in the sheet's "Queue depth" popup.
uint32_t SheetQueueDepth();

// How the sheet rejects a value: a beep and an error alert (message, explanation).
using SheetRejection = std::function<void(const QString& message, const QString& explanation)>;
void SetSheetRejection(SheetRejection rejection);

// The sheet's values as last loaded or accepted: what Start uses, whatever
// the sheet's controls hold meanwhile.
struct SheetValues {
    QString transferSize;
    int32_t zones = 1;
    int32_t cycles = 1;
    bool overlay = false;
    QString baseline;
    int32_t safety = 1;
    int32_t queueDepthItem = 1;
    QString surfaceSpan;     // gigabytes from the start, 0 (or empty) for the whole target
    QString surfaceMinutes;  // time limit, 0 (or empty) for none
};
const SheetValues& AcceptedSheetValues();

// The surface test's span in bytes (0 = the whole target) and time limit in
// minutes (0 = none), as last accepted.
uint64_t AcceptedSurfaceSpanBytes();
uint32_t AcceptedSurfaceMinutes();

// What the window keeps for the session beside the options sheet (not stored).
struct WindowSettings {
    int32_t reportFormat = kTextReportFormat;  // as the save commands and the save dialog chose
};
WindowSettings& CurrentWindowSettings();

// Puts the accepted values back into the sheet's controls (Escape, the close
// button); hiding the sheet is the dialog's own business.
void CancelSettingsSheet();

// Connects the main window's options sheet: its confirming button, Escape and
// its overlay group. onAccepted runs after an accepted sheet is hidden, saved
// and loaded again, and after a cancelled one (the window redraws the results there).
void InstallSettingsSheetHandlers(std::function<void()> onAccepted);

// The confirming button's work: true when the values were accepted.
bool AcceptSettingsSheet();

inline constexpr const char* kSheetSizeNotWholeMessage =
    "Sorry. Transfer size must be whole number between 1 and 511.";
inline constexpr const char* kSheetOverlayNotWholeMessage = "Sorry. Overlay value must be whole number.";
inline constexpr const char* kSheetSurfaceSpanNotWholeMessage = "Sorry. Surface test span must be whole number.";
inline constexpr const char* kSheetSurfaceSpanExplanation =
    "Please enter the gigabytes to test from the start of the drive, or 0 to test all of it.";
inline constexpr const char* kSheetSurfaceMinutesNotWholeMessage = "Sorry. Time limit must be whole number.";
inline constexpr const char* kSheetSurfaceMinutesExplanation = "Please enter the minutes the test may take, or 0 for no limit.";
