// The run the window shows, kept beside the settings of the next run: the
// last run that ended here, one opened with File > "Open Results…", or none.
// While a run is under way the window shows that run as it goes. The graph,
// the panes, Save, the status line and "Compare with" all show this run;
// changing the settings changes the next run only.
#pragma once

#include "engine/Run.h"

#include <ctime>
#include <optional>

// The run shown now: the one under way while a test runs; without one, the
// empty run of the drive or volume chosen.
const Run& ShownRun();

// The "Test Date" of the shown run's report: an opened run's own time, else
// the time of saving.
std::time_t ShownRunReportDate();

// The drive or volume chosen in the window as a run's target (its identity
// "" where it has none); nullopt when nothing is chosen.
std::optional<RunTarget> ChosenRunTarget();

// The test-kind popup's choice: the kind of the next run (standard when the
// window is gone).
TestKind NextRunKind();

// Shows a run opened from a file.
void ShowOpenedRun(Run run);

// Another drive or volume was chosen: no run shows.
void ClearShownRun();

// Follows the launch after Start, the read-only answer and a test's end: a
// run under way replaces the one shown, and the test-kind popup and "Compare
// with" stay disabled until none is under way.
void FollowRunUnderWay();

// Where a test ends: the run it filled becomes the run shown.
const Run& ShowEndedRun();

// Makes the shown run what the result panes draw. Once, after the windows are built.
void InstallShownRun();
