// A sysfs tree in a temporary folder, laid out as the kernel lays out
// /sys/devices and /sys/block, for registry and drive-list tests. While it
// exists the drive list reads it instead of /sys, starting from an empty list.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

inline constexpr uint64_t kTwoGiBSectors = 4194304;

class FakeSysfs {
public:
    FakeSysfs();
    ~FakeSysfs();
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    const std::filesystem::path& root() const { return root_; }

    // Writes attribute files in a folder below /sys/devices ("pci0000:00/usb2").
    void Write(const std::string& folder, const std::map<std::string, std::string>& attributes);
    // A whole block device at devices/<devicePath>/<name>, linked from
    // block/<name>; attributes are relative to the device's folder.
    void AddDisk(const std::string& devicePath, const std::string& name, uint64_t sectors = kTwoGiBSectors,
                 const std::map<std::string, std::string>& attributes = {});
    // A partition of a disk added before (class/block link included).
    void AddPartition(const std::string& devicePath, const std::string& disk, const std::string& name);
    void RemoveDisk(const std::string& name);
    // holder/slaves/slave, as device-mapper, md and bcache link what they are built on.
    void AddSlave(const std::string& holder, const std::string& slave);
    // dev/block/MAJOR:MINOR ("259:1") for a disk or partition added before.
    void SetDevNumber(const std::string& name, const std::string& number);

private:
    std::filesystem::path root_;
};
