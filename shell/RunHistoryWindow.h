// The window's side of the run history: each finished test kept in the
// history of its drive or volume, the "Compare with" popup above the graph
// that chooses an earlier run of the drive shown, and File > "Open Results…"
// that shows a saved run as the current results.
#pragma once

#include "reports/RunDocument.h"

#include <QString>

#include <optional>
#include <string>

class QComboBox;

// The drive or volume chosen in the window, with its identity; nullopt when none is.
std::optional<RunSubject> WindowRunSubject();

// After the test-finished notice has been handled: a test that completed is
// saved in the history (a note on standard error when it cannot be) and the
// popup is refreshed.
void RecordFinishedRun();

// Builds the "Compare with" row, the key cell, the random pane's comparison
// line and the File menu's "Open Results…". The windows must be built.
void InstallRunHistoryControls();

// Lists the earlier runs of the drive or volume shown again ("None" first).
void RefreshComparePopup();

// The popup, null before InstallRunHistoryControls.
QComboBox* ComparePopup();

// Shows a saved run as the current results, read-only. Empty, or why it cannot be shown.
QString OpenResultsFile(const QString& path);

inline constexpr const char* kCompareWithTitle = "Compare with:";
inline constexpr const char* kCompareNoneItem = "None";
inline constexpr const char* kOpenResultsTitle = "Open Results…";
