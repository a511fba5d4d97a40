// Running the program again with administrator rights through pkexec, for
// a copy started by an ordinary user. Raw device nodes, mounting and
// unmounting all need root.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The single argument the privileged copy is started with.
inline constexpr const char* kPrivilegedArgument = "-un";

// The running executable's path into buffer. 0 when stored; -1 when the
// buffer is too small (*size then holds the size needed) or the path cannot
// be found (*size 0).
int MyGetExecutablePath(char* buffer, uint32_t* size);

enum class RelaunchOutcome {
    Relaunched,       // the privileged copy ran
    ElevationMissing, // no pkexec on this system
    Refused,          // the user cancelled or was not authorised
    Failed,           // pkexec could not be started
};

struct RelaunchResult {
    RelaunchOutcome outcome = RelaunchOutcome::Failed;
    int exitStatus = 0;  // pkexec's exit status
};

// The command that starts the privileged copy. The installed program has a
// polkit action that lets pkexec keep the display (pkexec executable -un);
// any other copy (a build tree) is run through env, which hands it what a
// desktop session needs, since pkexec clears the environment.
std::vector<std::string> RelaunchCommand(const std::string& pkexecPath, const std::string& executable,
                                         const std::string& installedPath);

// Looks up a program on PATH; empty when it is not there.
std::string FindOnPath(const std::string& program);

// Runs the privileged copy and waits for pkexec to end.
RelaunchResult RelaunchWithAdministratorRights(const std::string& executable,
                                               const std::string& installedPath);
