// The registry filled from a fake sysfs tree per interconnect, read through
// the drive list as the program reads it: interface texts, product names,
// sizes, writable flags, icons, and which media are listed at all.
#include "FakeSysfs.h"
#include "devices/DevicePaths.h"
#include "devices/DriveList.h"
#include "devices/VolumeRecords.h"
#include "platform/SysfsRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

constexpr uint64_t kTwoGiBSectors = 4194304;

std::string PascalText(const unsigned char* pascal)
{
    return std::string(reinterpret_cast<const char*>(pascal + 1), pascal[0]);
}

struct MediumRow {
    const char* name;  // kernel name
    std::function<void(FakeSysfs&)> build;
    bool listed;
    const char* driveName;
    std::string interfaceText;
    const char* icon;
    bool writable;
};

const std::string kPci = "pci0000:00/0000:00:17.0";

class SysfsRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDeviceSysRoot(sysfs_.root().string());
        ClearDriveList();
        std::snprintf(gPathToAllIcons, sizeof gPathToAllIcons, "/icons/");
    }
    void TearDown() override
    {
        ClearDriveList();
        SetDeviceSysRoot("/sys");
        gPathToAllIcons[0] = '\0';
    }
    FakeSysfs sysfs_;
};

TEST_F(SysfsRegistryTest, EachInterconnectGivesItsTexts)
{
    const MediumRow rows[] = {
        {"sdx", [](FakeSysfs& s) {
             const std::string hub = "pci0000:00/0000:00:14.0/usb2";
             s.Write(hub + "/busnum", "2");
             s.Write(hub + "/devnum", "1");
             s.Write(hub + "/devpath", "0");
             s.Write(hub + "/2-1/busnum", "2");
             s.Write(hub + "/2-1/devnum", "3");
             s.Write(hub + "/2-1/devpath", "1.4");
             const std::string lun = hub + "/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
             s.Write(lun + "/vendor", "SanDisk ");
             s.Write(lun + "/model", "Ultra Fit-3/0   ");
             s.AddDisk(lun + "/block", "sdx", kTwoGiBSectors, {{"removable", "1"}});
         }, true, "SanDisk Ultra Fit_3_0", "USB:  locationID = 34865152", "drive-removable-media-usb", true},
        {"sdy", [](FakeSysfs& s) {
             const std::string lun = kPci + "/ata3/host2/target2:0:0/2:0:0:0";
             s.Write(lun + "/vendor", "ATA     ");
             s.Write(lun + "/model", "Samsung SSD 860 ");
             s.Write(lun + "/type", "0");
             s.AddDisk(lun + "/block", "sdy", kTwoGiBSectors);
         }, true, "Samsung SSD 860", "Serial ATA Channel 3", "drive-harddisk", true},
        {"sdw", [](FakeSysfs& s) {
             const std::string lun = "pci0000:00/0000:00:10.0/host0/target0:0:3/0:0:3:0";
             s.Write(lun + "/vendor", "SEAGATE ");
             s.Write(lun + "/model", "ST4000NM0023    ");
             s.AddDisk(lun + "/block", "sdw", kTwoGiBSectors, {{"ro", "1"}});
         }, true, "SEAGATE ST4000NM0023", "SCSI:  ID = 3", "drive-harddisk", false},
        {"sdv", [](FakeSysfs& s) {
             const std::string lun = "pci0000:00/0000:00:03.0/host7/rport-7:0-0/target7:0:0/7:0:0:0";
             s.Write(lun + "/vendor", "NETAPP  ");
             s.Write(lun + "/model", "LUN");
             s.AddDisk(lun + "/block", "sdv", kTwoGiBSectors);
         }, true, "NETAPP LUN", "Fibre Channel Interface", "drive-harddisk", true},
        {"nvme9n1", [](FakeSysfs& s) {
             const std::string controller = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme9";
             s.Write(controller + "/model", "Samsung SSD 980 PRO 1TB                 ");
             s.AddDisk(controller, "nvme9n1", kTwoGiBSectors, {{"nsid", "1"}});
         }, true, "Samsung SSD 980 PRO 1TB", "NVMe:  Namespace = 1", "drive-harddisk", true},
        {"vdz", [](FakeSysfs& s) { s.AddDisk("pci0000:00/0000:00:04.0/virtio5/block", "vdz", kTwoGiBSectors); },
         true, "Virtio Disk (vdz)", "Virtio:  Bus = virtio5", "drive-harddisk", true},
        {"loop99", [](FakeSysfs& s) {
             s.AddDisk("virtual/block", "loop99", kTwoGiBSectors, {{"loop/backing_file", "/dev/shm/disk.img"}});
         }, true, "Loop Device (loop99)", "Loop:  File = /dev/shm/disk.img", "drive-harddisk", true},
        {"mmcblk9", [](FakeSysfs& s) {
             const std::string card = "platform/soc/mmc9/mmc9:aaaa";
             s.Write(card + "/type", "SD");
             s.Write(card + "/name", "SC64G");
             s.AddDisk(card + "/block", "mmcblk9", kTwoGiBSectors, {{"removable", "1"}});
         }, true, "SD SC64G", "SD:  Card = mmc9:aaaa", "media-flash", true},
        {"md99", [](FakeSysfs& s) { s.AddDisk("virtual/block", "md99", kTwoGiBSectors, {{"md/level", "raid1"}}); },
         true, "md99", "Linux Software RAID: raid1", "/icons/MultiDisk.icns", true},
        {"sr9", [](FakeSysfs& s) {
             const std::string lun = kPci + "/ata1/host0/target0:0:0/0:0:0:0";
             s.Write(lun + "/vendor", "HL-DT-ST");
             s.Write(lun + "/model", "DVDRAM GH24NSD1 ");
             s.Write(lun + "/type", "5");
             s.AddDisk(lun + "/block", "sr9", kTwoGiBSectors);
         }, false, "", "", "", false},
        {"loop98", [](FakeSysfs& s) {
             s.AddDisk("virtual/block", "loop98", 2097152, {{"loop/backing_file", "/x"}});
         }, false, "", "", "", false},
        {"loop97", [](FakeSysfs& s) {
             s.AddDisk("virtual/block", "loop97", 2097153, {{"loop/backing_file", "/x"}});
         }, true, "Loop Device (loop97)", "Loop:  File = /x", "drive-harddisk", true},
        {"zram9", [](FakeSysfs& s) { s.AddDisk("virtual/block", "zram9", kTwoGiBSectors); }, false, "", "", "", false},
        {"nvme7n1", [](FakeSysfs& s) {  // multipath: the head below the subsystem, paths hidden
             s.Write("virtual/nvme-subsystem/nvme-subsys7/model", "Micron 7450 PRO ");
             s.AddDisk("virtual/nvme-subsystem/nvme-subsys7", "nvme7n1", kTwoGiBSectors, {{"nsid", "1"}});
             s.AddDisk("pci0000:00/0000:00:1c.0/nvme/nvme7", "nvme7c7n1", kTwoGiBSectors, {{"hidden", "1"}});
         }, true, "Micron 7450 PRO", "NVMe:  Namespace = 1", "drive-harddisk", true},
        {"nvme7c7n1", [](FakeSysfs&) {}, false, "", "", "", false},
        {"xvdb", [](FakeSysfs& s) { s.AddDisk("vbd-51728/block", "xvdb", kTwoGiBSectors); },
         true, "Xen Virtual Disk (xvdb)", "Xen Virtual Block Device:  vbd-51728", "drive-harddisk", true},
        {"nbd3", [](FakeSysfs& s) { s.AddDisk("virtual/block", "nbd3", kTwoGiBSectors); },
         true, "Network Block Device (nbd3)", "Network Block Device:  nbd3", "drive-harddisk", true},
        {"bcache0", [](FakeSysfs& s) {
             s.AddDisk("virtual/block", "bcache0", kTwoGiBSectors);
             s.AddSlave("bcache0", "sdy");
         }, true, "bcache Device (bcache0)", "bcache:  On = sdy", "drive-harddisk", true},
        {"md98", [](FakeSysfs& s) {
             s.AddDisk("virtual/block", "md98", kTwoGiBSectors, {{"md/level", "raid1"}, {"ro", "1"}});
         }, true, "md98", "Linux Software RAID: raid1", "/icons/MultiDisk.icns", false},
        {"loop95", [](FakeSysfs& s) {  // a backing path in UTF-8 and one too long for the text
             s.AddDisk("virtual/block", "loop95", kTwoGiBSectors, {{"loop/backing_file", "/srv/Bilder/M\xc3\xbcll.img"}});
             s.AddDisk("virtual/block", "loop94", kTwoGiBSectors, {{"loop/backing_file", "/" + std::string(300, 'x')}});
         }, true, "Loop Device (loop95)", "Loop:  File = /srv/Bilder/M\\xC3\\xBCll.img", "drive-harddisk", true},
        {"loop94", [](FakeSysfs&) {}, true, "Loop Device (loop94)",
         ("Loop:  File = ..." + std::string(197, 'x')).c_str(), "drive-harddisk", true},
    };
    for (const MediumRow& row : rows)
        row.build(sysfs_);
    IOKitRegisterForDeviceArrivalsRemovals();
    for (const MediumRow& row : rows) {
        SCOPED_TRACE(row.name);
        const int slot = FindListedDrive(("/dev/" + std::string(row.name)).c_str());
        ASSERT_EQ(row.listed, slot >= 0);
        if (slot < 0)
            continue;
        const DriveInfoRec& drive = gSavedDriveInfoArray[slot];
        EXPECT_STREQ(row.driveName, drive.driveNameCStr);
        EXPECT_EQ(row.interfaceText, PascalText(drive.interfaceInfoPStr));
        EXPECT_STREQ(row.icon, drive.iconPathCStr);
        EXPECT_EQ(row.writable, drive.writable);
        EXPECT_GT(drive.sizeInBytes64, int64_t{1} << 30);
        EXPECT_EQ(0u, drive.maxSegmentBytes64);
    }
    EXPECT_EQ(17, ListedDriveCount());
}

struct VolumeRow {
    const char* drive;
    std::vector<std::string> volumes;  // "name device mapper-name"
    const char* itemText;
};

// An NVMe laptop: /boot on a partition, the root on LVM inside LUKS on the
// next partition, mounted through /dev/mapper; a second drive of the same make.
TEST_F(SysfsRegistryTest, StackedVolumesLieOnTheirPhysicalDrive)
{
    const std::string pci = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/";
    for (const char* controller : {"nvme0", "nvme1"}) {
        sysfs_.Write(pci + controller + "/model", "Samsung SSD 970 EVO Plus 1TB");
        sysfs_.AddDisk(pci + controller, std::string(controller) + "n1", kTwoGiBSectors, {{"nsid", "1"}});
    }
    sysfs_.AddPartition(pci + "nvme0", "nvme0n1", "nvme0n1p1");
    sysfs_.AddPartition(pci + "nvme0", "nvme0n1", "nvme0n1p2");
    sysfs_.AddDisk("virtual/block", "dm-0", kTwoGiBSectors, {{"dm/name", "luks-0f3c"}, {"dm/uuid", "CRYPT-LUKS2-0f3c"}});
    sysfs_.AddDisk("virtual/block", "dm-1", kTwoGiBSectors, {{"dm/name", "vg-root"}, {"dm/uuid", "LVM-Xy"}});
    sysfs_.AddSlave("dm-0", "nvme0n1p2");
    sysfs_.AddSlave("dm-1", "dm-0");
    sysfs_.SetDevNumber("nvme0n1p1", "259:1");
    sysfs_.SetDevNumber("dm-1", "253:1");
    const std::filesystem::path mnt = sysfs_.root() / "mnt";
    std::filesystem::create_directories(mnt / "root");
    std::filesystem::create_directories(mnt / "boot");
    const std::string table = (sysfs_.root() / "mountinfo").string();
    std::ofstream(table) << "30 1 253:1 / " << (mnt / "root").string() << " rw - ext4 /dev/mapper/vg-root rw\n"
                         << "31 30 259:1 / " << (mnt / "boot").string() << " rw - ext4 /dev/nvme0n1p1 rw\n"
                         << "32 30 0:25 / /proc rw - proc proc rw\n";
    SetVolumeSources(table, "");
    IOKitRegisterForDeviceArrivalsRemovals();
    SetVolumeSources("/proc/self/mountinfo", "");
    const VolumeRow rows[] = {
        {"nvme0n1", {"root /dev/dm-1 vg-root", "boot /dev/nvme0n1p1 "}, "Samsung SSD 970 EVO Plus 1TB (nvme0n1)"},
        {"nvme1n1", {}, "Samsung SSD 970 EVO Plus 1TB (nvme1n1)"},
        // Menu names turn "-" into "_"; the Device line shows the node as it is.
        {"dm-0", {"root /dev/dm-1 vg-root"}, "Encrypted Volume (dm_0)"},
        {"dm-1", {"root /dev/dm-1 vg-root"}, "LVM Volume (dm_1)"},
    };
    ASSERT_EQ(4, ListedDriveCount());
    for (const VolumeRow& row : rows) {
        SCOPED_TRACE(row.drive);
        const int slot = FindListedDrive(("/dev/" + std::string(row.drive)).c_str());
        ASSERT_GE(slot, 0);
        EXPECT_EQ(row.itemText, ListedDriveItemText(slot));
        const DriveInfoRec& drive = gSavedDriveInfoArray[slot];
        std::vector<std::string> volumes;
        for (int index = 0; index < drive.volumeCount; ++index) {
            const VolInfoRec& volume = drive.volumes[index];
            volumes.push_back(std::string(volume.volNameCStr) + " " + volume.blockDevicePathCStr + " " +
                              volume.mapperNameCStr);
            EXPECT_STREQ("Linux File System (ext4)", volume.fileSystemNameCStr);
        }
        EXPECT_EQ(row.volumes, volumes);
    }
    // Volumes unmounted from a drive are found again for the remount by the same stack.
    EXPECT_TRUE(VolumeLiesOnDrive("/dev/dm-1", "/dev/nvme0n1"));
    EXPECT_FALSE(VolumeLiesOnDrive("/dev/dm-1", "/dev/nvme1n1"));
    EXPECT_EQ("Device Mapper:  Name = vg-root", PascalText(gSavedDriveInfoArray[FindListedDrive("/dev/dm-1")].interfaceInfoPStr));
}

TEST_F(SysfsRegistryTest, DrivesListInOrderOfKindThenNaturally)
{
    std::vector<std::string> names = {"loop10", "sdaa", "dm-1", "nvme10n1", "loop9", "sdb", "md0", "vda",
                                      "nvme2n1", "sda", "mmcblk0", "nbd0", "xvda", "bcache0", "sdz"};
    std::sort(names.begin(), names.end(), DriveNameComesBefore);
    const std::vector<std::string> expected = {"nvme2n1", "nvme10n1", "sda", "sdb", "sdz", "sdaa", "vda", "xvda",
                                               "mmcblk0", "md0", "dm-1", "bcache0", "nbd0", "loop9", "loop10"};
    EXPECT_EQ(expected, names);
}

TEST_F(SysfsRegistryTest, PartitionsLeadToTheirDrive)
{
    sysfs_.AddDisk("virtual/block", "loop96", kTwoGiBSectors);
    sysfs_.AddPartition("virtual/block", "loop96", "loop96p1");
    sysfs_.AddDisk("pci0000:00/0000:00:1d.0/nvme/nvme8", "nvme8n1", kTwoGiBSectors);
    sysfs_.AddPartition("pci0000:00/0000:00:1d.0/nvme/nvme8", "nvme8n1", "nvme8n1p2");
    const std::string root = sysfs_.root().string();
    const std::pair<const char*, const char*> rows[] = {
        {"/dev/loop96p1", "/dev/loop96"}, {"/dev/loop96", "/dev/loop96"},
        {"/dev/nvme8n1p2", "/dev/nvme8n1"}, {"/dev/nvme8n1", "/dev/nvme8n1"},
        {"/dev/sdq1", ""}, {"/dev/../etc", ""},
    };
    for (const auto& [node, drive] : rows)
        EXPECT_EQ(drive, DrivePathForDevicePath(node, root)) << node;
    // Partitions are never media of their own.
    EXPECT_EQ(2u, BuildMediaRegistry(root).media.size());
}

}  // namespace
