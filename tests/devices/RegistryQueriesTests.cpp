// The medium queries on registry entries built by hand: interface texts for
// each interconnect rule, transfer limits, icon paths, product names.
#include "devices/RegistryQueries.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::string InterfaceTextOf(const RegistryEntry& medium)
{
    unsigned char text[256];
    IOKitUtilsGetDeviceInterfaceInfo(medium, text);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

RegistryValue Protocol(const std::string& interconnect, RegistryDictionary more = {})
{
    more["Physical Interconnect"] = RegistryString(interconnect);
    return RegistryValue{more};
}

// A controller, a device below it, and the medium below that.
struct Tree {
    RegistryEntry controller{"controller"};
    RegistryEntry& device = controller.AddChild("device");
    RegistryEntry& medium = device.AddChild("Disk Media");
};

struct InterfaceRow {
    const char* name;
    std::function<void(Tree&)> fill;
    const char* expected;
};

// The interconnects a Linux sysfs tree gives are tested through the drive
// list in SysfsRegistryTests; here the rules no tree there reaches.
TEST(RegistryQueries, InterfaceTextPerInterconnect)
{
    const InterfaceRow rows[] = {
        {"USB without locationID", [](Tree& t) { t.device.Set("Protocol Characteristics", Protocol("USB")); }, ""},
        {"SCSI target identifier", [](Tree& t) {
             t.device.Set("Protocol Characteristics",
                          Protocol("SCSI", {{"SCSI Target Identifier", RegistryInteger(3)}}));
         }, "SCSI:  ID = 3"},
        {"SCSI target identifier as a string", [](Tree& t) {
             t.device.Set("Protocol Characteristics",
                          Protocol("SCSI", {{"SCSI Target Identifier", RegistryString("3")}}));
             t.controller.Set("SCSI Target", RegistryInteger(5));
         }, ""},
        {"SCSI wins over ATA", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("ATA over SCSI"));
             t.controller.Set("SCSI Target", RegistryInteger(1));
         }, "ATA over SCSI:  ID = 1"},
        {"ATA bus-id 00 01", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("ATA"));
             t.device.Set("unit number", RegistryInteger(0));
             t.controller.Set("AAPL,bus-id", RegistryBytes({0x00, 0x01}));
         }, "ATA Bus 1: Dev 0"},
        {"ATA bus-id 00 00", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("ATA"));
             t.device.Set("unit number", RegistryInteger(0));
             t.controller.Set("AAPL,bus-id", RegistryBytes({0x00, 0x00}));
         }, "ATA Bus 0: Dev 0"},
        {"ATA bus-id of the wrong type", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("ATA"));
             t.device.Set("unit number", RegistryInteger(1));
             t.controller.Set("AAPL,bus-id", RegistryString("x"));
         }, "ATA Bus ???: Dev 1"},
        {"ATA without unit number", [](Tree& t) {
             t.device.Set("Protocol Characteristics",
                          Protocol("ATA", {{"Physical Interconnect Location", RegistryString("Internal")}}));
         }, "ATA Internal"},
        {"ATA with a Channel number", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("ATAPI"));
             t.device.Set("unit number", RegistryInteger(0));
             t.controller.Set("Channel", RegistryInteger(1));
         }, "Channel: 1"},
        {"ATA generic device type", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("ATA"));
             t.device.Set("unit number", RegistryInteger(0));
             t.controller.Set("device-type", RegistryString("Generic"));
             t.controller.Set("socket type", RegistryString("PCMCIA"));
         }, "PCMCIA"},
        {"ATA other device type", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("ATA"));
             t.device.Set("unit number", RegistryInteger(0));
             t.controller.Set("device-type", RegistryString("ata-disk"));
         }, "device-type: ata-disk"},
        {"FireWire with GUID", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("FireWire"));
             t.controller.Set("GUID", RegistryInteger(0x1234ABCD, RegistryNumber::Type::SInt32));
         }, "FireWire:  GUID = 1234ABCD"},
        {"FireWire without GUID", [](Tree& t) { t.device.Set("Protocol Characteristics", Protocol("FireWire")); }, ""},
        {"unknown interconnect", [](Tree& t) {
             t.device.Set("Protocol Characteristics", Protocol("Virtual Interface"));
         }, ""},
        {"no protocol dictionary", [](Tree&) {}, ""},
        {"interconnect that is not ASCII", [](Tree& t) { t.device.Set("Protocol Characteristics", Protocol("USB\xC3\xA9")); }, ""},
    };
    for (const InterfaceRow& row : rows) {
        Tree tree;
        row.fill(tree);
        EXPECT_EQ(row.expected, InterfaceTextOf(tree.medium)) << row.name;
    }
}

TEST(RegistryQueries, RaidSetText)
{
    const std::pair<std::vector<std::pair<const char*, const char*>>, const char*> rows[] = {
        {{{"IOClass", "AppleRAIDUnion"}, {"AppleRAID-LevelName", "Stripe"}}, "AppleRAID: Stripe"},
        {{{"IOClass", "AppleRAIDUnion"}}, ""},
        {{{"IOClass", "LinuxSoftwareRAID"}, {"RAID Level", "raid1"}}, "Linux Software RAID: raid1"},
    };
    for (const auto& [properties, expected] : rows) {
        RegistryEntry set("Big Set");
        for (const auto& [key, value] : properties)
            set.Set(key, RegistryString(value));
        char text[256];
        IOKitUtilsGetNonMediaDeviceInterfaceInfo(set, text);
        EXPECT_STREQ(expected, text);
    }
    RegistryEntry plain("Plain");
    plain.Set("IOClass", RegistryString("IOMedia"));
    plain.Set("Protocol Characteristics", Protocol("Fibre Channel Interface"));
    char text[256];
    IOKitUtilsGetNonMediaDeviceInterfaceInfo(plain, text);
    EXPECT_STREQ("Fibre Channel Interface", text);
}

TEST(RegistryQueries, LargestTransfer)
{
    struct Row {
        bool read;
        bool write;
        uint64_t expected;
    };
    for (const Row& row : {Row{true, true, 131072}, Row{false, true, 0}, Row{true, false, 0}}) {
        Tree tree;
        if (row.read)
            tree.device.Set("IOMaximumSegmentByteCountRead", RegistryInteger(65535));
        if (row.write)
            tree.device.Set("IOMaximumSegmentByteCountWrite", RegistryInteger(131071));
        uint64_t count = 99;
        IOKitGetMaxSegmenByteCountSize(tree.medium, &count);
        EXPECT_EQ(row.expected, count);
    }
}

TEST(RegistryQueries, IconPaths)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"com.apple.iokit.IOSCSIArchitectureModelFamily", "Internal.icns",
         "/System/Library/Extensions/IOSCSIArchitectureModelFamily.kext/Contents/Resources/Internal.icns"},
        {"com.Vornhelm.driver", "Any.icns", "/System/Library/Extensions/Vornhelm.kext/Contents/Resources/NonRAID.icns"},
        {"org.example.driver", "Disk.icns", "/System/Library/Extensions/org.example.driver.kext/Contents/Resources/Disk.icns"},
        {kIconThemeBundle, "drive-harddisk-usb", "drive-harddisk-usb"},
    };
    for (const auto& [bundle, file, expected] : rows) {
        Tree tree;
        RegistryDictionary icon{{"CFBundleIdentifier", RegistryString(bundle)}, {"IOBundleResourceFile", RegistryString(file)}};
        tree.controller.Set("IOMediaIcon", RegistryValue{icon});
        char path[1024];
        IOKitGetMediaIconFullPath(tree.medium, path);
        EXPECT_STREQ(expected, path);
    }
}

TEST(RegistryQueries, MediumFacts)
{
    Tree tree;
    tree.medium.Set("BSD Name", RegistryString("sdb"));
    tree.medium.Set("Writable", RegistryBool(true));
    tree.medium.Set("Size", RegistryInteger(2000398934016));
    tree.device.Set("Device Characteristics", RegistryValue{RegistryDictionary{{"Product Name", RegistryString("  WDC WD20  ")}}});
    char text[1024];
    IOKitUtilsGetBDSName(tree.medium, text);
    EXPECT_STREQ("/dev/sdb", text);
    IOKitUtilsGetDeviceProductNameCStr(tree.medium, text);
    EXPECT_STREQ("WDC WD20", text);
    int64_t size = 0;
    IOKitUtilsGetDeviceSizeInBytes(tree.medium, &size);
    EXPECT_EQ(2000398934016, size);
    EXPECT_TRUE(IOKitUtilsIsDeviceWritable(tree.medium));
    EXPECT_FALSE(IOKitUtilsMediaHasTOC(tree.medium));

    // Own-entry properties are not taken from ancestors.
    Tree other;
    other.device.Set("BSD Name", RegistryString("sda"));
    other.device.Set("Writable", RegistryBool(true));
    other.device.Set("TOC", RegistryBytes({1}));
    IOKitUtilsGetBDSName(other.medium, text);
    EXPECT_STREQ("", text);
    EXPECT_FALSE(IOKitUtilsIsDeviceWritable(other.medium));
    EXPECT_FALSE(IOKitUtilsMediaHasTOC(other.medium));
    other.medium.Set("TOC", RegistryBytes({}));
    other.medium.Set("Writable", RegistryString("yes"));
    EXPECT_TRUE(IOKitUtilsMediaHasTOC(other.medium));
    EXPECT_FALSE(IOKitUtilsIsDeviceWritable(other.medium));
}

}  // namespace
