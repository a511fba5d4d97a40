// The drive list on a real partitioned loop drive: the drive and its volumes
// as the kernel and the mounts show them, then the drive leaving and another
// arriving through the kernel's device events, without a udev daemon. The
// interface texts, the size rule and the read-only flag are tested on a fake
// sysfs tree.
#include "LoopDriveFixture.h"
#include "devices/DriveList.h"

#include <chrono>
#include <poll.h>

namespace {

// Handles device events until the drive's listing is as wanted or 10 s pass.
bool WaitForListing(const std::string& node, bool listed)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((FindListedDrive(node.c_str()) >= 0) != listed) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        pollfd watched{DeviceMonitorDescriptor(), POLLIN, 0};
        if (::poll(&watched, 1, 200) > 0)
            ProcessDeviceEvents();
    }
    return true;
}

TEST_F(LoopDriveTest, DriveListShowsTheDriveAndItsVolumesAndFollowsDeviceEvents)
{
    ClearDriveList();
    if (WatchDeviceEvents() < 0)
        GTEST_SKIP() << "the kernel offers no device events here";
    const int slot = FindListedDrive(drive().c_str());
    ASSERT_GE(slot, 0) << drive() << " is not listed";
    const DriveRecord& listed = Devices().drives[static_cast<std::size_t>(slot)];
    EXPECT_EQ("Loop Device (" + drive().substr(5) + ")", listed.name);
    EXPECT_EQ("Loop:  File = " + device_->backingFile(), listed.interfaceText);
    EXPECT_EQ(static_cast<int64_t>(kLoopDriveBytes), listed.sizeBytes);
    EXPECT_TRUE(listed.writable);
    ASSERT_EQ(volumes_.size(), listed.volumes.size());
    for (std::size_t index = 0; index < volumes_.size(); ++index) {
        const LoopVolume& expected = volumes_[index];
        const VolumeRecord& volume = listed.volumes[index];
        SCOPED_TRACE(expected.type);
        EXPECT_EQ(expected.node, volume.devicePath);
        EXPECT_EQ(expected.mount->path(), volume.mount.target);
        // Named by the file system's label.
        EXPECT_EQ("kv" + std::to_string(index + 1), volume.name);
        EXPECT_EQ("Linux File System (" + expected.type + ")", volume.fileSystemName);
        // The file system keeps some of the partition for itself.
        EXPECT_LE(volume.totalBytes, expected.partitionBytes);
        EXPECT_GT(volume.totalBytes, expected.partitionBytes / 2);
        EXPECT_LE(volume.params.freeBytes, volume.totalBytes);
    }
    VolumeRecord record;
    EXPECT_EQ(-35, FindMountedVolume("/nonexistent/kestrelia", &record, true));

    ProcessDeviceEvents();  // whatever was queued before
    const std::string gone = drive();
    volumes_.clear();
    device_.reset();
    ASSERT_TRUE(WaitForListing(gone, false)) << gone << " did not leave";
    LoopDevice arriving(kLoopDriveBytes, "");
    ASSERT_TRUE(arriving.attached()) << arriving.error();
    ASSERT_TRUE(WaitForListing(arriving.node(), true)) << arriving.node() << " did not arrive";
    const DriveRecord& arrived = Devices().drives[static_cast<std::size_t>(FindListedDrive(arriving.node()))];
    EXPECT_EQ(static_cast<int64_t>(kLoopDriveBytes), arrived.sizeBytes);
}

}  // namespace
