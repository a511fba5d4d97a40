// The drive list and volume records for a real partitioned loop drive.
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
    }
    ClearDriveList();
}

TEST_F(LoopDriveTest, VolumeFoundByItsMountPoint)
{
    for (const LoopVolume& expected : volumes_) {
        SCOPED_TRACE(expected.type);
        VolInfoRec record{};
        ASSERT_EQ(0, FindMountedVolume(expected.mount->path().c_str(), &record, true));
        EXPECT_EQ(expected.node, std::string(record.rawDevicePathCStr));
        EXPECT_NE(std::string::npos, std::string(record.totalSizeLabelCStr).find("Megabytes"))
            << record.totalSizeLabelCStr;
    }
    VolInfoRec record{};
    EXPECT_EQ(-35, FindMountedVolume("/nonexistent/kestrelia", &record, true));
}

// The size rule and the writable flag, on loop drives without partitions.
struct AcceptanceRow {
    const char* name;
    uint64_t bytes;
    const char* losetupOptions;
    bool listed;
    bool writable;
};

class DriveAcceptanceTest : public ::testing::Test {
protected:
    void SetUp() override { SKIP_WITHOUT_LOOP_DEVICES(); }
};

TEST_F(DriveAcceptanceTest, SizeRuleAndWritableFlag)
{
    const AcceptanceRow rows[] = {
        {"exactly 1 GiB stays out", 1ull << 30, "", false, false},
        {"1 GiB and 1 MiB is listed", (1ull << 30) + (1ull << 20), "", true, true},
        {"read-only attach is listed read-only", kLoopDriveBytes, "-r", true, false},
    };
    for (const AcceptanceRow& row : rows) {
        SCOPED_TRACE(row.name);
        LoopDevice device(row.bytes, row.losetupOptions);
        ASSERT_TRUE(device.attached()) << device.error();
        ClearDriveList();
        IOKitRegisterForDeviceArrivalsRemovals();
        const DriveInfoRec* drive = ListedRecord(device.node());
        ASSERT_EQ(row.listed, drive != nullptr);
        if (drive) {
            EXPECT_EQ(static_cast<int64_t>(row.bytes), drive->sizeInBytes64);
            EXPECT_EQ(row.writable, drive->writable);
            EXPECT_EQ(0, drive->volumeCount);
        }
        ClearDriveList();
    }
}

}  // namespace
