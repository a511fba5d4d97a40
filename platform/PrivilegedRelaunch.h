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
    NoAgent,          // no polkit authentication agent (or no polkit) to ask the user
    Cancelled,        // the user dismissed the password dialog
    Refused,          // the user was not authorised
    Failed,           // pkexec could not be started or failed otherwise
};

struct RelaunchResult {
    RelaunchOutcome outcome = RelaunchOutcome::Failed;
    int exitStatus = 0;  // pkexec's exit status
};

// The command that starts the privileged copy: pkexec, told never to ask on
// a terminal, with executable -un. pkexec
// clears the environment; the copy takes its session from this one, its
// parent (platform/SessionImport.h). The installed program's polkit action
// names it, so the dialog says what asks for the rights.
std::vector<std::string> RelaunchCommand(const std::string& pkexecPath, const std::string& executable);

// Tells the outcome from pkexec's exit status and what it wrote to stderr
// before it ran the program.
RelaunchOutcome OutcomeOfPkexec(int exitStatus, const std::string& errorText);

// Looks up a program on PATH; empty when it is not there.
std::string FindOnPath(const std::string& program);

// Runs the privileged copy and waits for it to end. Its standard error
// passes through to ours.
RelaunchResult RelaunchWithAdministratorRights(const std::string& executable);
