// Kernel uevent messages as the netlink socket delivers them.
#include "platform/DeviceMonitor.h"

#include <gtest/gtest.h>

namespace {

std::string Message(std::initializer_list<const char*> fields)
{
    std::string bytes;
    for (const char* field : fields) {
        bytes += field;
        bytes += '\0';
    }
    return bytes;
}

struct UeventRow {
    const char* name;
    std::string message;
    bool parsed;
    BlockDeviceEvent event;
};

TEST(DeviceMonitor, ParsesKernelBlockEvents)
{
    const UeventRow rows[] = {
        {"loop attach", Message({"change@/devices/virtual/block/loop3", "ACTION=change",
                                 "DEVPATH=/devices/virtual/block/loop3", "SUBSYSTEM=block", "DEVNAME=loop3",
                                 "DEVTYPE=disk", "SEQNUM=4242"}),
         true, {"change", "loop3", "disk"}},
        {"partition with a /dev name", Message({"add@/devices/x/sdb/sdb1", "ACTION=add", "SUBSYSTEM=block",
                                                "DEVNAME=/dev/sdb1", "DEVTYPE=partition"}),
         true, {"add", "sdb1", "partition"}},
        {"not a block device", Message({"add@/devices/x/usb1", "ACTION=add", "SUBSYSTEM=usb", "DEVNAME=bus/usb/001"}),
         false, {}},
        {"udev's own broadcast", Message({"libudev", "ACTION=add", "SUBSYSTEM=block", "DEVNAME=sdb"}), false, {}},
        {"no device name", Message({"change@/devices/virtual/block/loop3", "ACTION=change", "SUBSYSTEM=block"}),
         false, {}},
        {"empty", std::string(), false, {}},
        {"unterminated last field", std::string("remove@/x\0ACTION=remove\0SUBSYSTEM=block\0DEVNAME=loop7", 53),
         true, {"remove", "loop7", ""}},
    };
    for (const UeventRow& row : rows) {
        SCOPED_TRACE(row.name);
        BlockDeviceEvent event{"untouched", "", ""};
        ASSERT_EQ(row.parsed, ParseUevent(row.message.data(), row.message.size(), &event));
        if (!row.parsed) {
            EXPECT_EQ("untouched", event.action);
            continue;
        }
        EXPECT_EQ(row.event.action, event.action);
        EXPECT_EQ(row.event.name, event.name);
        EXPECT_EQ(row.event.devtype, event.devtype);
    }
}

}  // namespace
