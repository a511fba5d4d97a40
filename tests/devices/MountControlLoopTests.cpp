// Unmounting a loop drive's volumes and mounting them back where and how
// they were; a busy volume refuses and names the process that holds it.
// Single-volume round trips of plain mounts are tested by the window runs in
// tests/shell.
#include "LoopDriveFixture.h"
#include "devices/DevicePaths.h"
#include "devices/MountControl.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <fcntl.h>
#include <functional>
#include <sys/mman.h>
#include <fstream>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace {

DriveInfoRec DriveNamed(const std::string& node)
{
    DriveInfoRec drive{};
    std::snprintf(drive.devicePathCStr, sizeof drive.devicePathCStr, "%s", node.c_str());
    return drive;
}


std::string FileHashes(const std::string& folders)
{
    std::string out;
    RunCommand("find " + folders + " -type f | sort | xargs cksum", &out);
    return out;
}

// The layouts desktops really have, all on one drive: btrfs subvolumes
// mounted without the top level, a mount point folder that the desktop
// removes while the volume is unmounted, a volume mounted inside another, a
// bind mount, an ext4 with a label, a FUSE file system (ntfs-3g). Everything comes back exactly as it was.
TEST_F(LoopDriveTest, EveryLayoutComesBackAsItWas)
{
    const LoopVolume& ext4 = volumes_[0];
    const std::string base = ext4.mount->path();
    const std::string media = base + "-media";  // beside the fixture's folders, removed at the end
    struct Cleanup {
        std::string command;
        ~Cleanup() { RunCommand(command); }
    } cleanup{"umount " + media + "/Photos " + media + "/loose; while mountpoint -q " + media + "/bind; do umount " + media +
              "/bind; done; umount " + base + "/inner; rm -rf " + media};
    ASSERT_EQ(0, RunCommand("mkdir -p " + media + "/bind " + base + "/shared " + base + "/inner && echo s > " + base +
                            "/shared/file && umount " + volumes_[1].mount->path()));
    // Nested, and through a FUSE mount helper where ntfs-3g is installed.
    const bool fuse = RunCommand("command -v mkntfs") == 0;
    ASSERT_EQ(0, RunCommand((fuse ? "mkntfs -Q -F " + volumes_[1].node + " && mount -t ntfs-3g " : "mount ") +
                            volumes_[1].node + " " + base + "/inner && echo n > " + base + "/inner/file"));
    std::vector<std::string> folders = {base, base + "/inner", media + "/bind"};
    std::string removed;  // the mount point a desktop removes while unmounted
    if (volumes_.size() > 2 && volumes_[2].type == "btrfs") {
        const LoopVolume& btrfs = volumes_[2];
        removed = media + "/Photos";
        ASSERT_EQ(0, RunCommand("umount " + btrfs.mount->path() + " && mount " + btrfs.node + " " + media + "/bind -o rw &&"
                                " btrfs -q subvolume create " + media + "/bind/@home && btrfs -q subvolume create " +
                                media + "/bind/@photos && echo h > " + media + "/bind/@home/file && echo p > " + media +
                                "/bind/@photos/file && mkdir " + media + "/bind/loose " + media + "/loose && echo l > " + media +
                                "/bind/loose/file && mount --bind " + media + "/bind/loose " + media + "/loose && umount " +
                                media + "/bind && mkdir -m 0750 " + removed + " && chown 1000:1000 " +
                                removed + " && mount -o subvol=/@home " + btrfs.node + " " + btrfs.mount->path() +
                                " && mount -o subvol=@photos,noatime " + btrfs.node + " " + removed));
        folders.push_back(btrfs.mount->path());
        folders.push_back(removed);
        folders.push_back(media + "/loose");  // a bind mount of a folder no other mount shows
    }
    ASSERT_EQ(0, RunCommand("mount --bind -o ro " + base + "/shared " + media + "/bind"));
    std::string all;
    for (const std::string& folder : folders)
        all += folder + " ";
    const std::vector<std::string> before = DriveMounts(drive());
    const std::string hashes = FileHashes(all);
    ASSERT_EQ(before.size(), folders.size());

    std::string why;
    pid_t holder = -1;
    ASSERT_EQ(0, UnmountForWriteTest(drive(), &why, &holder)) << why;
    EXPECT_TRUE(DriveMounts(drive()).empty());
    EXPECT_EQ(static_cast<int>(before.size()), RememberedUnmountCount());
    {
        std::ifstream state(OwnStateFile());
        const std::string text{std::istreambuf_iterator<char>(state), {}};
        for (const std::string& folder : folders)
            EXPECT_NE(std::string::npos, text.find("\t" + folder + "\t")) << text;
    }
    if (!removed.empty()) {
        ASSERT_EQ(0, ::rmdir(removed.c_str()));
    }

    EXPECT_EQ(std::vector<RemountFailure>{}, RemountVolumesOn(drive()));
    EXPECT_EQ(before, DriveMounts(drive()));
    EXPECT_EQ(hashes, FileHashes(all));
    EXPECT_EQ(0, RememberedUnmountCount());
    EXPECT_FALSE(std::filesystem::exists(OwnStateFile()));
    if (!removed.empty()) {
        ASSERT_EQ(0, RunCommand("umount " + removed));
        struct stat folder {};
        ASSERT_EQ(0, ::stat(removed.c_str(), &folder));
        EXPECT_EQ(0750u, folder.st_mode & 07777);
        EXPECT_EQ(1000u, folder.st_uid);
        EXPECT_EQ(1000u, folder.st_gid);
    }
}

// A mount point replaced by a file is named with its error; a volume that is
// mounted again meanwhile is not mounted twice; a partition that is gone is
// no failure. Every volume is forgotten afterwards.
TEST_F(LoopDriveTest, EveryVolumeNotMountedBackIsNamed)
{
    ASSERT_GE(volumes_.size(), 3u);
    ASSERT_EQ(0, UnmountForWriteTest(drive(), nullptr, nullptr));
    const std::string blocked = volumes_[0].mount->path();
    ASSERT_EQ(0, RunCommand("rmdir " + blocked + " && touch " + blocked + " && mount " + volumes_[1].node + " " +
                            volumes_[1].mount->path() + " && partx -d --nr 3 " + drive()));
    const std::vector<RemountFailure> failures = RemountVolumesOn(drive());
    EXPECT_EQ(std::vector<RemountFailure>({{volumes_[0].node, blocked, "Not a directory"}}), failures);
    EXPECT_EQ(1u, DriveMounts(drive()).size());
    EXPECT_EQ(volumes_[0].node + " at " + blocked + ": Not a directory\n", DescribeRemountFailures(failures));
    EXPECT_EQ(0, RememberedUnmountCount());
    EXPECT_FALSE(std::filesystem::exists(OwnStateFile()));
    RunCommand("rm " + blocked + " && mkdir " + blocked);
}

// Whatever else holds the drive, nothing is unmounted and the holder is named.
TEST_F(LoopDriveTest, AHeldDriveRefusesWithNothingUnmountedAndNamesTheHolder)
{
    ASSERT_GE(volumes_.size(), 2u);
    const std::string busy = volumes_[0].mount->path();
    const std::string free = volumes_.back().node;  // unmounted for the exclusive open
    ASSERT_EQ(0, RunCommand("umount " + volumes_.back().mount->path() + " && head -c 65536 /dev/zero > " + busy + "/mapped"));
    std::vector<MountState> before;
    for (const LoopVolume& volume : volumes_)
        before.push_back(MountAt(volume.mount->path()));
    struct Row {
        const char* name;
        std::function<bool()> hold;
    };
    const Row rows[] = {
        {"working folder", [&] { return ::chdir(busy.c_str()) == 0; }},
        {"mapped file", [&] {
             const int fd = ::open((busy + "/mapped").c_str(), O_RDONLY);
             const bool mapped = ::mmap(nullptr, 65536, PROT_READ, MAP_SHARED, fd, 0) != MAP_FAILED;
             return ::close(fd) == 0 && ::chdir("/") == 0 && mapped;
         }},
        {"exclusive open", [&] { return ::open(free.c_str(), O_RDONLY | O_EXCL) >= 0 && ::chdir("/") == 0; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Holder holder(row.hold);
        ASSERT_TRUE(holder.held());
        std::string why;
        pid_t named = 0;
        EXPECT_EQ(-EBUSY, UnmountForWriteTest(drive(), &why, &named));
        EXPECT_EQ(holder.pid(), named);
        EXPECT_NE(std::string::npos, why.find(DescribeProcess(holder.pid()))) << why;
        for (std::size_t index = 0; index < volumes_.size(); ++index)
            EXPECT_EQ(before[index], MountAt(volumes_[index].mount->path())) << volumes_[index].type;
        EXPECT_EQ(0, RememberedUnmountCount());
    }
    // A loop device backed by a file on a volume: a kernel user no process shows.
    std::string loop;
    ASSERT_EQ(0, RunCommand("losetup -f --show " + busy + "/mapped", &loop));
    loop.pop_back();
    std::string why;
    EXPECT_EQ(-EBUSY, UnmountForWriteTest(drive(), &why, nullptr));
    RunCommand("losetup -d " + loop);
    EXPECT_NE(std::string::npos, why.find(busy + "/mapped is the backing file of " + loop + ".")) << why;
    // A device-mapper volume stacked on a partition (a fake sysfs tree).
    const std::string sys = volumes_[0].mount->path() + "/sys";
    const std::string name = drive().substr(5);
    ASSERT_EQ(0, RunCommand("mkdir -p " + sys + "/class/block/" + name + "/holders/dm-0 " + sys +
                            "/class/block/dm-0/dm && echo vault > " + sys + "/class/block/dm-0/dm/name"));
    EXPECT_EQ(drive() + " is in use by /dev/mapper/vault.", FindWriteBlocker(drive(), nullptr, sys));
}

TEST_F(LoopDriveTest, NothingToDoWithoutVolumesOrDevice)
{
    pid_t dissenter = -1;
    EXPECT_EQ(0, UnMountAllDriveVolumesSync("", &dissenter));
    VolInfoRec noDevice{};
    EXPECT_EQ(-1, RemountThisVolumeSync(noDevice, nullptr));
    EXPECT_EQ(0, RemountThisDrivesVolsSync(DriveNamed(drive())));

    // A drive whose volumes are all unmounted already: nothing is tried.
    volumes_.clear();
    EXPECT_EQ(0, UnMountAllDriveVolumesSync(drive().c_str(), &dissenter));
    EXPECT_EQ(0, dissenter);
    EXPECT_EQ(0, RememberedUnmountCount());
}

}  // namespace
