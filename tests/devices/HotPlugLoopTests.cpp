// Attaching and detaching loop devices reaches the drive list through the
// kernel's device events, without a udev daemon.
#include "LoopDriveFixture.h"
#include "devices/DriveList.h"

#include <algorithm>
#include <chrono>
#include <poll.h>

namespace {

class RecordingHost : public DriveListHost {
public:
    void DriveAppended(int slot) override { appended.push_back(gSavedDriveInfoArray[slot].devicePathCStr); }
    void DriveRemoved(int slot) override { removedSlots.push_back(slot); }
    std::vector<std::string> appended;
    std::vector<int> removedSlots;
};

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

class HotPlugTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_LOOP_DEVICES();
        ClearDriveList();
        SetDriveListHost(&host_);
        if (IOKitRegisterForDeviceArrivalsRemovals() < 0)
            GTEST_SKIP() << "the kernel offers no device events here";
        ProcessDeviceEvents();  // whatever was queued before the test
        host_.appended.clear();
    }
    void TearDown() override
    {
        SetDriveListHost(nullptr);
        ClearDriveList();
    }
    RecordingHost host_;
};

TEST_F(HotPlugTest, AttachAndDetachAreSeen)
{
    std::string node;
    {
        LoopDevice device(kLoopDriveBytes, "");
        ASSERT_TRUE(device.attached()) << device.error();
        node = device.node();
        ASSERT_TRUE(WaitForListing(node, true)) << node << " did not arrive";
        EXPECT_NE(host_.appended.end(), std::find(host_.appended.begin(), host_.appended.end(), node));
        const DriveInfoRec& drive = gSavedDriveInfoArray[FindListedDrive(node.c_str())];
        EXPECT_EQ(static_cast<int64_t>(kLoopDriveBytes), drive.sizeInBytes64);
    }
    ASSERT_TRUE(WaitForListing(node, false)) << node << " did not leave";
    EXPECT_FALSE(host_.removedSlots.empty());
}

}  // namespace
