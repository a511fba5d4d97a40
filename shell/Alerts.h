// The program's alerts: modal, with a message and an optional explanation
// looked up in the localised strings, titled by their kind.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

inline constexpr int16_t kAlertStopAlert = 0;
inline constexpr int16_t kAlertNoteAlert = 1;
inline constexpr int16_t kAlertCautionAlert = 2;
inline constexpr int16_t kAlertPlainAlert = 3;

// "Error", "Note", "Caution", or "Message" for any other kind.
QString AlertTitleForKind(int16_t kind);

// Shows the alert and returns once it is dismissed; interface thread only.
// explanationKey may be null.
void DoStandardLocalizedAlert(const char* messageKey, const char* explanationKey, int16_t kind);

// What an alert shows, after the lookups.
struct AlertContent {
    int16_t kind;
    QString title;
    QString message;
    QString explanation;
};

// Replaces the modal box (tests record alerts instead); null restores it.
using AlertPresenter = std::function<void(const AlertContent&)>;
void SetAlertPresenter(AlertPresenter presenter);
