#include "platform/PrivilegedRelaunch.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
// pkexec's statuses when it ran no program: 126 the dialog was dismissed,
// 127 anything else (not authorised, no agent, no polkit).
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotRun = 127;
// Without it pkexec, finding no agent of the desktop, would ask for the
// password on whatever terminal the window program was started from.
constexpr const char* kNoTerminalAgent = "--disable-internal-agent";
// What pkexec's standard error is kept of for telling its failures apart.
constexpr std::size_t kKeptErrorText = 8192;

bool IsExecutableFile(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Copies everything from fd to our standard error until end of file, keeping
// the start of it.
std::string PassThrough(int fd)
{
    std::string kept;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        if (kept.size() < kKeptErrorText)
            kept.append(buffer, std::min(static_cast<std::size_t>(count), kKeptErrorText - kept.size()));
        for (ssize_t done = 0; done < count;) {
            const ssize_t written = write(STDERR_FILENO, buffer + done, static_cast<std::size_t>(count - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                break;
            done += written;
        }
    }
    return kept;
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

std::vector<std::string> RelaunchCommand(const std::string& pkexecPath, const std::string& executable)
{
    return {pkexecPath, kNoTerminalAgent, executable, kPrivilegedArgument};
}

RelaunchOutcome OutcomeOfPkexec(int exitStatus, const std::string& errorText)
{
    if (exitStatus == kPkexecDismissed)
        return RelaunchOutcome::Cancelled;
    if (exitStatus != kPkexecNotRun)
        return RelaunchOutcome::Relaunched;  // the privileged copy's own status
    const auto said = [&errorText](const char* text) { return errorText.find(text) != std::string::npos; };
    if (said("Error executing command as another user: Not authorized"))
        return RelaunchOutcome::Refused;
    // No agent to ask the user, or no polkit (no system bus, no polkit daemon on it).
    if (said("No authentication agent found") || said("Error creating textual authentication agent") ||
        said("Error getting authority") || said("Error checking for authorization"))
        return RelaunchOutcome::NoAgent;
    return RelaunchOutcome::Failed;  // pkexec's other failures, or the copy's own status 127
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

RelaunchResult RelaunchWithAdministratorRights(const std::string& executable)
{
    const std::string pkexec = FindOnPath("pkexec");
    if (pkexec.empty())
        return {RelaunchOutcome::ElevationMissing, 0};

    const std::vector<std::string> command = RelaunchCommand(pkexec, executable);
    std::vector<char*> argv;
    for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return {RelaunchOutcome::Failed, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], STDERR_FILENO);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, pkexec.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(errorPipe[1]);
    if (spawned != 0) {
        close(errorPipe[0]);
        return {RelaunchOutcome::Failed, 0};
    }
    const std::string errorText = PassThrough(errorPipe[0]);
    close(errorPipe[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return {RelaunchOutcome::Failed, 0};
    }
    if (!WIFEXITED(status))
        return {RelaunchOutcome::Failed, 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0)};
    const int exitStatus = WEXITSTATUS(status);
    return {OutcomeOfPkexec(exitStatus, errorText), exitStatus};
}
