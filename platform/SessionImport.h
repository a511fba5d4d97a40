// The desktop session of the privileged copy. pkexec starts it with a scrubbed
// environment, so it takes what a window needs from the program that asked for
// it: its parent, the unprivileged copy still running as the user (PKEXEC_UID).
// Only variables that cannot make a root process load code are taken, each
// checked: DISPLAY (a local one), XDG_RUNTIME_DIR (the user's own folder),
// WAYLAND_DISPLAY and XAUTHORITY (opened with the user's rights, see
// platform/SessionDisplay.h), locale names and Qt's numeric scale settings.
// Library, plugin and configuration paths never pass.
#pragma once

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

using SessionVariables = std::vector<std::pair<std::string, std::string>>;

enum class SessionImportStatus {
    Imported,
    NotRelaunched,    // no PKEXEC_UID, or the parent is gone
    ParentUnreadable, // /proc of the parent could not be read
    NotSameProgram,   // the parent runs another executable
    NotSameUser,      // the parent does not run as PKEXEC_UID
};

// The allowed and valid variables of an environment block (NUL-separated
// name=value entries, as in /proc/PID/environ) belonging to user. Why an
// allowed variable was left out goes to refusals, when given.
SessionVariables AllowedSessionVariables(const std::string& block, uid_t user,
                                         std::vector<std::string>* refusals = nullptr);

// Reads the session variables of process pid after checking that it runs
// this process's own executable with user as its real and effective user.
SessionImportStatus ReadSessionOf(pid_t pid, uid_t user, SessionVariables* variables,
                                  std::vector<std::string>* refusals = nullptr);

// Why a session was not read, for a diagnostic line.
const char* SessionImportStatusText(SessionImportStatus status);

// For the privileged copy: sets the variables read from the parent, the X
// authority as a private copy and the Wayland display as an open connection
// (WAYLAND_SOCKET), and picks Qt's Wayland platform when the session has
// Wayland but no X display. What was left out and why goes to refusals.
SessionImportStatus ImportSessionFromParent(std::vector<std::string>* refusals);
