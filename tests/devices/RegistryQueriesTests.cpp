// The medium queries on registry entries built by hand, for the rules that no
// Linux sysfs tree reaches (ATA bus identifiers, FireWire, AppleRAID sets,
// segment limits, kernel-extension icons). The rules a sysfs tree reaches are
// tested through the drive list in SysfsRegistryTests.
#include "devices/RegistryQueries.h"

#include <gtest/gtest.h>

namespace {

// A controller, a device below it, and the medium below that.
struct Tree {
    RegistryEntry controller{"controller"};
    RegistryEntry& device = controller.AddChild("device");
    RegistryEntry& medium = device.AddChild("Disk Media");
};

struct InterfaceRow {
    const char* interconnect;  // nullptr: no protocol dictionary
    RegistryDictionary protocol;
    RegistryDictionary device;
    RegistryDictionary controller;
    RegistryDictionary medium;
    const char* expected;
};

// Composite media (RAID sets) first, then the media text of the interconnect.
TEST(RegistryQueries, InterfaceTextsLargestTransferAndIconPaths)
{
    const RegistryDictionary unit0{{"unit number", RegistryInteger(0)}};
    const InterfaceRow rows[] = {
        {"USB", {}, {}, {}, {}, ""},
        {"SCSI", {{"SCSI Target Identifier", RegistryInteger(3)}}, {}, {}, {}, "SCSI:  ID = 3"},
        {"SCSI", {{"SCSI Target Identifier", RegistryString("3")}}, {}, {{"SCSI Target", RegistryInteger(5)}}, {}, ""},
        {"ATA over SCSI", {}, {}, {{"SCSI Target", RegistryInteger(1)}}, {}, "ATA over SCSI:  ID = 1"},
        {"ATA", {}, unit0, {{"AAPL,bus-id", RegistryBytes({0x00, 0x01})}}, {}, "ATA Bus 1: Dev 0"},
        {"ATA", {}, unit0, {{"AAPL,bus-id", RegistryBytes({0x00, 0x00})}}, {}, "ATA Bus 0: Dev 0"},
        {"ATA", {}, {{"unit number", RegistryInteger(1)}}, {{"AAPL,bus-id", RegistryString("x")}}, {}, "ATA Bus ???: Dev 1"},
        {"ATA", {{"Physical Interconnect Location", RegistryString("Internal")}}, {}, {}, {}, "ATA Internal"},
        {"ATAPI", {}, unit0, {{"Channel", RegistryInteger(1)}}, {}, "Channel: 1"},
        {"ATA", {}, unit0, {{"device-type", RegistryString("Generic")}, {"socket type", RegistryString("PCMCIA")}}, {},
         "PCMCIA"},
        {"ATA", {}, unit0, {{"device-type", RegistryString("ata-disk")}}, {}, "device-type: ata-disk"},
        {"FireWire", {}, {}, {{"GUID", RegistryInteger(0x1234ABCD, RegistryNumber::Type::SInt32)}}, {},
         "FireWire:  GUID = 1234ABCD"},
        {"Virtual Interface", {}, {}, {}, {}, ""},
        {nullptr, {}, {}, {}, {}, ""},
        {"USB\xC3\xA9", {}, {}, {}, {}, ""},
        {nullptr, {}, {}, {}, {{"IOClass", RegistryString("AppleRAIDUnion")}, {"AppleRAID-LevelName", RegistryString("Stripe")}},
         "AppleRAID: Stripe"},
        {nullptr, {}, {}, {}, {{"IOClass", RegistryString("AppleRAIDUnion")}}, ""},
        {"Fibre Channel Interface", {}, {}, {}, {{"IOClass", RegistryString("IOMedia")}}, "Fibre Channel Interface"},
    };
    for (const InterfaceRow& row : rows) {
        Tree tree;
        if (row.interconnect != nullptr) {
            RegistryDictionary protocol = row.protocol;
            protocol["Physical Interconnect"] = RegistryString(row.interconnect);
            tree.device.Set("Protocol Characteristics", RegistryValue{protocol});
        }
        for (const auto& [entry, properties] : {std::pair{&tree.device, &row.device}, {&tree.controller, &row.controller},
                                                {&tree.medium, &row.medium}}) {
            for (const auto& [key, value] : *properties)
                entry->Set(key, value);
        }
        EXPECT_EQ(row.expected, CompositeDeviceInterfaceText(tree.medium)) << (row.interconnect ? row.interconnect : "-");
    }
    // The largest transfer, and icon files of kernel extensions.
    for (const auto& [read, write, expected] : {std::tuple{true, true, 131072u}, {false, true, 0u}, {true, false, 0u}}) {
        Tree tree;
        if (read)
            tree.device.Set("IOMaximumSegmentByteCountRead", RegistryInteger(65535));
        if (write)
            tree.device.Set("IOMaximumSegmentByteCountWrite", RegistryInteger(131071));
        EXPECT_EQ(expected, MaxTransferBytes(tree.medium));
    }
    const std::tuple<const char*, const char*, const char*> icons[] = {
        {"com.apple.iokit.IOSCSIArchitectureModelFamily", "Internal.icns",
         "/System/Library/Extensions/IOSCSIArchitectureModelFamily.kext/Contents/Resources/Internal.icns"},
        {"com.Vornhelm.driver", "Any.icns", "/System/Library/Extensions/Vornhelm.kext/Contents/Resources/NonRAID.icns"},
        {"org.example.driver", "Disk.icns", "/System/Library/Extensions/org.example.driver.kext/Contents/Resources/Disk.icns"},
    };
    for (const auto& [bundle, file, expected] : icons) {
        Tree tree;
        RegistryDictionary icon{{"CFBundleIdentifier", RegistryString(bundle)}, {"IOBundleResourceFile", RegistryString(file)}};
        tree.controller.Set("IOMediaIcon", RegistryValue{icon});
        EXPECT_EQ(expected, DeviceIconPath(tree.medium));
    }
}

}  // namespace
