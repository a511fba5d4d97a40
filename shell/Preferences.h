// The options sheet's values kept across runs (QSettings under the
// application's name), mirrored into the main window's summary texts, and
// the sheet's own behaviour: validation when it is confirmed and the overlay
// group that enables its controls with its check box.
#pragma once

#include "engine/InterfaceHost.h"

#include <QString>

#include <cstdint>
#include <functional>

class QSettings;
class QWidget;

// The options sheet (a QWidget*), built with the other windows.
extern WindowRef gSettingsSheetWindow;

inline constexpr int32_t kAppPrefsVersion = 66305;  // 0x10301
inline constexpr const char* kPrefsSuiteDomain = "com.marrowglen.kestrelia.prefs";

// Where the preferences live: the application's own settings and the older
// suite consulted while the application's own have no version yet.
void SetPreferencesLocation(const QString& organization, const QString& application);

// Accessors of single values.
void SaveVersionNumberIntoPrefs(int32_t version);
void SaveThisBoolCtlValueIntoPrefs(QWidget* window, const char* signature, int id, const char* key);
void SaveThisS16CtlValueIntoPrefs(QWidget* window, const char* signature, int id, const char* key);
void SaveThisETextCtlValueIntoPrefs(QWidget* window, int id, const char* key);
int32_t GetPrefsVersion();
int16_t GetPrefsNumValue16(const char* key);
bool GetPrefsBoolKeyValue(const char* key);
// Empties text (256 bytes), then copies the stored string into it.
void GetPrefsCString(const char* key, char* text);

// Loads every key into the options sheet and the main window's summary texts.
void GetApplicationPrefs();
// Writes every key from the options sheet; 0 when the settings were stored.
int32_t SaveApplicationPrefs();

// The random test's queue depth chosen in the sheet's "Queue depth" popup {'popb', 8}.
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
};
const SheetValues& AcceptedSheetValues();

// Puts the accepted values back into the sheet's controls (Escape, the close
// button); hiding the sheet is the dialog's own business.
void CancelSettingsSheet();

// Connects the sheet's confirming button (push button 10) and its overlay
// group {'cgrp', 1}. onAccepted runs after an accepted sheet is hidden, saved
// and loaded again (the window redraws the results there).
void InstallSettingsSheetHandlers(QWidget* sheet, std::function<void()> onAccepted);

// The confirming button's work: true when the values were accepted.
bool AcceptSettingsSheet();

inline constexpr const char* kSheetSizeNotWholeMessage =
    "Sorry. Transfer size must be whole number between 1 and 511.";
inline constexpr const char* kSheetOverlayNotWholeMessage = "Sorry. Overlay value must be whole number.";
