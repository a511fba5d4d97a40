// Unmounting a loop drive's volumes and mounting them back where and how
// they were; a busy volume refuses and names the process that holds it.
#include "LoopDriveFixture.h"
#include "devices/MountControl.h"

#include <csignal>
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

// A child process that holds something (set up by hold() in the child) until destroyed.
class Holder {
public:
    explicit Holder(const std::function<bool()>& hold)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const char answer = hold() ? 'y' : 'n';
            [[maybe_unused]] const ssize_t written = ::write(ready[1], &answer, 1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char answer = 'n';
        held_ = pid_ > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
    }
    ~Holder()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

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
    EXPECT_EQ("", MountAt(nested).source);
    EXPECT_EQ("", MountAt(outer.mount->path()).source);
    EXPECT_EQ(0, RemountThisDrivesVolsSync(DriveNamed(drive())));
    EXPECT_EQ(outerBefore, MountAt(outer.mount->path()));
    EXPECT_EQ(innerBefore, MountAt(nested));
    {
        std::ifstream marker(nested + "/marker");
        EXPECT_EQ("marker " + inner.type, std::string(std::istreambuf_iterator<char>(marker), {}));
    }

    // Back where the fixture keeps it.
    RunCommand("umount " + nested + " && mount " + inner.node + " " + inner.mount->path());
}

TEST_F(LoopDriveTest, UnmountAllThenRemountRestoresEveryMount)
{
    std::vector<MountState> before;
    for (const LoopVolume& volume : volumes_)
        before.push_back(MountAt(volume.mount->path()));

    pid_t dissenter = -1;
    ASSERT_EQ(0, UnMountAllDriveVolumesSync(drive().c_str(), &dissenter));
    EXPECT_EQ(0, dissenter);
    EXPECT_EQ(static_cast<int>(volumes_.size()), RememberedUnmountCount());
    for (const LoopVolume& volume : volumes_)
        EXPECT_EQ("", MountAt(volume.mount->path()).source) << volume.type << " still mounted";

    EXPECT_EQ(0, RemountThisDrivesVolsSync(DriveNamed(drive())));
    EXPECT_EQ(0, RememberedUnmountCount());
    for (std::size_t index = 0; index < volumes_.size(); ++index) {
        SCOPED_TRACE(volumes_[index].type);
        EXPECT_EQ(before[index], MountAt(volumes_[index].mount->path()));
        EXPECT_EQ("marker " + volumes_[index].type, MarkerOf(volumes_[index]));
    }
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
    // A device-mapper volume stacked on a partition (a fake sysfs tree).
    const std::string sys = volumes_[0].mount->path() + "/sys";
    const std::string name = drive().substr(5);
    ASSERT_EQ(0, RunCommand("mkdir -p " + sys + "/class/block/" + name + "/holders/dm-0 " + sys +
                            "/class/block/dm-0/dm && echo vault > " + sys + "/class/block/dm-0/dm/name"));
    EXPECT_EQ(drive() + " is in use by /dev/mapper/vault.", FindWriteBlocker(drive(), nullptr, sys));
}

TEST_F(LoopDriveTest, OneVolumeUnmountsAndMountsBackAlone)
{
    VolInfoRec record{};
    ASSERT_EQ(0, FindMountedVolume(volumes_[0].mount->path().c_str(), &record, false));
    const MountState before = MountAt(volumes_[0].mount->path());
    pid_t dissenter = -1;
    ASSERT_EQ(0, UnMountThisVolumeSync(record, &dissenter));
    EXPECT_EQ("", MountAt(volumes_[0].mount->path()).source);
    EXPECT_EQ(volumes_[1].node, MountAt(volumes_[1].mount->path()).source);

    int16_t vRefNum = 0;
    ASSERT_EQ(0, RemountThisVolumeSync(record, &vRefNum));
    EXPECT_GT(vRefNum, 0);
    EXPECT_EQ(before, MountAt(volumes_[0].mount->path()));
    EXPECT_EQ(0, RememberedUnmountCount());
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
