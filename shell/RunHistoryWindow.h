// The window's side of the run history: each finished test kept in the
// history of its drive or volume, the "Compare with" popup above the graph
// that chooses an earlier run of the drive of the run shown, and File >
// "Open Results…" that shows a saved run with its own drive.
#pragma once

#include "engine/Run.h"

#include <QString>

class QComboBox;

// After the test-finished notice has been handled: a run that completed with
// results is saved in the history of its drive (a note on standard error
// when it cannot be) and the popup is refreshed.
void RecordFinishedRun(const Run& run);

// Builds the "Compare with" row, the key cell, the random pane's comparison
// line and the File menu's "Open Results…". The windows must be built.
void InstallRunHistoryControls();

// Lists the earlier runs of the drive or volume of the run shown (else of the
// one chosen) again, "None" first.
void RefreshComparePopup();

// File > "Open Results…" is offered only while no test runs.
void SetOpenResultsEnabled(bool enabled);

// The popup, null before InstallRunHistoryControls.
QComboBox* ComparePopup();

// Shows a saved run, read-only, with its drive. Empty, or why it cannot be shown.
QString OpenResultsFile(const QString& path);

inline constexpr const char* kCompareWithTitle = "Compare with:";
inline constexpr const char* kCompareNoneItem = "None";
inline constexpr const char* kOpenResultsTitle = "Open Results…";
