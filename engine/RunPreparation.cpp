#include "engine/RunPreparation.h"

#include "engine/LaunchChecks.h"
#include "engine/QueuedTransfers.h"
#include "engine/SurfaceTest.h"
#include "engine/TestRun.h"
#include "engine/ZoneTests.h"
#include "format/ByteText.h"
#include "format/ErrorText.h"
#include "platform/DriveTemperature.h"
#include "platform/RawDevice.h"

#include <cerrno>
#include <cstring>

namespace {
constexpr int32_t kVolumeGone = -35;
constexpr int kExitTestFailed = 1;
constexpr uint32_t kRandomBufferBytes = kRandomTransferCount * kRandomTransferBytes;
constexpr uint32_t kMinStandardBufferBytes = 1048576;

std::string SystemWords(int errorNumber)
{
    char text[256];
    SystemErrorText(errorNumber, text);
    return text;
}

Refusal SettingsRefusal(const std::string& message, const std::string& explanation)
{
    return Refusal{RefusalKind::Settings, message, explanation, message, 2, {}};
}

// The node cannot be measured or opened: the window's alert names the node and the reason.
Refusal CannotOpen(const LaunchTarget& target, int errorNumber, std::string detail = {})
{
    return Refusal{RefusalKind::CannotOpen,
                   target.isVolume ? kVolumeCannotOpenMessage : kDriveCannotOpenMessage,
                   target.devicePath + ": " + std::strerror(errorNumber) + ".",
                   detail.empty() ? SystemWords(errorNumber) : std::move(detail), 2, {}};
}

Refusal WritesRefused(std::string detail, std::string holders = {})
{
    return Refusal{RefusalKind::WritesRefused, "", "", std::move(detail), 2, std::move(holders)};
}

std::optional<Refusal> CheckSettings(const LaunchTarget& target, const RunSettings& settings)
{
    if (settings.kind == TestKind::Random) {
        // Never run silently at depth 1 what was asked for at a higher depth.
        if (settings.queueDepth > 1 && !QueuedTransfersAvailable())
            return SettingsRefusal(kQueueDepthNeedsUringMessage, "");
        return std::nullopt;
    }
    if (settings.transferMegabytes > kMaxTransferMegabytes)
        return SettingsRefusal(kTransferSizeUnsupportedMessage, kTransferSizeUnsupportedExplanation);
    if (!target.hasDrive)
        return std::nullopt;
    if (auto limit = MaxTransferRefusal(target.maxSegmentBytes, settings.TransferBytes(), target.interfaceText))
        return SettingsRefusal(limit->message, limit->explanation);
    return std::nullopt;
}

bool BigEnough(const TestRun& testRun)
{
    const Run& run = testRun.run;
    if (run.settings.kind == TestKind::Random)
        return run.target.Sectors() >= kRandomTestMinimumSectors;
    if (run.settings.kind == TestKind::Surface)
        return SurfaceSpanSectors(run.settings, run.target) != 0;
    return DriveBigEnoughForZones(run.target.Sectors(), run.settings.TransferSectors(), run.settings.zones);
}

// Nothing may lie mounted on the target and nobody else may use the drive;
// then the exclusive open for writing.
std::optional<Refusal> OpenForWriting(TestRun& testRun, const LaunchSteps& steps)
{
    const std::string& path = testRun.run.target.devicePath;
    if (DeviceIsReadOnly(testRun.readDescriptor))
        return WritesRefused("writes refused: the device is read-only");
    if (steps.unmount) {
        const int32_t unmounted = steps.unmount();
        if (unmounted != 0 && unmounted != kVolumeGone)
            return WritesRefused("writes refused: the volumes on it cannot be unmounted");
    } else if (steps.mountsOn) {
        // FUSE helpers and btrfs members do not always claim the device: their mounts are asked for.
        if (const std::string mounts = steps.mountsOn(path); !mounts.empty())
            return WritesRefused("writes refused: the device is mounted or in use: " + mounts);
    }
    // Who else uses the drive: asked once the exclusive open holds, for
    // whoever came before it, or when it fails, since it would not say who.
    const auto inUse = [&](const std::string& holders) {
        return WritesRefused("writes refused, the drive is in use:\n" + holders, holders);
    };
    const auto users = [&] { return steps.driveUsers ? steps.driveUsers(path) : std::string(); };
    int errorNumber = 0;
    testRun.writeDescriptor = OpenRawForWriting(path.c_str(), &errorNumber);
    if (testRun.writeDescriptor < 0) {
        testRun.writeDescriptor = -1;
        if (std::string holders = users(); !holders.empty())
            return inUse(holders);
        return WritesRefused(errorNumber == EBUSY
            ? "writes refused: the device is mounted or in use (" + SystemWords(errorNumber) + ")"
            : "writes refused: " + SystemWords(errorNumber));
    }
    if (std::string holders = users(); !holders.empty()) {
        CloseRawDescriptor(&testRun.writeDescriptor);
        return inUse(holders);
    }
    if (steps.driveUsers)
        testRun.watch.Watch([lookAt = steps.driveUsers, path] { return lookAt(path); });
    return std::nullopt;
}
}  // namespace

uint32_t TransferBufferBytesFor(const RunSettings& settings)
{
    if (settings.kind == TestKind::Random)
        return kRandomBufferBytes;
    return settings.TransferBytes() > kMinStandardBufferBytes ? settings.TransferBytes() : kMinStandardBufferBytes;
}

PreparedRun PrepareRun(const LaunchTarget& target, const RunSettings& settings, const LaunchSteps& steps)
{
    auto refuse = [](Refusal refusal) { return PreparedRun{nullptr, std::move(refusal)}; };
    if (auto refusal = CheckSettings(target, settings))
        return refuse(std::move(*refusal));

    Run run;
    run.settings = settings;
    run.target.devicePath = target.devicePath;
    run.target.identity = target.identity;
    run.target.name = target.name;
    run.target.sizeLabel = target.sizeLabel;
    run.target.isVolume = target.isVolume;
    if (!target.isVolume && !target.writable)
        run.settings.writes = false;
    auto testRun = std::make_unique<TestRun>(std::move(run));
    Run& prepared = testRun->run;
    if (!testRun->buffer.Allocate(TransferBufferBytesFor(prepared.settings)))
        return refuse(Refusal{RefusalKind::NoMemory, kNotEnoughMemoryMessage, kNotEnoughMemoryExplanation,
                              kNotEnoughMemoryMessage, kExitTestFailed, {}});

    // The size and sector size of the node itself decide where transfers may go.
    DeviceGeometry geometry;
    int errorNumber = 0;
    if (!QueryPathGeometry(target.devicePath.c_str(), &geometry, &errorNumber))
        return refuse(CannotOpen(target, errorNumber));
    prepared.target.sizeBytes = geometry.sizeBytes;
    // A target no listing describes (a node or file named on the command line)
    // has its size in reports as a listing would write it.
    if (prepared.target.sizeLabel.empty()) {
        char size[256];
        FormatByteSize(static_cast<int64_t>(geometry.sizeBytes), size, true);
        prepared.target.sizeLabel = size;
    }
    prepared.target.logicalBlockBytes = geometry.logicalBlockBytes;
    if (!BigEnough(*testRun))
        return refuse(Refusal{RefusalKind::TooSmall, kDriveTooSmallMessage, kDriveTooSmallExplanation,
                              kDriveTooSmallMessage, 2, {}});
    testRun->zoneIncrement = StandardZoneIncrement(prepared.target.Sectors(), prepared.settings.zones);
    if (prepared.settings.kind == TestKind::Standard)
        prepared.zones.assign(static_cast<size_t>(prepared.settings.zones), ZoneResult{});
    if (prepared.settings.kind == TestKind::Surface)
        testRun->temperatureFile = FindDriveTemperatureFile("/sys", target.devicePath);

    testRun->readDescriptor = OpenRawForReading(target.devicePath.c_str(), &errorNumber);
    if (testRun->readDescriptor < 0) {
        testRun->readDescriptor = -1;
        return refuse(CannotOpen(target, errorNumber, errorNumber == EINVAL
            ? "direct I/O refused (" + SystemWords(errorNumber) +
                  "); reading through the page cache would time the cache, not the storage"
            : std::string()));
    }
    if (prepared.settings.writes) {
        if (auto refusal = OpenForWriting(*testRun, steps)) {
            // A test that cannot write leaves nothing unmounted.
            if (steps.unmount && steps.remount)
                steps.remount();
            return refuse(std::move(*refusal));
        }
    }
    return PreparedRun{std::move(testRun), std::nullopt};
}
