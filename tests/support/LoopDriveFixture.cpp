#include "LoopDriveFixture.h"

#include "devices/DevicePaths.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

// File systems in partition order, with the mount options that show whether
// a remount restores them; 500 MiB each.
struct FileSystemRow {
    const char* type;
    const char* options;
};
constexpr FileSystemRow kFileSystems[] = {{"ext4", "noatime"}, {"xfs", ""}, {"btrfs", "ro"}};
constexpr uint64_t kPartitionBytes = 500ull << 20;

}  // namespace

MountState MountAt(const std::string& mountPoint)
{
    const std::vector<MountTableEntry> mounts = ReadMountTable();
    for (auto it = mounts.rbegin(); it != mounts.rend(); ++it) {
        if (it->target == mountPoint)
            return {it->source, it->type, it->vfsOptions, it->fsOptions, it->root};
    }
    return {};
}

std::vector<std::string> DriveMounts(const std::string& drive)
{
    std::vector<std::string> lines;
    for (const MountTableEntry& m : ReadMountLines()) {
        if (MountLiesOn(m, drive))
            lines.push_back(m.target + " " + m.source + " " + m.type + " " + m.vfsOptions + " " + m.fsOptions + " " + m.root);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

void LoopDriveTest::ServeFirstVolumesThroughFuse(const std::string& fatOptions, const std::string& exfatOptions)
{
    if (RunCommand("test -c /dev/fuse && command -v fusefat mkfs.vfat mkfs.exfat mount.exfat-fuse") != 0)
        GTEST_SKIP() << "/dev/fuse, fusefat, mkfs.vfat, mkfs.exfat or mount.exfat-fuse is missing";
    const std::string fat = volumes_[0].mount->path();
    const std::string exfat = volumes_[1].mount->path();
    ASSERT_EQ(0, RunCommand("umount " + fat + " " + exfat + " && mkfs.vfat " + volumes_[0].node + " && mkfs.exfat " +
                            volumes_[1].node + " && fusefat -o " + fatOptions + " " + volumes_[0].node + " " + fat +
                            " && mount -t exfat-fuse -o " + exfatOptions + " " + volumes_[1].node + " " + exfat));
}

void LoopDriveTest::MountVolumesReadOnly()
{
    for (const LoopVolume& volume : volumes_) {
        const std::string options = volume.type == "ext4" ? "ro,noload" : volume.type == "xfs" ? "ro,norecovery" : "ro";
        ASSERT_EQ(RunCommand("umount " + volume.mount->path() + " && mount -o " + options + " " + volume.node + " " +
                             volume.mount->path()),
                  0);
    }
    RunCommand("sync; blockdev --flushbufs " + drive());
}

void LoopDriveTest::SetUp()
{
    SKIP_WITHOUT_LOOP_DEVICES();
    if (RunCommand("command -v sfdisk && command -v partx") != 0)
        GTEST_SKIP() << "sfdisk or partx is not installed";
    std::vector<FileSystemRow> rows;
    for (const FileSystemRow& row : kFileSystems) {
        if (FileSystemAvailable(row.type))
            rows.push_back(row);
    }
    if (rows.size() < 2)
        GTEST_SKIP() << "fewer than two of ext4, xfs, btrfs can be made and mounted here";
    device_ = std::make_unique<LoopDevice>(kLoopDriveBytes, "-P");
    ASSERT_TRUE(device_->attached()) << device_->error();
    std::string script = "label: gpt\\n";
    for (std::size_t index = 0; index < rows.size(); ++index)
        script += "size=500MiB\\n";
    ASSERT_TRUE(device_->Partition(script)) << device_->error();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        LoopVolume volume{rows[index].type, device_->PartitionNode(static_cast<int>(index + 1)), kPartitionBytes, nullptr};
        std::string out;
        ASSERT_TRUE(MakeFileSystem(volume.type, volume.node, "kv" + std::to_string(index + 1), &out)) << out;
        volume.mount = std::make_unique<TemporaryMount>(volume.node);
        ASSERT_TRUE(volume.mount->mounted()) << volume.mount->error();
        std::ofstream(volume.mount->path() + "/marker") << "marker " << volume.type;
        if (*rows[index].options != '\0') {
            ASSERT_EQ(0, RunCommand(std::string("mount -o remount,") + rows[index].options + " " + volume.mount->path()));
        }
        volumes_.push_back(std::move(volume));
    }
    RunCommand("sync");
}

void LoopDriveTest::TearDown()
{
    volumes_.clear();  // unmounts before the device goes
    device_.reset();
}

std::string LoopDriveTest::MarkerOf(const LoopVolume& volume)
{
    std::ifstream in(volume.mount->path() + "/marker");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<LoopDevice> SharedLoopDriveTest::sharedDevice_;
std::vector<LoopVolume> SharedLoopDriveTest::sharedVolumes_;

void SharedLoopDriveTest::SetUp()
{
    if (!sharedDevice_) {
        LoopDriveTest::SetUp();
        return;
    }
    device_ = std::move(sharedDevice_);
    volumes_ = std::move(sharedVolumes_);
}

void SharedLoopDriveTest::TearDown()
{
    sharedDevice_ = std::move(device_);
    sharedVolumes_ = std::move(volumes_);
}

void SharedLoopDriveTest::TearDownTestSuite()
{
    sharedVolumes_.clear();  // unmounts before the device goes
    sharedDevice_.reset();
}
