// A loop drive of 1.5 GiB over a sparse file, with a GPT partition table and
// one partition per file system this machine offers (ext4, xfs, btrfs), each
// mounted on its own temporary directory with a marker file. Everything is
// unmounted and detached again when the test ends, also when it fails.
#pragma once

#include "LoopDevice.h"
#include "devices/VolumeRecords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline constexpr uint64_t kLoopDriveBytes = 1536ull << 20;

struct LoopVolume {
    std::string type;        // "ext4", ...
    std::string node;        // "/dev/loopNpK"
    uint64_t partitionBytes;
    std::unique_ptr<TemporaryMount> mount;
};

// The parts of a mount-table line that a remount must restore.
struct MountState {
    std::string source;
    std::string type;
    std::string vfsOptions;
    std::string fsOptions;
    std::string root;
    bool operator==(const MountState&) const = default;
};

inline void PrintTo(const MountState& state, std::ostream* out)
{
    *out << state.source << " (" << state.type << ") " << state.vfsOptions << " / " << state.fsOptions << " root " << state.root;
}

// The mount at that path ("" source when nothing is mounted there).
MountState MountAt(const std::string& mountPoint);

// The mounts of a drive and its partitions as the mount table shows them
// (mount point, source, type, options, file-system folder), sorted; FUSE
// volumes served from it and btrfs file systems it is a member of included.
std::vector<std::string> DriveMounts(const std::string& drive);

class LoopDriveTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::string& drive() const { return device_->node(); }
    // The text of the marker file on a volume ("" when unreadable).
    static std::string MarkerOf(const LoopVolume& volume);
    // Makes FAT on the first volume and exFAT on the second and mounts them
    // at their folders through fusefat and exfat-fuse with those options;
    // skips the test where either helper or its mkfs is missing.
    void ServeFirstVolumesThroughFuse(const std::string& fatOptions, const std::string& exfatOptions);
    // Mounts every volume again read-only, without journal replay or other
    // writes of its own, so that only a test could change the device.
    void MountVolumesReadOnly();

    std::unique_ptr<LoopDevice> device_;
    std::vector<LoopVolume> volumes_;
};

// One loop drive for all the tests of a suite, attached by the first of them and
// detached after the last: for tests that leave it as they found it.
class SharedLoopDriveTest : public LoopDriveTest {
protected:
    void SetUp() override;
    void TearDown() override;
    static void TearDownTestSuite();

private:
    static std::unique_ptr<LoopDevice> sharedDevice_;
    static std::vector<LoopVolume> sharedVolumes_;
};
