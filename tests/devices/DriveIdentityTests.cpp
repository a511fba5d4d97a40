// Drive identities from a fake sysfs tree and udev database: each source in
// its order of preference, drives without a serial by where they are attached,
// loop devices by backing file, volumes by partition.
#include "FakeSysfs.h"

#include "devices/DriveIdentity.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(DriveIdentity, EachSourceInItsOrderOfPreference)
{
    FakeSysfs sys;
    const std::filesystem::path udev = sys.root() / "udev";
    std::filesystem::create_directories(udev);
    std::ofstream(udev / "b8:48") << "S:disk/by-id/x\nE:ID_SERIAL=Maker_Disk_XYZ123\nE:ID_WWN=0x5000aaaa\n";
    std::ofstream(udev / "b8:64") << "E:ID_WWN=0x5000bbbb\n";
    std::ofstream(udev / "b8:32") << "E:ID_SERIAL=Udev_Serial_After_VPD\n";
    std::ofstream(udev / "b8:112") << "E:ID_PATH=pci-0000:00:1f.2-ata-2\n";
    const std::string vpd = std::string("\x00\x80\x00\x08ZA1B2C3D", 12);
    const std::string host = "pci0000:00/host0/target0:0:0/0:0:0:0/block";
    sys.AddDisk(host, "sda", kTwoGiBSectors, {{"device/serial", "  S3Z9NB0K  "}, {"wwid", "naa.ignored"}});
    sys.AddDisk(host, "sdb", kTwoGiBSectors, {{"wwid", "naa.5000c500a1b2c3d4"}, {"device/model", "ignored"}});
    sys.AddDisk(host, "sdc", kTwoGiBSectors, {{"device/vpd_pg80", vpd}, {"dev", "8:32"}});
    sys.AddDisk(host, "sdd", kTwoGiBSectors, {{"dev", "8:48"}, {"device/model", "ignored"}});
    sys.AddDisk(host, "sde", kTwoGiBSectors, {{"dev", "8:64"}});
    // Two drives of one model and size without a serial, on two ports (udev names the second).
    sys.AddDisk("pci0000:00/0000:00:1f.2/ata1/host4/target4:0:0/4:0:0:0/block", "sdf", kTwoGiBSectors, {{"device/model", "Disk Model  "}, {"dev", "8:80"}});
    sys.AddDisk("pci0000:00/0000:00:1f.2/ata2/host5/target5:0:0/5:0:0:0/block", "sdg", kTwoGiBSectors, {{"device/model", "Disk Model"}, {"dev", "8:112"}});
    sys.AddDisk("virtual/block", "dm-3", kTwoGiBSectors, {{"dm/uuid", "LVM-Xy12"}});
    sys.AddDisk("virtual/block", "loop7", kTwoGiBSectors, {{"loop/backing_file", "/var/tmp/disk.img"}, {"device/serial", "x"}});
    sys.AddPartition(host, "sda", "sda1");
    const DriveIdentityRoots roots{sys.root().string(), udev.string()};

    const std::pair<const char*, const char*> cases[] = {
        {"/dev/sda", "serial:S3Z9NB0K"},
        {"/dev/sdb", "serial:naa.5000c500a1b2c3d4"},
        {"/dev/sdc", "serial:ZA1B2C3D"},
        {"/dev/sdd", "serial:Maker_Disk_XYZ123"},
        {"/dev/sde", "wwn:0x5000bbbb"},
        {"/dev/sdf", "model:Disk Model:2147483648@pci0000:00/0000:00:1f.2/ata1/0:0:0"},
        {"/dev/sdg", "model:Disk Model:2147483648@pci-0000:00:1f.2-ata-2"},
        {"/dev/dm-3", "model::2147483648@dm-uuid-LVM-Xy12"},
        {"/dev/loop7", "loop:/var/tmp/disk.img"},
        {"/dev/sda1", "serial:S3Z9NB0K#part1"},
        {"/dev/sdz", ""},
    };
    for (const auto& [node, identity] : cases)
        EXPECT_EQ(DriveIdentityFor(node, roots), identity) << node;
}
}  // namespace
