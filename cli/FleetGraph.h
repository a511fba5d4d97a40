// kestrelia-cli --merge --graph FILE.png: the zone averages of every drive
// fetched, side by side in one picture, so the drive that lags shows at a
// glance: a group of bars per drive and test (reads solid, writes stippled, in the
// colours of the zone graph), the fleet's median read average as a dashed
// line, and drives well below it framed and labelled in red.
#pragma once

#include "cli/FleetRun.h"

#include <QImage>

#include <vector>

// A drive counts as lagging below this share of the fleet's median read average.
inline constexpr double kLaggingShareOfMedian = 0.8;

// The picture of the standard and surface runs among runs (random runs have
// no zones); a surface run is drawn as kFleetSurfaceParts zones, "(surface)"
// after its drive.
QImage RenderFleetGraph(const std::vector<FleetRun>& runs);
