#include "engine/SurfaceTest.h"

#include "engine/DeviceTransfers.h"
#include "engine/RunObserver.h"
#include "engine/SurfaceAnalysis.h"
#include "engine/SurfaceDevice.h"
#include "engine/SurfaceSamples.h"
#include "engine/TestRun.h"
#include "format/ErrorText.h"

#include <algorithm>
#include <cerrno>

uint64_t SurfaceSpanSectors(const RunSettings& settings, const RunTarget& target)
{
    const uint64_t blockSectors = std::max<uint64_t>(1, target.logicalBlockBytes / 512);
    uint64_t span = target.Sectors();
    if (settings.surfaceSpanBytes != 0)
        span = std::min(span, settings.surfaceSpanBytes / 512);
    return span - span % blockSectors;
}

namespace {
// Errors that say the device is gone rather than a place on it unreadable.
bool DeviceGone(int errorNumber)
{
    return errorNumber == ENODEV || errorNumber == ENXIO || errorNumber == EBADF;
}

class SurfacePass {
public:
    SurfacePass(TestRun& testRun, RunObserver& observer, SurfaceDevice& device)
        : testRun_(testRun), run_(testRun.run), result_(testRun.run.surface), observer_(observer), device_(device),
          progress_(testRun.progress), blockSectors_(std::max<uint32_t>(1, run_.target.logicalBlockBytes / 512)),
          span_(SurfaceSpanSectors(run_.settings, run_.target)), analysis_(span_), samples_(result_.samples)
    {
        result_.spanSectors = span_;
    }

    RunEnd Run()
    {
        const uint64_t x = run_.settings.TransferSectors();
        const uint64_t limit = uint64_t{run_.settings.surfaceMinutes} * 60'000'000'000ull;
        start_ = lastReport_ = device_.NowNanoseconds();
        SampleTemperature(start_);
        RunEnd end = RunEnd::Completed;
        for (uint64_t sector = 0; sector < span_ && end == RunEnd::Completed;) {
            if (testRun_.stop.Requested()) {
                end = RunEnd::Stopped;
                break;
            }
            const uint64_t now = device_.NowNanoseconds();
            if (limit != 0 && now - start_ >= limit) {
                result_.timeLimitReached = true;
                break;
            }
            const uint64_t sectors = std::min(x, span_ - sector);
            end = Transfer(sector, sectors);
            if (end != RunEnd::Completed)
                break;
            sector += sectors;
            result_.coveredSectors = sector;
            progress_.surfaceCoveredSectors.store(sector, std::memory_order_relaxed);
            Tick(device_.NowNanoseconds());
        }
        samples_.Flush();
        analysis_.Finish(result_, run_.settings.writes);
        observer_.SurfaceMeasured(testRun_);
        return end;
    }

private:
    RunEnd Transfer(uint64_t sector, uint64_t sectors)
    {
        const uint32_t bytes = static_cast<uint32_t>(sectors * 512);
        unsigned char* buffer = testRun_.buffer.data();
        int error = 0;
        progress_.position.SetZone(TransferPhase::Read, -1, -1, sector);
        uint64_t t0 = device_.NowNanoseconds();
        bool ok = device_.Read(sector * 512, bytes, buffer, &error);
        uint64_t t1 = device_.NowNanoseconds();
        if (!ok) {
            if (DeviceGone(error)) {
                RecordTransferFailure(testRun_, error);
                return RunEnd::Failed;
            }
            // Nothing is written back over a transfer that could not be read whole.
            const RunEnd end = FindUnreadable(sector, sectors);
            if (end == RunEnd::Completed)
                samples_.Add(sector, sectors, 0.0f, 0.0f);
            return end;
        }
        analysis_.AddRead(sector, sectors, t1 - t0);
        const float read = static_cast<float>(SurfaceTransferSpeed(sectors, t1 - t0));
        readBytes_ += bytes;
        readNanoseconds_ += t1 - t0;
        if (!run_.settings.writes) {
            samples_.Add(sector, sectors, read, 0.0f);
            return RunEnd::Completed;
        }
        if (std::string users = testRun_.watch.NewUsers(); !users.empty()) {
            run_.failure = RunFailure{std::move(users), "write", -1, -1, sector, 0};
            return RunEnd::Failed;
        }
        // The buffer still holds what was just read: the write puts it back.
        progress_.position.SetZone(TransferPhase::Write, -1, -1, sector);
        t0 = device_.NowNanoseconds();
        ok = device_.Write(sector * 512, bytes, buffer, &error);
        t1 = device_.NowNanoseconds();
        if (!ok) {
            RecordTransferFailure(testRun_, error);
            return RunEnd::Failed;
        }
        analysis_.AddWrite(sector, sectors, t1 - t0);
        writeBytes_ += bytes;
        writeNanoseconds_ += t1 - t0;
        samples_.Add(sector, sectors, read, static_cast<float>(SurfaceTransferSpeed(sectors, t1 - t0)));
        return RunEnd::Completed;
    }

    // Reads the transfer again one logical block at a time; the blocks that
    // fail join the list, neighbours with the same error as one range.
    RunEnd FindUnreadable(uint64_t sector, uint64_t sectors)
    {
        const uint32_t blockBytes = static_cast<uint32_t>(blockSectors_ * 512);
        for (uint64_t block = sector; block < sector + sectors; block += blockSectors_) {
            if (testRun_.stop.Requested())
                return RunEnd::Stopped;
            int error = 0;
            unsigned char* into = testRun_.buffer.data() + (block - sector) * 512;
            if (device_.Read(block * 512, blockBytes, into, &error))
                continue;
            std::vector<SurfaceUnreadableRange>& ranges = result_.unreadable;
            if (!ranges.empty() && ranges.back().firstSector + ranges.back().sectors == block &&
                ranges.back().errorNumber == error) {
                ranges.back().sectors += blockSectors_;
                continue;
            }
            char text[256];
            SystemErrorText(error, text);
            ranges.push_back({block, blockSectors_, error, text});
        }
        return RunEnd::Completed;
    }

    void SampleTemperature(uint64_t now)
    {
        lastTemperature_ = now;
        if (const std::optional<double> celsius = device_.Celsius())
            result_.temperatures.push_back(
                {static_cast<double>(now - start_) / 1e9, result_.coveredSectors, *celsius});
    }

    // A few times a second: the temperature, the progress figures and the observer.
    void Tick(uint64_t now)
    {
        if (now - lastTemperature_ >= kSurfaceTemperatureNanoseconds)
            SampleTemperature(now);
        if (now - lastReport_ < kSurfaceReportNanoseconds)
            return;
        const auto speed = [](uint64_t bytes, uint64_t nanoseconds) {
            return nanoseconds == 0 ? 0.0 : static_cast<double>(bytes) / 1048576.0 / (static_cast<double>(nanoseconds) / 1e9);
        };
        progress_.surfaceSpeedNow.store(speed(readBytes_, readNanoseconds_), std::memory_order_relaxed);
        progress_.surfaceWriteSpeedNow.store(speed(writeBytes_, writeNanoseconds_), std::memory_order_relaxed);
        readBytes_ = readNanoseconds_ = writeBytes_ = writeNanoseconds_ = 0;
        const double elapsed = static_cast<double>(now - start_) / 1e9;
        const uint64_t covered = result_.coveredSectors;
        double left = covered == 0 ? 0.0 : elapsed * static_cast<double>(span_ - covered) / static_cast<double>(covered);
        if (run_.settings.surfaceMinutes != 0)
            left = std::min(left, std::max(0.0, run_.settings.surfaceMinutes * 60.0 - elapsed));
        progress_.surfaceSecondsLeft.store(left, std::memory_order_relaxed);
        lastReport_ = now;
        observer_.SurfaceMeasured(testRun_);
    }

    TestRun& testRun_;
    ::Run& run_;
    SurfaceResult& result_;
    RunObserver& observer_;
    SurfaceDevice& device_;
    RunProgress& progress_;
    const uint64_t blockSectors_;
    const uint64_t span_;
    SurfaceAnalysis analysis_;
    SurfaceSampleRecorder samples_;
    uint64_t start_ = 0;
    uint64_t lastReport_ = 0;
    uint64_t lastTemperature_ = 0;
    // Since the last report, for the speed now.
    uint64_t readBytes_ = 0;
    uint64_t readNanoseconds_ = 0;
    uint64_t writeBytes_ = 0;
    uint64_t writeNanoseconds_ = 0;
};
}  // namespace

RunEnd RunSurfaceTest(TestRun& testRun, RunObserver& observer, SurfaceDevice& device)
{
    testRun.run.surface = SurfaceResult{};
    RunProgress& progress = testRun.progress;
    progress.position.Reset();
    progress.surfaceCoveredSectors.store(0);
    progress.surfaceSpeedNow.store(0.0);
    progress.surfaceWriteSpeedNow.store(0.0);
    progress.surfaceSecondsLeft.store(0.0);
    SurfacePass pass(testRun, observer, device);
    observer.Started(testRun);
    observer.PhaseStarted(testRun, RunPhase::Surface, -1);
    return pass.Run();
}

RunEnd RunSurfaceTest(TestRun& testRun, RunObserver& observer)
{
    const std::unique_ptr<SurfaceDevice> device = MakeRunSurfaceDevice(testRun);
    return RunSurfaceTest(testRun, observer, *device);
}
