// The graph in words, for screen readers: what the bars of a run show, zone by
// zone (where it lies, the lowest, average and highest read and write speed),
// the figures of a random run, or that there is nothing to show yet.
#pragma once

#include "engine/Run.h"

#include <QString>

// One sentence per zone measured (or per direction of a random run), in the
// interface's language, speeds in MB per second with one decimal.
QString GraphTextEquivalent(const Run& run);
