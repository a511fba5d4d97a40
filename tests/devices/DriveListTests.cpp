// The drive table as drives come and go: device events on a fake sysfs
// tree or a rescan after lost events, and the selection following its drive.
#include "FakeSysfs.h"
#include "devices/DriveList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct HostCall {
    std::string what;
    int slot;
    bool operator==(const HostCall&) const = default;
};

class RecordingHost : public DriveListHost {
public:
    void DriveAppended(int slot) override { calls.push_back({"appended", slot}); }
    void DriveChanged(int slot) override { calls.push_back({"changed", slot}); }
    void DriveRemoved(int slot) override { calls.push_back({"removed", slot}); }
    void ResetDrivesPopupMenu() override { calls.push_back({"reset", -1}); }
    void SelectDriveItem(int slot) override { calls.push_back({"select", slot}); }
    void DrawTestResults() override { calls.push_back({"draw", -1}); }
    std::vector<HostCall> calls;
};

void PrintTo(const HostCall& call, std::ostream* out)
{
    *out << call.what << "(" << call.slot << ")";
}

class DriveListTest : public ::testing::Test {
public:
    void SetUp() override { SetDriveListHost(&host_); }
    void TearDown() override
    {
        SetDriveListHost(nullptr);
        gDVLastTabIndex = 1;
    }
    // Loop drives loop90, loop91, ... of two gigabytes, listed in that order.
    void ListLoopDrives(int count)
    {
        for (int index = 0; index < count; ++index)
            AddLoop(90 + index, kTwoGiBSectors);
        IOKitRegisterForDeviceArrivalsRemovals();
        ASSERT_EQ(count, ListedDriveCount());
        host_.calls.clear();
    }
    void AddLoop(int number, uint64_t sectors)
    {
        sysfs_.AddDisk("virtual/block", "loop" + std::to_string(number), sectors,
                       {{"loop/backing_file", "/dev/shm/img" + std::to_string(number)}});
    }
    void SetLoopSize(int number, uint64_t sectors)
    {
        sysfs_.Write("virtual/block/loop" + std::to_string(number), {{"size", std::to_string(sectors)}});
    }
    static std::string PathAt(int slot) { return gSavedDriveInfoArray[slot].devicePathCStr; }

    FakeSysfs sysfs_;
    RecordingHost host_;
};

struct RemovalRow {
    const char* name;
    int32_t tab;
    int selected;  // slot, -1 none
    int removed;
    int selectedAfter;  // slot, -1 none
    std::vector<HostCall> calls;
};

TEST_F(DriveListTest, RemovalKeepsTheSelectionOnItsDrive)
{
    const RemovalRow rows[] = {
        {"below the selection", 1, 2, 0, 1, {{"removed", 0}, {"select", 1}}},
        {"above the selection", 1, 0, 2, 0, {{"removed", 2}}},
        {"the selection, drive tab", 1, 1, 1, -1, {{"removed", 1}, {"reset", -1}, {"draw", -1}}},
        {"the selection, volume tab", 2, 1, 1, -1, {{"removed", 1}}},
        {"below the selection, volume tab", 2, 2, 0, 1, {{"removed", 0}}},
        {"nothing selected", 1, -1, 0, -1, {{"removed", 0}}},
    };
    for (const RemovalRow& row : rows) {
        SCOPED_TRACE(row.name);
        ClearDriveList();
        ListLoopDrives(3);
        gDVLastTabIndex = row.tab;
        const std::string selectedPath = row.selected >= 0 ? PathAt(row.selected) : "";
        gActiveDrive = row.selected >= 0 ? &gSavedDriveInfoArray[row.selected] : nullptr;
        const std::string removedPath = PathAt(row.removed);
        ASSERT_TRUE(RemoveListedDrive(removedPath.c_str()));
        EXPECT_EQ(row.calls, host_.calls);
        EXPECT_EQ(2, ListedDriveCount());
        EXPECT_EQ(-1, FindListedDrive(removedPath.c_str()));
        EXPECT_EQ('\0', gSavedDriveInfoArray[2].devicePathCStr[0]);
        if (row.selectedAfter < 0) {
            EXPECT_EQ(nullptr, gActiveDrive);
        } else {
            ASSERT_EQ(&gSavedDriveInfoArray[row.selectedAfter], gActiveDrive);
            EXPECT_EQ(selectedPath, gActiveDrive->devicePathCStr);
        }
        for (int number = 90; number < 93; ++number)
            sysfs_.RemoveDisk("loop" + std::to_string(number));
    }
    EXPECT_FALSE(RemoveListedDrive("/dev/loop90"));
}

struct EventRow {
    const char* name;
    std::function<void(DriveListTest&)> change;
    BlockDeviceEvent event;
    int listedAfter;
    std::vector<HostCall> calls;
};

TEST_F(DriveListTest, DeviceEventsAddChangeAndRemove)
{
    // loop90 and loop91 listed; each row starts from that.
    const EventRow rows[] = {
        {"attach: a size above the rule", [](DriveListTest& t) { t.AddLoop(95, kTwoGiBSectors); },
         {"change", "loop95", "disk"}, 3, {{"appended", 2}}},
        {"attach of a small device", [](DriveListTest& t) { t.AddLoop(95, 1024); },
         {"change", "loop95", "disk"}, 2, {}},
        {"detach: size 0", [](DriveListTest& t) { t.SetLoopSize(90, 0); },
         {"change", "loop90", "disk"}, 1, {{"removed", 0}}},
        {"new size still listed", [](DriveListTest& t) { t.SetLoopSize(91, 2 * kTwoGiBSectors); },
         {"change", "loop91", "disk"}, 2, {{"changed", 1}}},
        {"removed device", [](DriveListTest& t) { t.sysfs_.RemoveDisk("loop91"); },
         {"remove", "loop91", "disk"}, 1, {{"removed", 1}}},
        {"partition events are not drives", [](DriveListTest&) {},
         {"remove", "loop90", "partition"}, 2, {}},
        {"other actions are ignored", [](DriveListTest&) {},
         {"move", "loop90", "disk"}, 2, {}},
        {"an event for a name that is not a device", [](DriveListTest&) {},
         {"add", "../../etc", "disk"}, 2, {}},
        {"rescan after lost events", [](DriveListTest& t) {
             t.sysfs_.RemoveDisk("loop90");
             t.SetLoopSize(91, 1024);
             t.AddLoop(95, kTwoGiBSectors);
         }, {}, 1, {{"removed", 1}, {"removed", 0}, {"appended", 0}}},
    };
    for (const EventRow& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* name : {"loop90", "loop91", "loop95"}) {
            if (std::filesystem::exists(sysfs_.root() / "block" / name))
                sysfs_.RemoveDisk(name);
        }
        ClearDriveList();
        ListLoopDrives(2);
        row.change(*this);
        if (row.event.action.empty())
            RescanDriveList();
        else
            HandleBlockDeviceEvent(row.event);
        EXPECT_EQ(row.listedAfter, ListedDriveCount());
        EXPECT_EQ(row.calls, host_.calls);
    }
}

// 70 loop devices beside the system disk: the disk stays in the full table,
// the loop devices that find no room are counted.
TEST_F(DriveListTest, FullTableKeepsPhysicalDrivesAndCountsWhatIsLeftOut)
{
    for (int number = 0; number < 70; ++number)
        AddLoop(number, kTwoGiBSectors);
    sysfs_.AddDisk("pci0000:00/0000:00:04.0/virtio1/block", "vdq", kTwoGiBSectors);
    IOKitRegisterForDeviceArrivalsRemovals();
    ASSERT_EQ(64, ListedDriveCount());
    EXPECT_EQ(0, FindListedDrive("/dev/vdq"));
    EXPECT_EQ(10, FindListedDrive("/dev/loop9"));
    EXPECT_EQ(11, FindListedDrive("/dev/loop10"));
    EXPECT_EQ(63, FindListedDrive("/dev/loop62"));
    EXPECT_EQ(7, DrivesLeftOutCount());
    // A disk plugged in later takes the last loop device's place.
    sysfs_.AddDisk("pci0000:00/0000:00:05.0/virtio2/block", "vdr", kTwoGiBSectors);
    HandleBlockDeviceEvent({"add", "vdr", "disk"});
    EXPECT_EQ(63, FindListedDrive("/dev/vdr"));
    EXPECT_EQ(-1, FindListedDrive("/dev/loop62"));
    EXPECT_EQ(8, DrivesLeftOutCount());
}

}  // namespace
