// The one launch path of both programs: a run is prepared from a target and
// settings (every check before a test lives here), giving a run ready for
// its worker or a refusal that says why, in the window's words and the
// terminal's.
#pragma once

#include "engine/Run.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class TestRun;

// The drive or volume a run is asked for, as the selection or the command line describes it.
struct LaunchTarget {
    std::string devicePath;       // node opened for the test (/dev/sdb, /dev/sdb2, a file)
    bool isVolume = false;        // a volume's own node
    bool writable = true;         // the drive reports itself writable (a drive that does not is tested read-only)
    bool hasDrive = true;         // a drive record carries the target
    uint64_t maxSegmentBytes = 0; // largest transfer the drive accepts, 0 = no known limit
    std::string interfaceText;    // the drive's interface ("RAID" sets are not limited)
    // Described in the run as listed: the history's key, the name and the size text.
    std::string identity;
    std::string name;
    std::string sizeLabel;
};

// What the launch asks of the program around it. Each may be left empty.
struct LaunchSteps {
    // Who else uses the drive that carries the node, one sentence a line; ""
    // for nobody. Asked before and after the exclusive open for writing, and
    // by the worker between zones: it must not touch the interface.
    std::function<std::string(const std::string& devicePath)> driveUsers;
    // Before a write test: unmounts what lies on the target. 0, or -35 when a
    // volume no longer exists, means nothing is mounted any more.
    std::function<int32_t()> unmount;
    // Mounts back what unmount took, when the writes are refused after it.
    std::function<void()> remount;
    // Without unmount: what is mounted on the target ("" for nothing); writes are then refused.
    std::function<std::string(const std::string& devicePath)> mountsOn;
};

enum class RefusalKind {
    Settings,       // the settings cannot be used here (transfer size, queue depth)
    CannotOpen,     // the node cannot be opened or measured
    TooSmall,
    NoMemory,
    WritesRefused,  // reads could go on: the window asks whether to test them only
};

struct Refusal {
    RefusalKind kind = RefusalKind::Settings;
    std::string message;      // the window's alert ("" for WritesRefused)
    std::string explanation;  // the alert's explanation
    std::string detail;       // what kestrelia-cli says after "target: "
    int exitStatus = 2;       // kestrelia-cli's exit status
    std::string holders;      // who uses the drive, one a line; "" when nobody is named
};

struct PreparedRun {
    std::unique_ptr<TestRun> run;  // null when refused
    std::optional<Refusal> refusal;
};

inline constexpr const char* kNotEnoughMemoryMessage =
    "Sorry, there is not enough free RAM to perform this test.";
inline constexpr const char* kNotEnoughMemoryExplanation = "Try reducing the transfer size.";
inline constexpr const char* kDriveCannotOpenMessage = "Sorry, the currently selected drive cannot be opened.";
inline constexpr const char* kVolumeCannotOpenMessage = "Sorry, the currently selected volume cannot be opened.";
inline constexpr const char* kDriveTooSmallMessage =
    "Sorry, the test drive is not big enough for the currently selected testing parameters.";
inline constexpr const char* kDriveTooSmallExplanation =
    " Try selecting another drive or reducing the transfer size and/or cycle count.";

// Checks the settings against the target, measures and opens it, unmounts
// for writes, allocates the buffer, and looks for other users of the drive:
// a run whose settings are a copy of those given (later changes to them
// change nothing of it), or the first refusal. A run asked to write on a
// drive that is not writable is prepared for reads only.
PreparedRun PrepareRun(const LaunchTarget& target, const RunSettings& settings, const LaunchSteps& steps);

// Size of the transfer buffer for the settings.
uint32_t TransferBufferBytesFor(const RunSettings& settings);
