#include "devices/FuseHelpers.h"

#include "devices/MountTable.h"
#include "platform/ProcessList.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The FUSE connection of an open /dev/fuse descriptor, -1 when not shown.
int ConnectionOf(const fs::path& fdInfo)
{
    std::ifstream in(fdInfo);
    const std::string key = "fuse_connection:";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) == 0)
            return std::atoi(line.c_str() + key.size());
    }
    return -1;
}

std::vector<std::string> CommandLine(const fs::path& process)
{
    std::ifstream in(process / "cmdline");
    std::vector<std::string> arguments;
    for (std::string argument; std::getline(in, argument, '\0');)
        arguments.push_back(argument);
    return arguments;
}

// What the process has open that makes it a FUSE helper; false when it is none.
bool ReadHelper(const fs::path& process, FuseHelper* helper)
{
    bool servesFuse = false;
    std::error_code error;
    for (const fs::directory_entry& fd : fs::directory_iterator(process / "fd", error)) {
        std::error_code linkError;
        const std::string target = fs::read_symlink(fd.path(), linkError).string();
        if (linkError || target.rfind("/dev/", 0) != 0)
            continue;
        if (target == "/dev/fuse") {
            servesFuse = true;
            helper->connection = std::max(helper->connection, ConnectionOf(process / "fdinfo" / fd.path().filename()));
            continue;
        }
        struct stat status {};
        if (stat(fd.path().c_str(), &status) == 0 && S_ISBLK(status.st_mode) &&
            std::find(helper->devices.begin(), helper->devices.end(), status.st_rdev) == helper->devices.end()) {
            helper->devices.push_back(status.st_rdev);
            helper->nodes.push_back(target);
        }
    }
    if (!servesFuse || helper->devices.empty())
        return false;
    std::string program = fs::read_symlink(process / "exe", error).string();
    const std::string deleted = " (deleted)";  // replaced by an upgrade since it started
    if (program.size() > deleted.size() && program.compare(program.size() - deleted.size(), deleted.size(), deleted) == 0)
        program.resize(program.size() - deleted.size());
    helper->program = program;
    helper->arguments = CommandLine(process);
    return !helper->program.empty();
}


}  // namespace

bool IsFuseType(const std::string& type)
{
    return type == "fuseblk" || type == "fuse" || type.rfind("fuse.", 0) == 0 || type.rfind("fuseblk.", 0) == 0;
}

std::vector<FuseHelper> FindFuseHelpers()
{
    std::vector<FuseHelper> helpers;
    for (const pid_t pid : RunningProcessIds()) {
        FuseHelper helper;
        helper.pid = pid;
        if (pid != getpid() && ReadHelper(fs::path("/proc") / std::to_string(pid), &helper))
            helpers.push_back(std::move(helper));
    }
    return helpers;
}

const std::vector<FuseHelper>& FuseHelperCache::Helpers()
{
    if (!found_) {
        helpers_ = FindFuseHelpers();
        found_ = true;
    }
    return helpers_;
}

const FuseHelper* FuseHelperOfMount(const std::vector<FuseHelper>& helpers, dev_t mountDevice,
                                    const std::string& target)
{
    for (const FuseHelper& helper : helpers) {
        const bool served = major(mountDevice) != 0
                                ? std::find(helper.devices.begin(), helper.devices.end(), mountDevice) != helper.devices.end()
                                : helper.connection == static_cast<int>(minor(mountDevice));
        if (served)
            return &helper;
    }
    for (const FuseHelper& helper : helpers) {
        if (helper.connection < 0 && std::find(helper.arguments.begin(), helper.arguments.end(), target) != helper.arguments.end())
            return &helper;
    }
    return nullptr;
}

bool FuseSetsOption(const std::string& option)
{
    for (const char* prefix : {"user_id=", "group_id=", "rootmode=", "fd=", "blksize="}) {
        if (option.rfind(prefix, 0) == 0)
            return true;
    }
    return option == "default_permissions";
}

std::string FuseHelperOptions(const std::string& helper, const std::string& vfsOptions, const std::string& fsOptions)
{
    std::vector<std::string> options;
    for (const std::string& option : SplitMountOptions(vfsOptions)) {
        if (option != "relatime")
            options.push_back(option);
    }
    for (const auto& [absent, spelled] : {std::pair{"nosuid", "suid"}, std::pair{"nodev", "dev"}}) {
        if (std::find(options.begin(), options.end(), absent) == options.end())
            options.push_back(spelled);
    }
    for (const std::string& option : SplitMountOptions(fsOptions)) {
        const bool readWrite = option == "rw" || option == "ro";  // the mount's own flag says it
        if (!readWrite && !FuseSetsOption(option) && std::find(options.begin(), options.end(), option) == options.end())
            options.push_back(option);
    }
    std::string text;
    for (std::string& option : options) {
        if (option == "rw" && fs::path(helper).filename() == "fusefat")
            option = "rw+";
        text += (text.empty() ? "" : ",") + option;
    }
    return text;
}

int RunFuseHelper(const std::string& helper, const std::string& source, const std::string& target,
                  const std::string& options, std::string* reason)
{
    int errors[2];
    if (pipe2(errors, O_CLOEXEC) != 0) {
        *reason = std::strerror(errno);
        return -errno;
    }
    const char* argv[] = {helper.c_str(), source.c_str(), target.c_str(), "-o", options.c_str(), nullptr};
    const pid_t child = fork();
    if (child == 0) {
        // Nothing of this process's but the error pipe goes to the daemon it becomes.
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(errors[1], STDERR_FILENO);
        close_range(3, ~0U, 0);
        execv(helper.c_str(), const_cast<char* const*>(argv));
        _exit(127);
    }
    close(errors[1]);
    if (child < 0) {
        close(errors[0]);
        *reason = std::strerror(errno);
        return -errno;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The helper's daemon may keep the pipe: read what is there, do not wait for its end.
    fcntl(errors[0], F_SETFL, O_NONBLOCK);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(errors[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    close(errors[0]);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return 0;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    const std::string lastLine = text.substr(text.find_last_of('\n') == std::string::npos ? 0 : text.find_last_of('\n') + 1);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    *reason = lastLine.empty() ? fs::path(helper).filename().string() + " failed with status " + std::to_string(code)
                               : lastLine;
    return -EIO;
}

void WaitForProcessEnd(pid_t pid, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text;
        if (!std::getline(stat, text))
            return;
        const std::size_t close = text.rfind(')');
        if (close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'Z')
            return;
        usleep(20000);
    }
}
