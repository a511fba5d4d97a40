#include "LoopDevice.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

int RunCommand(const std::string& command, std::string* output)
{
    const std::string full = command + " 2>&1";
    FILE* pipe = ::popen(full.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::string text;
    std::array<char, 4096> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr)
        text += chunk.data();
    const int status = ::pclose(pipe);
    if (output != nullptr)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string LoopDevicesUnavailableReason()
{
    if (::geteuid() != 0)
        return "needs root to attach loop devices";
    if (::access("/dev/loop-control", R_OK | W_OK) != 0)
        return "no /dev/loop-control on this machine";
    if (RunCommand("command -v losetup") != 0)
        return "losetup is not installed";
    return {};
}

LoopDevice::LoopDevice(uint64_t sizeBytes, const std::string& extraOptions) : sizeBytes_(sizeBytes)
{
    char name[] = "/dev/shm/kestrelia-test-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd >= 0)
        file_ = name;
    const bool sized = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(sizeBytes)) == 0;
    ::close(fd);
    std::string out;
    if (!sized || RunCommand("losetup --find --show " + extraOptions + " " + file_, &out) != 0) {
        error_ = "no sparse file in /dev/shm or losetup failed: " + out;
        return;
    }
    node_ = out.substr(0, out.find_first_of(" \n"));
}

LoopDevice::~LoopDevice()
{
    if (!node_.empty()) {
        // Whatever a test left mounted on the device or its partitions goes first.
        RunCommand("for m in $(awk '$1 ~ \"^" + node_ + "(p[0-9]+)?$\" {print $2}' /proc/mounts); do "
                   "umount \"$m\"; done");
        RunCommand("losetup -d " + node_);
    }
    if (!file_.empty())
        ::unlink(file_.c_str());
}

bool LoopDevice::FillWithPattern()
{
    const int fd = ::open(node_.c_str(), O_WRONLY);
    std::vector<uint64_t> block(1 << 17);  // 1 MiB
    bool ok = fd >= 0;
    for (uint64_t done = 0; ok && done < sizeBytes_; done += block.size() * 8) {
        // No two 8-byte words of the device alike.
        for (std::size_t index = 0; index < block.size(); ++index)
            block[index] = (done / 8 + index) * 0x9E3779B97F4A7C15ull;
        ok = ::pwrite(fd, block.data(), block.size() * 8, static_cast<off_t>(done)) ==
             static_cast<ssize_t>(block.size() * 8);
    }
    ok = ok && ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::string LoopDevice::Checksum() const
{
    std::string out;
    RunCommand("cksum < " + node_, &out);
    return out;
}

bool LoopDevice::Partition(const std::string& sfdiskScript)
{
    // Without a udev daemon the kernel may show the partitions only after partx.
    std::string out;
    RunCommand("printf '" + sfdiskScript + "' | sfdisk -q " + node_ + " && { test -b " + PartitionNode(1) +
                   " || partx -a " + node_ + "; }",
               &out);
    if (!std::filesystem::exists(PartitionNode(1)))
        error_ = "sfdisk or partx failed on " + node_ + ": " + out;
    return error_.empty();
}

std::string LoopDevice::PartitionNode(int number) const
{
    return node_ + "p" + std::to_string(number);
}

TemporaryMount::TemporaryMount(const std::string& device, const std::string& options)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrelia-mnt-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : "";
    std::string out;
    if (path_.empty() ||
        RunCommand("mount" + (options.empty() ? "" : " -o " + options) + " " + device + " " + path_, &out) != 0)
        error_ = "no mount point, or mount failed: " + out;
}

TemporaryMount::~TemporaryMount()
{
    if (path_.empty())
        return;
    // A test may have unmounted it already; only our own mount point is touched.
    RunCommand("mountpoint -q " + path_ + " && umount " + path_);
    ::rmdir(path_.c_str());
}

bool MakeFileSystem(const std::string& type, const std::string& device, const std::string& label,
                    std::string* output)
{
    const std::string force = type == "ext4" ? " -q -F" : " -q -f";
    return RunCommand("mkfs." + type + force + " -L " + label + " " + device, output) == 0;
}

bool FileSystemAvailable(const std::string& type)
{
    return RunCommand("grep -qw " + type + " /proc/filesystems && command -v mkfs." + type) == 0;
}

bool EnterMountNamespace(unsigned long propagation)
{
    return ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | propagation, nullptr) == 0;
}

Holder::Holder(const std::function<bool()>& hold)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        const char answer = hold() ? 'y' : 'n';
        [[maybe_unused]] const ssize_t written = ::write(ready[1], &answer, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 'n';
    held_ = pid_ > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
}

Holder::~Holder()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}
