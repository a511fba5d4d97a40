// The desktop session of the privileged copy. pkexec starts it with a scrubbed
// environment, so it takes what a window needs from the program that asked for
// it: its parent, the unprivileged copy still running as the user (PKEXEC_UID).
// Only variables that cannot make a root process load code are taken, each
// checked: DISPLAY, WAYLAND_DISPLAY, XDG_RUNTIME_DIR (the user's own folder),
// XAUTHORITY (a regular file of the user), locale names and Qt's numeric scale
// settings. Library, plugin and configuration paths never pass.
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
// name=value entries, as in /proc/PID/environ) belonging to user.
SessionVariables AllowedSessionVariables(const std::string& block, uid_t user);

// Reads the session variables of process pid after checking that it runs
// this process's own executable with user as its real and effective user.
SessionImportStatus ReadSessionOf(pid_t pid, uid_t user, SessionVariables* variables);

// Why a session was not read, for a diagnostic line.
const char* SessionImportStatusText(SessionImportStatus status);

// For the privileged copy: sets the variables read from the parent, and picks
// Qt's Wayland platform when the session has Wayland but no X display.
SessionImportStatus ImportSessionFromParent();
