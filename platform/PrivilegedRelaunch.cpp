#include "platform/PrivilegedRelaunch.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
// What a graphical program needs from the session that started it.
const char* const kSessionVariables[] = {"DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR",
                                         "LANG", "LC_ALL"};

// pkexec's statuses when no program was run.
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorized = 127;

bool IsExecutableFile(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}
}  // namespace

int MyGetExecutablePath(char* buffer, uint32_t* size)
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        *size = 0;
        return -1;
    }
    const auto needed = static_cast<uint32_t>(length) + 1;
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        return -1;
    }
    std::memcpy(buffer, path, static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return 0;
}

std::vector<std::string> RelaunchCommand(const std::string& pkexecPath, const std::string& executable,
                                         const std::string& installedPath)
{
    if (!installedPath.empty() && executable == installedPath)
        return {pkexecPath, executable, kPrivilegedArgument};
    std::vector<std::string> command = {pkexecPath, "/usr/bin/env"};
    for (const char* name : kSessionVariables) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            command.push_back(std::string(name) + "=" + value);
    }
    command.push_back(executable);
    command.push_back(kPrivilegedArgument);
    return command;
}

std::string FindOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string directories = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= directories.size()) {
        const std::size_t end = std::min(directories.find(':', start), directories.size());
        const std::string directory = directories.substr(start, end - start);
        if (!directory.empty()) {
            const std::string candidate = directory + "/" + program;
            if (IsExecutableFile(candidate))
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

RelaunchResult RelaunchWithAdministratorRights(const std::string& executable, const std::string& installedPath)
{
    const std::string pkexec = FindOnPath("pkexec");
    if (pkexec.empty())
        return {RelaunchOutcome::ElevationMissing, 0};

    const std::vector<std::string> command = RelaunchCommand(pkexec, executable, installedPath);
    std::vector<char*> argv;
    for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    if (posix_spawn(&child, pkexec.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return {RelaunchOutcome::Failed, 0};
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return {RelaunchOutcome::Failed, 0};
    }
    if (!WIFEXITED(status))
        return {RelaunchOutcome::Failed, 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0)};
    const int exitStatus = WEXITSTATUS(status);
    if (exitStatus == kPkexecDismissed || exitStatus == kPkexecNotAuthorized)
        return {RelaunchOutcome::Refused, exitStatus};
    return {RelaunchOutcome::Relaunched, exitStatus};
}
