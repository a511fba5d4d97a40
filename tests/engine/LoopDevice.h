// Loop devices over sparse files in /dev/shm, attached by a test and always
// detached again, with the shell commands the tests need around them.
#pragma once

#include <cstdint>
#include <string>

// Runs a shell command; its standard output (and error) in *output. Returns the exit status.
int RunCommand(const std::string& command, std::string* output = nullptr);

// Empty when loop devices can be used here, else why not.
std::string LoopDevicesUnavailableReason();

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

private:
    std::string file_;
    std::string node_;
    std::string error_;
    uint64_t sizeBytes_ = 0;
};
