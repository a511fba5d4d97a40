// The drive list as drives come and go: device events on a fake sysfs
// tree or a rescan after lost events, and the choice staying on its drive.
#include "FakeSysfs.h"
#include "devices/DriveList.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class RecordingHost : public DriveListHost {
public:
    void DriveAppended(int slot) override { calls.push_back("appended " + std::to_string(slot)); }
    void DriveChanged(int slot) override { calls.push_back("changed " + std::to_string(slot)); }
    void DriveRemoved(int slot) override { calls.push_back("removed " + std::to_string(slot)); }
    void ResetDrivesPopupMenu() override { calls.push_back("reset"); }
    void SelectDriveItem(int slot) override { calls.push_back("select " + std::to_string(slot)); }
    void DrawTestResults() override { calls.push_back("draw"); }
    std::vector<std::string> calls;
};

class DriveListTest : public ::testing::Test {
protected:
    void SetUp() override { SetDriveListHost(&host_); }
    void TearDown() override
    {
        SetDriveListHost(nullptr);
        gDVLastTabIndex = 1;
    }
    RecordingHost host_;
};

void AddLoop(FakeSysfs& sysfs, int number, uint64_t sectors = kTwoGiBSectors)
{
    sysfs.AddDisk("virtual/block", "loop" + std::to_string(number), sectors,
                  {{"loop/backing_file", "/dev/shm/img" + std::to_string(number)}});
}

void SetLoopSize(FakeSysfs& sysfs, int number, uint64_t sectors)
{
    sysfs.Write("virtual/block/loop" + std::to_string(number), {{"size", std::to_string(sectors)}});
}

struct EventRow {
    const char* name;
    int32_t tab;
    int selected;  // slot, -1 none
    std::function<void(FakeSysfs&)> change;
    BlockDeviceEvent event;  // no action: a rescan
    int listedAfter;
    int selectedAfter;  // slot, -1 none
    std::vector<std::string> calls;
};

TEST_F(DriveListTest, DeviceEventsKeepTheSelectionOnItsDrive)
{
    // loop90, loop91 and loop92 listed; each row starts from that.
    const auto remove = [](const char* name) { return [name](FakeSysfs& s) { s.RemoveDisk(name); }; };
    const EventRow rows[] = {
        {"below the selection", 1, 2, remove("loop90"), {"remove", "loop90", "disk"}, 2, 1, {"removed 0", "select 1"}},
        {"above the selection", 1, 0, remove("loop92"), {"remove", "loop92", "disk"}, 2, 0, {"removed 2"}},
        {"the selection, drive tab", 1, 1, remove("loop91"), {"remove", "loop91", "disk"}, 2, -1,
         {"removed 1", "reset", "draw"}},
        {"the selection, volume tab", 2, 1, remove("loop91"), {"remove", "loop91", "disk"}, 2, -1, {"removed 1"}},
        {"below the selection, volume tab", 2, 2, remove("loop90"), {"remove", "loop90", "disk"}, 2, 1, {"removed 0"}},
        {"nothing selected", 1, -1, remove("loop90"), {"remove", "loop90", "disk"}, 2, -1, {"removed 0"}},
        {"attach: a size above the rule", 1, -1, [](FakeSysfs& s) { AddLoop(s, 95); }, {"change", "loop95", "disk"}, 4, -1,
         {"appended 3"}},
        {"attach of a small device", 1, -1, [](FakeSysfs& s) { AddLoop(s, 95, 1024); }, {"change", "loop95", "disk"}, 3, -1,
         {}},
        {"detach: size 0", 1, -1, [](FakeSysfs& s) { SetLoopSize(s, 90, 0); }, {"change", "loop90", "disk"}, 2, -1,
         {"removed 0"}},
        {"new size still listed", 1, -1, [](FakeSysfs& s) { SetLoopSize(s, 91, 2 * kTwoGiBSectors); },
         {"change", "loop91", "disk"}, 3, -1, {"changed 1"}},
        {"partition events are not drives", 1, -1, remove("loop90"), {"remove", "loop90", "partition"}, 3, -1, {}},
        {"other actions are ignored", 1, -1, remove("loop90"), {"move", "loop90", "disk"}, 3, -1, {}},
        {"an event for a name that is not a device", 1, -1, [](FakeSysfs&) {}, {"add", "../../etc", "disk"}, 3, -1, {}},
        {"rescan after lost events", 1, 2, [](FakeSysfs& s) {
             s.RemoveDisk("loop90");
             SetLoopSize(s, 91, 1024);
             AddLoop(s, 95);
         }, {}, 2, 0, {"changed 2", "removed 1", "select 1", "removed 0", "select 0", "appended 1"}},
    };
    for (const EventRow& row : rows) {
        SCOPED_TRACE(row.name);
        FakeSysfs sysfs;
        for (int number = 90; number < 93; ++number)
            AddLoop(sysfs, number);
        WatchDeviceEvents();
        ASSERT_EQ(3, ListedDriveCount());
        host_.calls.clear();
        gDVLastTabIndex = row.tab;
        const std::string selectedPath = row.selected >= 0 ? Devices().drives[row.selected].devicePath : "";
        Devices().chosenDrive = selectedPath;
        row.change(sysfs);
        if (row.event.action.empty())
            RescanDriveList();
        else
            HandleBlockDeviceEvent(row.event);
        EXPECT_EQ(row.calls, host_.calls);
        EXPECT_EQ(row.listedAfter, ListedDriveCount());
        if (row.selectedAfter < 0) {
            EXPECT_EQ(nullptr, ChosenDrive());
        } else {
            ASSERT_EQ(&Devices().drives[row.selectedAfter], ChosenDrive());
            EXPECT_EQ(selectedPath, ChosenDrive()->devicePath);
        }
    }
}

// 70 loop devices beside the system disk: the disk stays in the full table,
// the loop devices that find no room are counted.
TEST_F(DriveListTest, FullTableKeepsPhysicalDrivesAndCountsWhatIsLeftOut)
{
    FakeSysfs sysfs;
    for (int number = 0; number < 70; ++number)
        AddLoop(sysfs, number);
    sysfs.AddDisk("pci0000:00/0000:00:04.0/virtio1/block", "vdq");
    WatchDeviceEvents();
    ASSERT_EQ(64, ListedDriveCount());
    EXPECT_EQ(0, FindListedDrive("/dev/vdq"));
    EXPECT_EQ(63, FindListedDrive("/dev/loop62"));
    EXPECT_EQ(7, DrivesLeftOutCount());
    // A disk plugged in later takes the last loop device's place.
    sysfs.AddDisk("pci0000:00/0000:00:05.0/virtio2/block", "vdr");
    HandleBlockDeviceEvent({"add", "vdr", "disk"});
    EXPECT_EQ(63, FindListedDrive("/dev/vdr"));
    EXPECT_EQ(-1, FindListedDrive("/dev/loop62"));
    EXPECT_EQ(8, DrivesLeftOutCount());
}

}  // namespace
