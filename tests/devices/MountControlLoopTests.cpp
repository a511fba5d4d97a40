// A loop drive's volumes as the drive's volume list names them, unmounted
// and mounted back where and how they were; a busy volume refuses and names
// the process that holds it. Single-volume round trips of plain mounts are
// tested by the window runs in tests/shell.
#include "LoopDriveFixture.h"
#include "devices/MountControl.h"
#include "devices/DriveUsers.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/mman.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// The layouts desktops really have, all on one drive: btrfs subvolumes
// mounted without the top level, one of them through a by-label symlink
// under a label outside ASCII, at a mount point folder that the desktop
// removes while the volume is unmounted; a volume mounted inside another at a
// folder named like the outer one's label; bind mounts, of two folders one
// named like the other with more; a FUSE file system (ntfs-3g). Each volume
// is offered once under a name that tells it apart, and everything comes
// back exactly as it was.
TEST_F(LoopDriveTest, EveryLayoutIsNamedApartAndComesBackAsItWas)
{
    const LoopVolume& ext4 = volumes_[0];
    const std::string base = ext4.mount->path();
    const std::string media = base + "-media";  // beside the fixture's folders, removed at the end
    struct Cleanup {
        std::string command;
        ~Cleanup() { RunCommand(command); }
    } cleanup{"umount " + media + "/Photos " + media + "/loose " + media + "/bind2; while mountpoint -q " + media +
              "/bind; do umount " + media + "/bind; done; umount " + base + "/kv1; rm -rf " + media};
    ASSERT_EQ(0, RunCommand("mkdir -p " + media + "/bind " + media + "/bind2 " + base + "/shared2 " + base + "/shared " +
                            base + "/kv1 && echo s > " + base + "/shared/file && echo 2 > " + base +
                            "/shared2/file && umount " + volumes_[1].mount->path()));
    // Nested, and through a FUSE mount helper where ntfs-3g is installed: a
    // file system without a label, named by its folder like the outer one.
    const bool fuse = RunCommand("command -v mkntfs") == 0;
    ASSERT_EQ(0, RunCommand((fuse ? "mkntfs -Q -F " + volumes_[1].node + " && mount -t ntfs-3g " : "mount ") +
                            volumes_[1].node + " " + base + "/kv1 && echo n > " + base + "/kv1/file"));
    const std::string p = drive() + "p";
    std::vector<std::string> names = {fuse ? "kv1|kv1 (" + p.substr(5) + "1)|" + p + "1" : "kv1|kv1|" + p + "1",
                                      fuse ? "kv1|kv1 (" + p.substr(5) + "2)|" + p + "2" : "kv2|kv2|" + p + "2"};
    std::vector<std::string> folders = {base, base + "/kv1", media + "/bind", media + "/bind2"};
    std::string removed;  // the mount point a desktop removes while unmounted
    if (volumes_.size() > 2 && volumes_[2].type == "btrfs") {
        const LoopVolume& btrfs = volumes_[2];
        removed = media + "/Photos";
        const std::string link = media + "/by-label/B\xC3\xA4nde";
        ASSERT_EQ(0, RunCommand("umount " + btrfs.mount->path() + " && mount " + btrfs.node + " " + media + "/bind -o rw &&"
                                " btrfs -q subvolume create " + media + "/bind/@home && btrfs -q subvolume create " +
                                media + "/bind/@photos && echo h > " + media + "/bind/@home/file && echo p > " + media +
                                "/bind/@photos/file && mkdir " + media + "/bind/loose " + media + "/loose && echo l > " + media +
                                "/bind/loose/file && mount --bind " + media + "/bind/loose " + media + "/loose && btrfs "
                                "filesystem label " + media + "/bind 'B\xC3\xA4nde' && umount " + media + "/bind && mkdir -m 0750 " +
                                removed + " && chown 1000:1000 " + removed + " && mount -o subvol=/@home " + btrfs.node + " " +
                                btrfs.mount->path() + " && mkdir " + media + "/by-label && ln -s " + btrfs.node + " '" + link +
                                "' && mount --no-canonicalize -o subvol=@photos,noatime '" + link + "' " + removed));
        folders.push_back(btrfs.mount->path());
        folders.push_back(removed);
        folders.push_back(media + "/loose");  // a bind mount of a folder no other mount shows
        names.push_back("B\xC3\xA4nde/@home|B\xC3\xA4nde/@home|" + p + "3");
        names.push_back("B\xC3\xA4nde/@photos|B\xC3\xA4nde/@photos|" + p + "3");
    }
    ASSERT_EQ(0, RunCommand("mount --bind -o ro " + base + "/shared " + media + "/bind && mount --bind " + base +
                            "/shared2 " + media + "/bind2"));
    const std::vector<std::string> before = DriveMounts(drive());
    ASSERT_EQ(before.size(), folders.size());
    const std::string hashFiles =
        "find " + base + " " + media + " " + volumes_.back().mount->path() + " -type f | sort | xargs cksum";
    std::string hashes;
    RunCommand(hashFiles, &hashes);

    // Offered once each; under the drive every mount counts, the bind mounts too.
    const std::vector<VolumeRecord> testable = ListTestableVolumes(true);
    std::vector<std::string> offered;
    for (std::size_t index = 0; index < testable.size(); ++index) {
        const VolumeRecord& volume = testable[index];
        if (volume.devicePath.rfind(p, 0) == 0)
            offered.push_back(volume.name + "|" + VolumeItemText(testable, index) + "|" + volume.devicePath);
    }
    EXPECT_EQ(names, offered);
    EXPECT_EQ(folders.size(), DriveVolumes(drive(), false).size());

    {
        // Whoever unmounted and ends without asking mounts back.
        UnmountedVolumes unmounted;
        std::string why;
        ASSERT_EQ(0, UnmountForWriteTest(drive(), &unmounted, &why, nullptr)) << why;
        EXPECT_TRUE(DriveMounts(drive()).empty());
        EXPECT_EQ(static_cast<int>(before.size()), RememberedUnmountCount());
        std::ifstream state(OwnStateFile());
        const std::string text{std::istreambuf_iterator<char>(state), {}};
        for (const std::string& folder : folders)
            EXPECT_NE(std::string::npos, text.find("\t" + folder + "\t")) << text;
        if (!removed.empty()) {
            ASSERT_EQ(0, ::rmdir(removed.c_str()));
        }
    }
    EXPECT_EQ(before, DriveMounts(drive()));
    std::string after;
    RunCommand(hashFiles, &after);
    EXPECT_EQ(hashes, after);
    EXPECT_EQ(0, RememberedUnmountCount());
    EXPECT_FALSE(std::filesystem::exists(OwnStateFile()));
    if (!removed.empty()) {
        // The folder made again as it was.
        RunCommand("umount " + removed + " && stat -c '%a %u %g' " + removed, &after);
        EXPECT_EQ("750 1000 1000\n", after);
    }
}

// FAT through fusefat (writable only with its rw+) and exFAT through
// exfat-fuse are volumes of their drive, found through the helper's open
// device where the source names none; a run killed while they are unmounted
// leaves their helpers in its state file, and they come back through them.
TEST_F(LoopDriveTest, FuseVolumesAreTheDrivesAndComeBackThroughTheirHelpers)
{
    ServeFirstVolumesThroughFuse("rw+", "rw");
    if (IsSkipped() || HasFatalFailure())
        return;
    const std::string fat = volumes_[0].mount->path();
    const std::string exfat = volumes_[1].mount->path();
    const std::vector<VolumeRecord> table = DriveVolumes(drive(), false);
    ASSERT_EQ(volumes_.size(), table.size());
    std::vector<std::string> listed;
    for (const VolumeRecord& volume : table)
        listed.push_back(volume.mount.target + " " + volume.devicePath + " " + volume.fileSystemName + " " +
                         std::filesystem::path(volume.mount.helper).filename().string());
    EXPECT_NE(listed.end(), std::find(listed.begin(), listed.end(),
                                      fat + " " + volumes_[0].node + " PC DOS File System fusefat"));
    EXPECT_NE(listed.end(), std::find(listed.begin(), listed.end(),
                                      exfat + " " + volumes_[1].node + " exFAT File System mount.exfat-fuse"));
    const std::vector<std::string> before = DriveMounts(drive());
    ASSERT_EQ(volumes_.size(), before.size());

    std::string why;
    UnmountedVolumes unmounted;
    ASSERT_EQ(0, UnmountForWriteTest(drive(), &unmounted, &why, nullptr)) << why;
    EXPECT_TRUE(DriveMounts(drive()).empty());
    EXPECT_NE(0, RunCommand("fuser " + volumes_[0].node + " " + volumes_[1].node)) << "a helper still has its device open";
    std::ifstream state(OwnStateFile());
    LeftMounts left{OwnStateFile(), 0, {}};
    uint64_t started = 0;
    ASSERT_TRUE(ParseStateText({std::istreambuf_iterator<char>(state), {}}, &left.pid, &started, &left.mounts));
    EXPECT_EQ(std::vector<RemountFailure>{}, RemountLeftMounts(left));
    EXPECT_EQ(before, DriveMounts(drive()));
    EXPECT_EQ(0, RunCommand("touch " + fat + "/written && touch " + exfat + "/written"));
}

// Whatever else holds the drive, nothing is unmounted and the holder is named.
// Once free: a mount point replaced by a file is named with its error, a
// volume that is mounted again meanwhile is not mounted twice, a partition
// that is gone is no failure; every volume is forgotten afterwards.
TEST_F(LoopDriveTest, AHeldDriveRefusesAndEveryVolumeNotMountedBackIsNamed)
{
    ASSERT_GE(volumes_.size(), 3u);
    const std::string busy = volumes_[0].mount->path();
    const std::string free = volumes_.back().node;  // unmounted for the exclusive open
    ASSERT_EQ(0, RunCommand("umount " + volumes_.back().mount->path() + " && head -c 65536 /dev/zero > " + busy + "/mapped"));
    const std::vector<std::string> before = DriveMounts(drive());
    const std::pair<const char*, std::function<bool()>> rows[] = {
        {"working folder", [&] { return ::chdir(busy.c_str()) == 0; }},
        {"mapped file", [&] {
             const int fd = ::open((busy + "/mapped").c_str(), O_RDONLY);
             const bool mapped = ::mmap(nullptr, 65536, PROT_READ, MAP_SHARED, fd, 0) != MAP_FAILED;
             return ::close(fd) == 0 && ::chdir("/") == 0 && mapped;
         }},
        {"exclusive open", [&] { return ::open(free.c_str(), O_RDONLY | O_EXCL) >= 0 && ::chdir("/") == 0; }},
    };
    for (const auto& [name, hold] : rows) {
        SCOPED_TRACE(name);
        Holder holder(hold);
        ASSERT_TRUE(holder.held());
        std::string why;
        pid_t named = 0;
        UnmountedVolumes unmounted;
        EXPECT_EQ(-EBUSY, UnmountForWriteTest(drive(), &unmounted, &why, &named));
        EXPECT_FALSE(unmounted.Holds());
        EXPECT_EQ(holder.pid(), named);
        EXPECT_NE(std::string::npos, why.find(DescribeProcess(holder.pid()))) << why;
        EXPECT_EQ(before, DriveMounts(drive()));
        EXPECT_EQ(0, RememberedUnmountCount());
    }
    {  // Nothing is unmounted while the list of what to mount back cannot be written down.
        setenv("KESTRELIA_RUN_DIR", "/dev/null/kestrelia", 1);
        std::string why;
        UnmountedVolumes unmounted;
        EXPECT_EQ(-EACCES, UnmountForWriteTest(drive(), &unmounted, &why, nullptr));
        unsetenv("KESTRELIA_RUN_DIR");
        EXPECT_NE(std::string::npos, why.find("could not be written to /dev/null/kestrelia.")) << why;
        EXPECT_EQ(before, DriveMounts(drive()));
    }
    // A file system mounted inside a volume holds it; one beside it, in a folder of the same prefix, does not.
    ASSERT_EQ(0, RunCommand("mkdir " + busy + "-beside && mount -t tmpfs kestrelia-beside " + busy + "-beside"));
    EXPECT_EQ("", FindWriteBlocker(drive()));
    ASSERT_EQ(0, RunCommand("umount " + busy + "-beside && rmdir " + busy + "-beside && mkdir " + busy +
                            "/inner && mount -t tmpfs kestrelia-inner " + busy + "/inner"));
    EXPECT_EQ("The volume at " + busy + " has kestrelia-inner mounted inside it, at " + busy + "/inner.",
              FindWriteBlocker(drive()));
    ASSERT_EQ(0, RunCommand("umount " + busy + "/inner"));
    // A loop device backed by a file on a volume: a kernel user no process shows.
    std::string loop;
    ASSERT_EQ(0, RunCommand("losetup -f --show " + busy + "/mapped", &loop));
    loop.pop_back();
    std::string why;
    UnmountedVolumes unmounted;
    EXPECT_EQ(-EBUSY, UnmountForWriteTest(drive(), &unmounted, &why, nullptr));
    RunCommand("losetup -d " + loop);
    EXPECT_NE(std::string::npos, why.find(busy + "/mapped is the backing file of " + loop + ".")) << why;
    // A device-mapper volume stacked on a partition (a fake sysfs tree).
    const std::string sys = volumes_[0].mount->path() + "/sys";
    const std::string name = drive().substr(5);
    ASSERT_EQ(0, RunCommand("mkdir -p " + sys + "/class/block/" + name + "/holders/dm-0 " + sys +
                            "/class/block/dm-0/dm && echo vault > " + sys + "/class/block/dm-0/dm/name"));
    EXPECT_EQ(drive() + " is in use by /dev/mapper/vault.", FindWriteBlocker(drive(), nullptr, sys));

    ASSERT_EQ(0, RunCommand("mount " + free + " " + volumes_.back().mount->path()));
    ASSERT_EQ(0, UnmountForWriteTest(drive(), &unmounted, nullptr, nullptr));
    const std::string blocked = volumes_[0].mount->path();
    ASSERT_EQ(0, RunCommand("rmdir " + blocked + " && touch " + blocked + " && mount " + volumes_[1].node + " " +
                            volumes_[1].mount->path() + " && partx -d --nr 3 " + drive()));
    const std::vector<RemountFailure> failures = unmounted.MountBack();
    EXPECT_EQ(std::vector<RemountFailure>({{volumes_[0].node, blocked, "Not a directory"}}), failures);
    EXPECT_EQ(1u, DriveMounts(drive()).size());
    EXPECT_EQ(volumes_[0].node + " at " + blocked + ": Not a directory\n", DescribeRemountFailures(failures));
    EXPECT_EQ(0, RememberedUnmountCount());
    EXPECT_FALSE(std::filesystem::exists(OwnStateFile()));
    RunCommand("rm " + blocked + " && mkdir " + blocked);
}

// The drive's volumes mounted in another mount namespace are no user when the
// copies go with the unmount here (slaves of shared mounts, as a service's
// private /tmp has them). Private copies are users: the CLI's refusal names them.
TEST_F(LoopDriveTest, AMountInAnotherNamespaceIsNoUserWhenItGoesWithTheUnmountHere)
{
    const std::vector<std::string> before = DriveMounts(drive());
    std::string mountPoints;
    for (const LoopVolume& volume : volumes_)
        mountPoints += " " + volume.mount->path();
    ASSERT_EQ(0, RunCommand("for m in" + mountPoints + "; do mount --make-shared $m; done"));
    const Holder slave([] { return EnterMountNamespace(MS_SLAVE); });
    ASSERT_TRUE(slave.held());
    EXPECT_EQ("", DescribeDriveUsers(FindDriveUsers(drive())));
    RunCommand("for m in" + mountPoints + "; do mount --make-private $m; done");
    EXPECT_EQ(before, DriveMounts(drive()));
}

}  // namespace
