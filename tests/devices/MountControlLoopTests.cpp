// Unmounting a loop drive's volumes and mounting them back where and how
// they were; a busy volume refuses and names the process that holds it.
// Whole-drive and single-volume round trips of plain mounts are tested by the
// window runs in tests/shell.
#include "LoopDriveFixture.h"
#include "devices/MountControl.h"

#include <csignal>
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

// A child process whose working directory lies on a volume, until destroyed.
class VolumeHolder {
public:
    explicit VolumeHolder(const std::string& directory)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const bool entered = ::chdir(directory.c_str()) == 0;
            const char answer = entered ? 'y' : 'n';
            [[maybe_unused]] const ssize_t written = ::write(ready[1], &answer, 1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char answer = 'n';
        held_ = pid_ > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
    }
    ~VolumeHolder()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    VolumeHolder(const VolumeHolder&) = delete;
    VolumeHolder& operator=(const VolumeHolder&) = delete;

    bool held() const { return held_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

// A volume mounted inside another volume of the same drive must go first and
// come back last, whatever order the mount table lists them in.
TEST_F(LoopDriveTest, NestedVolumesUnmountInnermostFirstAndComeBackInside)
{
    ASSERT_GE(volumes_.size(), 2u);
    const LoopVolume& outer = volumes_[0];
    const LoopVolume& inner = volumes_[1];
    const std::string nested = outer.mount->path() + "/inner";
    ASSERT_EQ(RunCommand("umount " + inner.mount->path() + " && mkdir -p " + nested + " && mount " + inner.node +
                         " " + nested),
              0);
    const MountState outerBefore = MountAt(outer.mount->path());
    const MountState innerBefore = MountAt(nested);
    ASSERT_NE(innerBefore.source, "");

    pid_t dissenter = -1;
    const int status = UnMountAllDriveVolumesSync(drive().c_str(), &dissenter);
    EXPECT_EQ(0, status);
    EXPECT_EQ(0, dissenter);
    EXPECT_EQ(static_cast<int>(volumes_.size()), RememberedUnmountCount());
    EXPECT_EQ("", MountAt(nested).source);
    EXPECT_EQ("", MountAt(outer.mount->path()).source);
    EXPECT_EQ(0, RemountThisDrivesVolsSync(DriveNamed(drive())));
    EXPECT_EQ(outerBefore, MountAt(outer.mount->path()));
    EXPECT_EQ(innerBefore, MountAt(nested));
    EXPECT_EQ(0, RememberedUnmountCount());
    {
        std::ifstream marker(nested + "/marker");
        EXPECT_EQ("marker " + inner.type, std::string(std::istreambuf_iterator<char>(marker), {}));
    }

    // Back where the fixture keeps it.
    RunCommand("umount " + nested + " && mount " + inner.node + " " + inner.mount->path());
}

TEST_F(LoopDriveTest, BusyVolumeRefusesAndNamesItsHolder)
{
    ASSERT_GE(volumes_.size(), 2u);
    VolumeHolder holder(volumes_[1].mount->path());
    ASSERT_TRUE(holder.held());

    pid_t dissenter = 0;
    EXPECT_EQ(-EBUSY, UnMountAllDriveVolumesSync(drive().c_str(), &dissenter));
    EXPECT_EQ(holder.pid(), dissenter);
    EXPECT_NE(std::string::npos, DescribeProcess(dissenter).find(std::to_string(holder.pid()) + " ("));
    // The first volume went, the held one and any later one stay.
    EXPECT_EQ("", MountAt(volumes_[0].mount->path()).source);
    for (std::size_t index = 1; index < volumes_.size(); ++index)
        EXPECT_EQ(volumes_[index].node, MountAt(volumes_[index].mount->path()).source) << volumes_[index].type;

    EXPECT_EQ(0, RemountThisDrivesVolsSync(DriveNamed(drive())));
    EXPECT_EQ(volumes_[0].node, MountAt(volumes_[0].mount->path()).source);
    EXPECT_EQ("marker " + volumes_[0].type, MarkerOf(volumes_[0]));
}

TEST_F(LoopDriveTest, BindMountComesBackAsABindMount)
{
    const std::string folder = volumes_[0].mount->path() + "/shared";
    ASSERT_EQ(0, RunCommand("mkdir " + folder + " && echo inner > " + folder + "/inner"));
    TemporaryMount view(folder, "bind,ro");
    ASSERT_TRUE(view.mounted()) << view.error();
    const MountState before = MountAt(view.path());
    ASSERT_EQ("/shared", before.root);

    pid_t dissenter = -1;
    ASSERT_EQ(0, UnMountAllDriveVolumesSync(drive().c_str(), &dissenter));
    EXPECT_EQ("", MountAt(view.path()).source);
    ASSERT_EQ(0, RemountThisDrivesVolsSync(DriveNamed(drive())));
    EXPECT_EQ(before, MountAt(view.path()));
    std::string inner;
    EXPECT_EQ(0, RunCommand("cat " + view.path() + "/inner", &inner));
    EXPECT_EQ("inner\n", inner);
    EXPECT_EQ("marker " + volumes_[0].type, MarkerOf(volumes_[0]));
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
