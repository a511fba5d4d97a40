#include "platform/DeviceMonitor.h"

#include <cerrno>
#include <cstring>
#include <string.h>
#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

bool ParseUevent(const char* message, std::size_t length, BlockDeviceEvent* event)
{
    // udev's own re-broadcasts start with "libudev"; only kernel messages are read.
    if (length == 0 || std::memchr(message, '@', ::strnlen(message, length)) == nullptr)
        return false;
    BlockDeviceEvent parsed;
    bool block = false;
    std::size_t offset = ::strnlen(message, length) + 1;
    while (offset < length) {
        const std::string field(message + offset, ::strnlen(message + offset, length - offset));
        offset += field.size() + 1;
        const std::size_t equals = field.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = field.substr(0, equals);
        const std::string value = field.substr(equals + 1);
        if (key == "ACTION")
            parsed.action = value;
        else if (key == "SUBSYSTEM")
            block = value == "block";
        else if (key == "DEVNAME")
            parsed.name = value.rfind("/dev/", 0) == 0 ? value.substr(5) : value;
        else if (key == "DEVTYPE")
            parsed.devtype = value;
    }
    if (!block || parsed.action.empty() || parsed.name.empty())
        return false;
    *event = parsed;
    return true;
}

bool BlockDeviceMonitor::TakeLostEvents()
{
    const bool lost = lostEvents_;
    lostEvents_ = false;
    return lost;
}

bool BlockDeviceMonitor::Open()
{
    UniqueFd fd(socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT));
    if (!fd.valid())
        return false;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = 1;  // the kernel's broadcast group
    if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return false;
    // Attaching a partitioned drive sends a burst of events; room for them
    // keeps a busy interface from losing any (root may exceed the default limit).
    const int bufferBytes = 1 << 20;
    if (setsockopt(fd.get(), SOL_SOCKET, SO_RCVBUFFORCE, &bufferBytes, sizeof bufferBytes) != 0)
        setsockopt(fd.get(), SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
    socket_ = std::move(fd);
    return true;
}

std::vector<BlockDeviceEvent> BlockDeviceMonitor::ReadPending()
{
    std::vector<BlockDeviceEvent> events;
    if (!socket_.valid())
        return events;
    char buffer[8192];
    for (;;) {
        const ssize_t received = recv(socket_.get(), buffer, sizeof buffer - 1, 0);
        if (received < 0 && errno == ENOBUFS) {
            lostEvents_ = true;
            continue;
        }
        if (received < 0 && errno == EINTR)
            continue;
        if (received <= 0)
            break;
        buffer[received] = '\0';
        BlockDeviceEvent event;
        if (ParseUevent(buffer, static_cast<std::size_t>(received), &event))
            events.push_back(event);
    }
    return events;
}
