// Loop devices over sparse files in /dev/shm, attached by a test and always
// detached again, with the shell commands the tests need around them.
#pragma once

#include <cstdint>
#include <functional>
#include <sys/types.h>
#include <string>

// Runs a shell command; its standard output (and error) in *output. Returns the exit status.
int RunCommand(const std::string& command, std::string* output = nullptr);

// Empty when loop devices can be used here, else why not.
std::string LoopDevicesUnavailableReason();

// Skips the test with the reason when loop devices cannot be used here.
#define SKIP_WITHOUT_LOOP_DEVICES()                                  \
    do {                                                             \
        const std::string reason = LoopDevicesUnavailableReason();   \
        if (!reason.empty())                                         \
            GTEST_SKIP() << reason;                                  \
    } while (false)

class LoopDevice {
public:
    // extraOptions go to losetup, e.g. "--direct-io=on --sector-size 4096 -P".
    LoopDevice(uint64_t sizeBytes, const std::string& extraOptions);
    ~LoopDevice();
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;

    bool attached() const { return !node_.empty(); }
    const std::string& node() const { return node_; }
    const std::string& error() const { return error_; }

    // Fills the device with data that differs in every block.
    bool FillWithPattern();
    // CRC of the whole device (cksum), to compare before and after a test.
    std::string Checksum() const;

    // Writes a partition table (an sfdisk script) and makes sure the kernel
    // shows the partitions: without a udev daemon they may need partx.
    bool Partition(const std::string& sfdiskScript);
    // "/dev/loopNpK".
    std::string PartitionNode(int number) const;

    const std::string& backingFile() const { return file_; }

private:
    std::string file_;
    std::string node_;
    std::string error_;
    uint64_t sizeBytes_ = 0;
};

// A file system mounted on a fresh directory under the temporary folder;
// unmounted and the directory removed again on destruction.
class TemporaryMount {
public:
    TemporaryMount(const std::string& device, const std::string& options = "");
    ~TemporaryMount();
    TemporaryMount(const TemporaryMount&) = delete;
    TemporaryMount& operator=(const TemporaryMount&) = delete;

    bool mounted() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string error_;
};

// Makes a file system of that type ("ext4", "xfs", "btrfs") on a device,
// labelled; false with the tool's output in *output.
bool MakeFileSystem(const std::string& type, const std::string& device, const std::string& label,
                    std::string* output);

// True when the kernel offers that file system and its mkfs is installed.
bool FileSystemAvailable(const std::string& type);

// Moves the calling process into a mount namespace of its own, its mounts
// made MS_PRIVATE or MS_SLAVE (copies that the parent's unmount takes away).
bool EnterMountNamespace(unsigned long propagation);

// A child process that holds something (hold() runs in the child: a working
// folder, an open node, a mapping) until destroyed; then it is killed by its id.
class Holder {
public:
    explicit Holder(const std::function<bool()>& hold);
    ~Holder();
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool held() const { return held_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};
