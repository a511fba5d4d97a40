// Kernel uevent messages as the netlink socket delivers them: only the
// kernel's own messages about block devices are taken, each field by its name.
#include "platform/DeviceMonitor.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(DeviceMonitor, ParsesKernelBlockEvents)
{
    const BlockDeviceEvent untouched{"untouched", "", ""};
    const struct { const char* name; std::string message; BlockDeviceEvent event; } rows[] = {
        {"loop attach",
         "change@/devices/virtual/block/loop3\0ACTION=change\0DEVPATH=/devices/virtual/block/loop3\0"
         "SUBSYSTEM=block\0DEVNAME=loop3\0DEVTYPE=disk\0SEQNUM=4242\0"s,
         {"change", "loop3", "disk"}},
        {"partition with a /dev name",
         "add@/devices/x/sdb/sdb1\0ACTION=add\0SUBSYSTEM=block\0DEVNAME=/dev/sdb1\0DEVTYPE=partition\0"s,
         {"add", "sdb1", "partition"}},
        {"not a block device", "add@/devices/x/usb1\0ACTION=add\0SUBSYSTEM=usb\0DEVNAME=bus/usb/001\0"s, untouched},
        {"udev's own broadcast", "libudev\0ACTION=add\0SUBSYSTEM=block\0DEVNAME=sdb\0"s, untouched},
        {"no device name", "change@/devices/virtual/block/loop3\0ACTION=change\0SUBSYSTEM=block\0"s, untouched},
        {"unterminated last field", "remove@/x\0ACTION=remove\0SUBSYSTEM=block\0DEVNAME=loop7"s,
         {"remove", "loop7", ""}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BlockDeviceEvent event = untouched;
        EXPECT_EQ(row.event.action != "untouched", ParseUevent(row.message.data(), row.message.size(), &event));
        EXPECT_EQ(row.event.action, event.action);
        EXPECT_EQ(row.event.name, event.name);
        EXPECT_EQ(row.event.devtype, event.devtype);
    }
}
