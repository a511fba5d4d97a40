// The drive list and volume records for a real partitioned loop drive. The
// size rule and the read-only flag are tested on a fake sysfs tree.
#include "LoopDriveFixture.h"
#include "devices/DriveList.h"

#include <filesystem>

namespace {

const DriveInfoRec* ListedRecord(const std::string& node)
{
    const int slot = FindListedDrive(node.c_str());
    return slot < 0 ? nullptr : &gSavedDriveInfoArray[slot];
}

std::string PascalText(const unsigned char* pascal)
{
    return std::string(reinterpret_cast<const char*>(pascal + 1), pascal[0]);
}

TEST_F(LoopDriveTest, DriveListShowsTheDriveAndItsVolumes)
{
    ClearDriveList();
    IOKitRegisterForDeviceArrivalsRemovals();
    const DriveInfoRec* drive = ListedRecord(this->drive());
    ASSERT_NE(nullptr, drive) << this->drive() << " is not listed";
    const std::string name = this->drive().substr(5);
    EXPECT_EQ("Loop Device (" + name + ")", std::string(drive->driveNameCStr));
    EXPECT_EQ(std::string(drive->driveNameCStr), PascalText(drive->driveNamePStr));
    EXPECT_EQ("Loop:  File = " + device_->backingFile(), PascalText(drive->interfaceInfoPStr));
    EXPECT_EQ(static_cast<int64_t>(kLoopDriveBytes), drive->sizeInBytes64);
    EXPECT_STREQ("1.500 Gigabytes", drive->sizeLabelCStr);
    EXPECT_TRUE(drive->writable);
    EXPECT_EQ(0u, drive->maxSegmentBytes64);

    ASSERT_EQ(static_cast<int16_t>(volumes_.size()), drive->volumeCount);
    for (std::size_t index = 0; index < volumes_.size(); ++index) {
        const LoopVolume& expected = volumes_[index];
        const VolInfoRec& volume = drive->volumes[index];
        SCOPED_TRACE(expected.type);
        EXPECT_EQ(expected.node, std::string(volume.rawDevicePathCStr));
        EXPECT_EQ(expected.node, std::string(volume.blockDevicePathCStr));
        EXPECT_EQ(expected.mount->path(), std::string(volume.rootRef));
        // Named by the file system's label.
        const std::string label = "kv" + std::to_string(index + 1);
        EXPECT_EQ(label, std::string(volume.volNameCStr));
        EXPECT_EQ(label, PascalText(volume.volNamePStr));
        EXPECT_EQ("Linux File System (" + expected.type + ")", std::string(volume.fileSystemNameCStr));
        EXPECT_EQ(expected.type, std::string(volume.fileSystemTypeCStr));
        // The file system keeps some of the partition for itself.
        EXPECT_LE(volume.totalBytes64, expected.partitionBytes);
        EXPECT_GT(volume.totalBytes64, expected.partitionBytes / 2);
        EXPECT_LE(volume.volParms.freeBytes, volume.totalBytes64);
        EXPECT_NE(std::string::npos, std::string(volume.totalSizeLabelCStr).find("MB")) << volume.totalSizeLabelCStr;
        EXPECT_GT(volume.vRefNum, 0);
        VolInfoRec found{};
        ASSERT_EQ(0, FindMountedVolume(expected.mount->path().c_str(), &found, true));
        EXPECT_EQ(expected.node, std::string(found.rawDevicePathCStr));
    }
    VolInfoRec record{};
    EXPECT_EQ(-35, FindMountedVolume("/nonexistent/kestrelia", &record, true));
    ClearDriveList();
}

}  // namespace
