// Volumes as a real machine mounts them, on one loop drive: btrfs
// subvolumes mounted on their own, two file systems at folders of the same
// name, and an ext4 with a label outside ASCII mounted through a
// by-label-style symlink. Each is offered once, under a name that tells it apart.
#include "LoopDriveFixture.h"
#include "devices/VolumeRecords.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace {
namespace fs = std::filesystem;

// Mounts at folders of the test's own, unmounted in reverse order and removed at the end.
struct MountedFolders {
    std::string root;
    std::vector<std::string> mounted;
    ~MountedFolders()
    {
        for (auto it = mounted.rbegin(); it != mounted.rend(); ++it)
            RunCommand("umount " + *it);
        std::error_code error;
        fs::remove_all(root, error);
    }
    // Mounts source at root/folder; false with the reason in *output.
    bool Mount(const std::string& options, const std::string& source, const std::string& folder, std::string* output)
    {
        const std::string point = root + "/" + folder;
        fs::create_directories(point);
        if (RunCommand("mount " + options + " '" + source + "' " + point, output) != 0)
            return false;
        mounted.push_back(point);
        return true;
    }
};

TEST(VolumeNames, SubvolumesSameFoldersAndSymlinkedLabelsAreToldApart)
{
    SKIP_WITHOUT_LOOP_DEVICES();
    if (!FileSystemAvailable("btrfs") || !FileSystemAvailable("ext4"))
        GTEST_SKIP() << "btrfs and ext4 are needed";
    LoopDevice drive(512ull << 20, "-P");
    ASSERT_TRUE(drive.attached()) << drive.error();
    ASSERT_TRUE(drive.Partition("label: gpt\nsize=200MiB\nsize=40MiB\nsize=40MiB\nsize=40MiB\n")) << drive.error();
    std::string out;
    ASSERT_TRUE(MakeFileSystem("btrfs", drive.PartitionNode(1), "kbt", &out)) << out;
    ASSERT_TRUE(MakeFileSystem("ext4", drive.PartitionNode(2), "''", &out)) << out;
    ASSERT_TRUE(MakeFileSystem("ext4", drive.PartitionNode(3), "''", &out)) << out;
    ASSERT_TRUE(MakeFileSystem("ext4", drive.PartitionNode(4), "B\xC3\xA4nde", &out)) << out;

    char pattern[] = "/dev/shm/kestrelia-naming-mnt-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    MountedFolders mounts{pattern, {}};
    {
        const TemporaryMount top(drive.PartitionNode(1));
        ASSERT_TRUE(top.mounted()) << top.error();
        ASSERT_EQ(0, RunCommand("btrfs -q subvolume create " + top.path() + "/home && btrfs -q subvolume create " +
                                    top.path() + "/data", &out)) << out;
    }
    const std::string link = mounts.root + "/by-label/B\xC3\xA4nde";
    fs::create_directories(fs::path(link).parent_path());
    fs::create_symlink(drive.PartitionNode(4), link);
    ASSERT_TRUE(mounts.Mount("-o subvol=home", drive.PartitionNode(1), "home", &out)) << out;
    ASSERT_TRUE(mounts.Mount("-o subvol=data", drive.PartitionNode(1), "data", &out)) << out;
    ASSERT_TRUE(mounts.Mount("", drive.PartitionNode(2), "a/same", &out)) << out;
    ASSERT_TRUE(mounts.Mount("", drive.PartitionNode(3), "b/same", &out)) << out;
    ASSERT_TRUE(mounts.Mount("--no-canonicalize", link, "label", &out)) << out;
    ASSERT_TRUE(mounts.Mount("--bind", mounts.root + "/a/same/lost+found", "bound", &out)) << out;

    const std::string p = drive.node() + "p";
    const std::string k = p.substr(5);
    const std::vector<std::string> expected = {
        "kbt/home|kbt/home|" + p + "1",
        "kbt/data|kbt/data|" + p + "1",
        "same|same (" + k + "2)|" + p + "2",
        "same|same (" + k + "3)|" + p + "3",
        "B\xC3\xA4nde|B\xC3\xA4nde|" + p + "4",
    };
    auto table = std::make_unique<VolInfoRec[]>(kMaxVolumeCount);
    const int16_t count = ListTestableVolumes(table.get(), true);
    std::vector<std::string> offered;
    for (int index = 0; index < count; ++index) {
        const VolInfoRec& volume = table[index];
        if (std::string(volume.blockDevicePathCStr).rfind(p, 0) == 0)
            offered.push_back(std::string(volume.volNameCStr) + "|" + VolumeItemText(table.get(), count, index) + "|" +
                              volume.blockDevicePathCStr);
    }
    EXPECT_EQ(expected, offered);

    // Under the drive every mount counts, the bind mount too: all are unmounted before a write test.
    const int16_t onDrive = GetBSDDrivesVolumes(drive.node().c_str(), table.get(), false);
    EXPECT_EQ(6, onDrive);
    for (int index = 0; index < onDrive; ++index)
        EXPECT_EQ(0, std::string(table[index].blockDevicePathCStr).rfind(p, 0)) << table[index].rootRef;
}
}  // namespace
