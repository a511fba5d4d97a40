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
#include <regex>

namespace {

struct MediumRow {
    const char* name;  // kernel name
    const char* driveName;
    std::string interfaceText;
    const char* icon;
    bool writable;
};

TEST(SysfsRegistry, EachInterconnectGivesItsTexts)
{
    FakeSysfs sysfs;
    std::snprintf(gPathToAllIcons, sizeof gPathToAllIcons, "/icons/");
    const std::string hub = "pci0000:00/0000:00:14.0/usb2";
    sysfs.Write(hub, {{"busnum", "2"}, {"devnum", "1"}, {"devpath", "0"}});
    sysfs.Write(hub + "/2-1", {{"busnum", "2"}, {"devnum", "3"}, {"devpath", "1.4"}});
    const std::string usb = hub + "/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
    sysfs.Write(usb, {{"vendor", "SanDisk "}, {"model", "Ultra Fit-3/0   "}});
    sysfs.AddDisk(usb + "/block", "sdx", kTwoGiBSectors, {{"removable", "1"}});
    const std::string ata = "pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0";
    sysfs.Write(ata, {{"vendor", "ATA     "}, {"model", "Samsung SSD 860 "}, {"type", "0"}});
    sysfs.AddDisk(ata + "/block", "sdy");
    const std::string scsi = "pci0000:00/0000:00:10.0/host0/target0:0:3/0:0:3:0";
    sysfs.Write(scsi, {{"vendor", "SEAGATE "}, {"model", "ST4000NM0023    "}});
    sysfs.AddDisk(scsi + "/block", "sdw", kTwoGiBSectors, {{"ro", "1"}});
    const std::string fibre = "pci0000:00/0000:00:03.0/host7/rport-7:0-0/target7:0:0/7:0:0:0";
    sysfs.Write(fibre, {{"vendor", "NETAPP  "}, {"model", "LUN"}});
    sysfs.AddDisk(fibre + "/block", "sdv");
    const std::string nvme = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme9";
    sysfs.Write(nvme, {{"model", "Samsung SSD 980 PRO 1TB                 "}});
    sysfs.AddDisk(nvme, "nvme9n1", kTwoGiBSectors, {{"nsid", "1"}});
    sysfs.AddDisk("pci0000:00/0000:00:04.0/virtio5/block", "vdz");
    const std::string card = "platform/soc/mmc9/mmc9:aaaa";
    sysfs.Write(card, {{"type", "SD"}, {"name", "SC64G"}});
    sysfs.AddDisk(card + "/block", "mmcblk9", kTwoGiBSectors, {{"removable", "1"}});
    sysfs.AddDisk("virtual/block", "md99", kTwoGiBSectors, {{"md/level", "raid1"}});
    sysfs.AddDisk("virtual/block", "md98", kTwoGiBSectors, {{"md/level", "raid1"}, {"ro", "1"}});
    const std::string optical = "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
    sysfs.Write(optical, {{"vendor", "HL-DT-ST"}, {"model", "DVDRAM GH24NSD1 "}, {"type", "5"}});
    sysfs.AddDisk(optical + "/block", "sr9");
    // The size rule: more than 1 GiB.
    sysfs.AddDisk("virtual/block", "loop98", 2097152, {{"loop/backing_file", "/x"}});
    sysfs.AddDisk("virtual/block", "loop97", 2097153, {{"loop/backing_file", "/x"}});
    sysfs.AddDisk("virtual/block", "zram9");
    // Multipath: the head below the subsystem, the path devices hidden.
    sysfs.Write("virtual/nvme-subsystem/nvme-subsys7", {{"model", "Micron 7450 PRO "}});
    sysfs.AddDisk("virtual/nvme-subsystem/nvme-subsys7", "nvme7n1", kTwoGiBSectors, {{"nsid", "1"}});
    sysfs.AddDisk("pci0000:00/0000:00:1c.0/nvme/nvme7", "nvme7c7n1", kTwoGiBSectors, {{"hidden", "1"}});
    sysfs.AddDisk("vbd-51728/block", "xvdb");
    sysfs.AddDisk("virtual/block", "nbd3");
    sysfs.AddDisk("virtual/block", "dm-5", kTwoGiBSectors, {{"dm/name", "vg-root"}, {"dm/uuid", "LVM-Xy"}});
    sysfs.AddDisk("virtual/block", "bcache0");
    sysfs.AddSlave("bcache0", "sdy");
    // A backing path in UTF-8 with a byte that is none, and one too long for the text.
    sysfs.AddDisk("virtual/block", "loop95", kTwoGiBSectors, {{"loop/backing_file", "/srv/Bilder/M\xc3\xbcll\xe9.img"}});
    sysfs.AddDisk("virtual/block", "loop94", kTwoGiBSectors, {{"loop/backing_file", "/" + std::string(100, '\xe6')}});
    WatchDeviceEvents();
    gPathToAllIcons[0] = '\0';

    const MediumRow rows[] = {
        {"sdx", "SanDisk Ultra Fit_3_0", "USB:  locationID = 34865152", "drive-removable-media-usb", true},
        {"sdy", "Samsung SSD 860", "Serial ATA Channel 3", "drive-harddisk", true},
        {"sdw", "SEAGATE ST4000NM0023", "SCSI:  ID = 3", "drive-harddisk", false},
        {"sdv", "NETAPP LUN", "Fibre Channel Interface", "drive-harddisk", true},
        {"nvme9n1", "Samsung SSD 980 PRO 1TB", "NVMe:  Namespace = 1", "drive-harddisk", true},
        {"vdz", "Virtio Disk (vdz)", "Virtio:  Bus = virtio5", "drive-harddisk", true},
        {"mmcblk9", "SD SC64G", "SD:  Card = mmc9:aaaa", "media-flash", true},
        {"md99", "md99", "Linux Software RAID: raid1", "/icons/MultiDisk.icns", true},
        {"md98", "md98", "Linux Software RAID: raid1", "/icons/MultiDisk.icns", false},
        {"loop97", "Loop Device (loop97)", "Loop:  File = /x", "drive-harddisk", true},
        {"nvme7n1", "Micron 7450 PRO", "NVMe:  Namespace = 1", "drive-harddisk", true},
        {"xvdb", "Xen Virtual Disk (xvdb)", "Xen Virtual Block Device:  vbd-51728", "drive-harddisk", true},
        {"nbd3", "Network Block Device (nbd3)", "Network Block Device:  nbd3", "drive-harddisk", true},
        {"dm-5", "LVM Volume (dm_5)", "Device Mapper:  Name = vg-root", "drive-harddisk", true},
        {"bcache0", "bcache Device (bcache0)", "bcache:  On = sdy", "drive-harddisk", true},
        {"loop95", "Loop Device (loop95)", "Loop:  File = /srv/Bilder/M\xc3\xbcll\\xE9.img", "drive-harddisk", true},
        {"loop94", "Loop Device (loop94)", "Loop:  File = ..." + std::regex_replace(std::string(49, '.'), std::regex("\\."), "\\xE6"),
         "drive-harddisk", true},
    };
    for (const MediumRow& row : rows) {
        SCOPED_TRACE(row.name);
        const int slot = FindListedDrive(("/dev/" + std::string(row.name)).c_str());
        ASSERT_GE(slot, 0);
        const DriveRecord& drive = Devices().drives[static_cast<std::size_t>(slot)];
        EXPECT_EQ(row.driveName, drive.name);
        EXPECT_EQ(row.interfaceText, drive.interfaceText);
        EXPECT_EQ(row.icon, drive.iconPath);
        EXPECT_EQ(row.writable, drive.writable);
    }
    EXPECT_EQ(17, ListedDriveCount());
    // Optical drives, a size of exactly 1 GiB, no known interconnect, multipath path devices.
    for (const char* name : {"sr9", "loop98", "zram9", "nvme7c7n1"})
        EXPECT_EQ(-1, FindListedDrive(("/dev/" + std::string(name)).c_str())) << name;
}

// An NVMe laptop: /boot on a partition, the root on LVM inside LUKS on the
// next partition, mounted through /dev/mapper; a second drive of the same make.
TEST(SysfsRegistry, StackedVolumesLieOnTheirPhysicalDrive)
{
    FakeSysfs sysfs;
    const std::string pci = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/";
    for (const char* controller : {"nvme0", "nvme1"}) {
        sysfs.Write(pci + controller, {{"model", "Samsung SSD 970 EVO Plus 1TB"}});
        sysfs.AddDisk(pci + controller, std::string(controller) + "n1", kTwoGiBSectors, {{"nsid", "1"}});
    }
    sysfs.AddPartition(pci + "nvme0", "nvme0n1", "nvme0n1p1");
    sysfs.AddPartition(pci + "nvme0", "nvme0n1", "nvme0n1p2");
    sysfs.AddDisk("virtual/block", "dm-0", kTwoGiBSectors, {{"dm/name", "luks-0f3c"}, {"dm/uuid", "CRYPT-LUKS2-0f3c"}});
    sysfs.AddDisk("virtual/block", "dm-1", kTwoGiBSectors, {{"dm/name", "vg-root"}, {"dm/uuid", "LVM-Xy"}});
    sysfs.AddSlave("dm-0", "nvme0n1p2");
    sysfs.AddSlave("dm-1", "dm-0");
    sysfs.SetDevNumber("nvme0n1p1", "259:1");
    sysfs.SetDevNumber("dm-1", "253:1");
    const std::filesystem::path mnt = sysfs.root() / "mnt";
    for (const char* folder : {"root", "boot"})
        std::filesystem::create_directories(mnt / folder);
    const std::string table = (sysfs.root() / "mountinfo").string();
    std::ofstream(table) << "30 1 253:1 / " << (mnt / "root").string() << " rw - ext4 /dev/mapper/vg-root rw\n"
                         << "31 30 259:1 / " << (mnt / "boot").string() << " rw - ext4 /dev/nvme0n1p1 rw\n"
                         << "32 30 0:25 / /proc rw - proc proc rw\n";
    SetVolumeSources(table, "");
    WatchDeviceEvents();
    SetVolumeSources("/proc/self/mountinfo", "");
    const struct {
        const char* drive;
        std::vector<std::string> volumes;  // "name device mapper-name"
        const char* itemText;
    } rows[] = {
        {"nvme0n1", {"root /dev/dm-1 vg-root", "boot /dev/nvme0n1p1 "}, "Samsung SSD 970 EVO Plus 1TB (nvme0n1)"},
        {"nvme1n1", {}, "Samsung SSD 970 EVO Plus 1TB (nvme1n1)"},
        // Menu names turn "-" into "_"; the Device line shows the node as it is.
        {"dm-0", {"root /dev/dm-1 vg-root"}, "Encrypted Volume (dm_0)"},
        {"dm-1", {"root /dev/dm-1 vg-root"}, "LVM Volume (dm_1)"},
    };
    ASSERT_EQ(4, ListedDriveCount());  // partitions are no drives
    for (const auto& row : rows) {
        SCOPED_TRACE(row.drive);
        const int slot = FindListedDrive(("/dev/" + std::string(row.drive)).c_str());
        ASSERT_GE(slot, 0);
        EXPECT_EQ(row.itemText, ListedDriveItemText(slot));
        std::vector<std::string> volumes;
        for (const VolumeRecord& volume : Devices().drives[static_cast<std::size_t>(slot)].volumes) {
            volumes.push_back(volume.name + " " + volume.devicePath + " " + volume.mapperName);
            EXPECT_EQ("Linux File System (ext4)", volume.fileSystemName);
        }
        EXPECT_EQ(row.volumes, volumes);
    }
    // Volumes unmounted from a drive are found again for the remount by the same stack.
    EXPECT_TRUE(VolumeLiesOnDrive("/dev/dm-1", "/dev/nvme0n1"));
    EXPECT_FALSE(VolumeLiesOnDrive("/dev/dm-1", "/dev/nvme1n1"));
    // Partitions lead to their drive.
    const std::pair<const char*, const char*> partitions[] = {
        {"/dev/nvme0n1p2", "/dev/nvme0n1"}, {"/dev/nvme0n1", "/dev/nvme0n1"}, {"/dev/sdq1", ""}, {"/dev/../etc", ""},
    };
    for (const auto& [node, drive] : partitions)
        EXPECT_EQ(drive, DrivePathForDevicePath(node, sysfs.root().string())) << node;
}

TEST(SysfsRegistry, DrivesListInOrderOfKindThenNaturally)
{
    std::vector<std::string> names = {"loop10", "sdaa", "dm-1", "nvme10n1", "loop9", "sdb", "md0", "vda",
                                      "nvme2n1", "sda", "mmcblk0", "nbd0", "xvda", "bcache0", "sdz", "sd01x", "sd1"};
    std::sort(names.begin(), names.end(), DriveNameComesBefore);
    const std::vector<std::string> expected = {"nvme2n1", "nvme10n1", "sd1", "sd01x", "sda", "sdb", "sdz", "sdaa", "vda",
                                               "xvda", "mmcblk0", "md0", "dm-1", "bcache0", "nbd0", "loop9", "loop10"};
    EXPECT_EQ(expected, names);
}

}  // namespace
