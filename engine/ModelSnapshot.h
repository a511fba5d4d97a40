// A run value made from the model's program-wide records, for the readers
// that take a run while the worker still fills those records.
#pragma once

#include "engine/Run.h"

// The run of the kind last started (gCurrentSelectedTestType) on target, as
// the model holds it now: its settings, its results and how far it got.
// Ended now when no test runs.
Run SnapshotOfModel(const RunTarget& target);
