// At start-up: volumes that an earlier run left unmounted (it was killed or
// the session ended mid-test) are offered to be mounted back.
#pragma once

#include <QString>

#include <functional>

// Asks whether to mount back the volumes listed (one per line); true for yes.
using LeftVolumesQuestion = std::function<bool(const QString& volumes)>;

// For each state file left by a process that no longer runs: asks (by
// default a caution box over the main window; without a display the
// question goes to standard error and is answered no) and mounts the
// volumes back on yes, with an alert naming any that could not be.
void OfferToRemountLeftVolumes(const LeftVolumesQuestion& ask = {});
