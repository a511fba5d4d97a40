#include "cli/UnmountedVolumes.h"

#include "devices/MountControl.h"
#include "format/CountText.h"

#include <iostream>
#include <sys/stat.h>

namespace {
bool OptionGiven(const CliOptions& options, const char* name)
{
    for (const auto& [option, value] : options.extras) {
        if (option == name)
            return true;
    }
    return false;
}

bool IsBlockDevice(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISBLK(status.st_mode);
}

void NameFailures(const std::vector<RemountFailure>& failures, std::ostream& err)
{
    for (const RemountFailure& failure : failures)
        err << "kestrelia-cli: not mounted back: " << failure.device << " at " << failure.mountPoint << ": "
            << failure.reason << '\n';
}
}  // namespace

bool RemountLeftOptionGiven(const CliOptions& options)
{
    return OptionGiven(options, kRemountLeftOption);
}

int RemountLeftVolumes(std::ostream& out, std::ostream& err)
{
    const std::vector<LeftMounts> left = FindLeftMounts();
    if (left.empty())
        out << "No volumes were left unmounted.\n";
    bool allBack = true;
    for (const LeftMounts& run : left) {
        const std::vector<RemountFailure> failures = RemountLeftMounts(run);
        for (const RememberedMount& mount : run.mounts) {
            bool failed = false;
            for (const RemountFailure& failure : failures)
                failed = failed || (failure.device == mount.device && failure.mountPoint == mount.target);
            if (!failed)
                out << "Mounted back: " << mount.device << " at " << mount.target << '\n';
        }
        NameFailures(failures, err);
        allBack = allBack && failures.empty();
    }
    return allBack ? 0 : 1;
}

void MentionLeftVolumes(std::ostream& err)
{
    for (const LeftMounts& run : FindLeftMounts())
        err << "kestrelia-cli: " << CountText(static_cast<long>(run.mounts.size()), "volume") << " left unmounted by run " << run.pid
            << ", which did not finish (" << run.file << "); kestrelia-cli " << kRemountLeftOption
            << " mounts them back.\n";
}

CliMountSession::~CliMountSession()
{
    Finish(0, std::cerr);
}

int CliMountSession::Prepare(const CliOptions& options, std::ostream& err)
{
    const bool unmount = OptionGiven(options, kUnmountOption);
    if (unmount && (!options.write || !IsBlockDevice(options.target))) {
        err << "kestrelia-cli: " << kUnmountOption << " needs --write and a drive or volume to test\n";
        return 2;
    }
    if (!options.write || !IsBlockDevice(options.target))
        return 0;
    lock_.Acquire(options.target);
    if (!unmount)
        return 0;
    std::string why;
    pid_t holder = 0;
    if (UnmountForWriteTest(options.target, &unmounted_, &why, &holder) != 0) {
        lock_.Release();
        err << "kestrelia-cli: " << options.target << ": writes refused, nothing unmounted: " << why << '\n';
        return 2;
    }
    return 0;
}

int CliMountSession::Finish(int status, std::ostream& err)
{
    const std::vector<RemountFailure> failures = unmounted_.MountBack();
    lock_.Release();
    NameFailures(failures, err);
    return failures.empty() || status != 0 ? status : 1;
}
