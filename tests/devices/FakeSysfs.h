// A sysfs tree in a temporary folder, laid out as the kernel lays out
// /sys/devices and /sys/block, for registry and drive-list tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

class FakeSysfs {
public:
    FakeSysfs();
    ~FakeSysfs();
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    const std::filesystem::path& root() const { return root_; }

    // Writes an attribute file below /sys/devices ("pci0000:00/usb2/busnum").
    void Write(const std::string& devicePath, const std::string& text);
    // A whole block device at devices/<devicePath>/<name>, linked from
    // block/<name>; attributes are relative to the device's folder.
    void AddDisk(const std::string& devicePath, const std::string& name, uint64_t sectors,
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
