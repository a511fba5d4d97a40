// Kernel device events (uevents) for block devices, read from the kernel's
// netlink socket, so hot-plug works without a udev daemon. The descriptor is
// non-blocking; an event loop watches it and calls ReadPending when it is
// readable.
#pragma once

#include "platform/RawDevice.h"

#include <string>
#include <vector>

struct BlockDeviceEvent {
    std::string action;   // "add", "remove", "change", ...
    std::string name;     // kernel name, e.g. "loop3" or "sdb1"
    std::string devtype;  // "disk" or "partition"
};

// Parses one uevent message ("ACTION@DEVPATH\0KEY=VALUE\0..."); false for
// messages that are not about block devices.
bool ParseUevent(const char* message, std::size_t length, BlockDeviceEvent* event);

class BlockDeviceMonitor {
public:
    // Opens the socket; false with errno set when the kernel refuses it.
    bool Open();
    int Descriptor() const { return socket_.get(); }
    bool IsOpen() const { return socket_.valid(); }
    // Every block-device event received so far (none when nothing is pending).
    std::vector<BlockDeviceEvent> ReadPending();
    // True once after the kernel dropped events because they were not read
    // in time; the reader must then look at the devices afresh.
    bool TakeLostEvents();

private:
    UniqueFd socket_;
    bool lostEvents_ = false;
};
