// kestrelia-cli --unmount and --remount-left: whole-drive write tests with
// the drive's volumes unmounted first and mounted back afterwards, as the
// window does, and the volumes a killed run left unmounted.
#pragma once

#include "cli/CliOptions.h"
#include "devices/DriveLock.h"
#include "devices/MountControl.h"

#include <ostream>
#include <string>

inline constexpr const char* kUnmountOption = "--unmount";
inline constexpr const char* kRemountLeftOption = "--remount-left";

bool RemountLeftOptionGiven(const CliOptions& options);

// Mounts back the volumes that runs which no longer run left unmounted, says
// so on out and names every one not mounted back on err. Exit status: 0, or
// 1 when any was not mounted back.
int RemountLeftVolumes(std::ostream& out, std::ostream& err);

// Mentions on err any volumes left unmounted by a run that did not finish.
void MentionLeftVolumes(std::ostream& err);

// The mounts around one run. Prepare before the target is opened; Finish
// after the run however it ended (the destructor finishes a run not finished).
class CliMountSession {
public:
    CliMountSession() = default;
    ~CliMountSession();
    CliMountSession(const CliMountSession&) = delete;
    CliMountSession& operator=(const CliMountSession&) = delete;

    // With --write on a device: locks the drive against udev and, with
    // --unmount, unmounts the target's volumes. 0, or the exit status of a
    // refusal after its message on err.
    int Prepare(const CliOptions& options, std::ostream& err);

    // Mounts back what Prepare unmounted and names on err every volume that
    // could not be; the run's exit status, or 1 instead of 0 when one could not.
    int Finish(int status, std::ostream& err);

private:
    DriveLock lock_;
    UnmountedVolumes unmounted_;  // the target's volumes, while unmounted
};
