// The privileged copy's way to the desktop of the user who asked for it. The
// user's files are opened once, with the user's rights, and what root's
// window code needs is handed over already open, so no path the user
// controls is resolved again by root: the X authority file as a private
// sealed copy, the Wayland compositor as a connected socket. Only displays
// on this machine are used.
#pragma once

#include "platform/RawDevice.h"

#include <string>
#include <sys/types.h>

// ":N", ":N.S" or "unix:N[.S]": an X server on this machine, reached through
// its local socket.
bool IsLocalXDisplay(const std::string& display);

// The file at path (absolute), opened with the user's rights without
// following a final link, checked on the open descriptor (a regular file of
// the user's own, at most 1 MiB) and copied into sealed memory. Invalid with
// *why when the file is refused or cannot be read.
UniqueFd PrivateXAuthorityCopy(const std::string& path, uid_t user, std::string* why);

// A connection to the Wayland compositor named by display (a socket name or
// an absolute path), looked up with the user's rights inside runtimeDir, the
// user's runtime folder, and never outside it ("..", links out). Invalid
// with *why when refused or not reachable.
UniqueFd ConnectWaylandAsUser(const std::string& runtimeDir, const std::string& display, uid_t user,
                              std::string* why);
