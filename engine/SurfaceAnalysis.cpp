#include "engine/SurfaceAnalysis.h"

#include "engine/DeviceTransfers.h"

#include <algorithm>

namespace {
constexpr double kSlowTimes = 10.0;
constexpr size_t kSlowestKept = kSurfaceFullResolutionSamples;
}  // namespace

double SurfaceTransferSpeed(uint64_t sectors, uint64_t nanoseconds)
{
    return MegabytesPerSecond(sectors * 512, nanoseconds);
}

SurfaceDirectionFigures::SurfaceDirectionFigures() : speeds_(SpeedDistribution()), times_(TimeDistribution()) {}

void SurfaceDirectionFigures::Add(uint64_t firstSector, uint64_t sectors, uint64_t nanoseconds)
{
    const double speed = SurfaceTransferSpeed(sectors, nanoseconds);
    minimum_ = speeds_.Count() == 0 ? speed : std::min(minimum_, speed);
    speeds_.Add(speed);
    bytes_ += sectors * 512;
    nanoseconds_ += nanoseconds;
    times_.Add(static_cast<double>(nanoseconds));
    const auto quicker = [](const Transfer& a, const Transfer& b) { return a.nanoseconds > b.nanoseconds; };
    if (slowest_.size() == kSlowestKept) {
        if (nanoseconds <= slowest_.front().nanoseconds)
            return;
        std::pop_heap(slowest_.begin(), slowest_.end(), quicker);
        slowest_.pop_back();
    }
    slowest_.push_back({firstSector, sectors, nanoseconds});
    std::push_heap(slowest_.begin(), slowest_.end(), quicker);
}

SurfaceSpeedFigures SurfaceDirectionFigures::Figures() const
{
    SurfaceSpeedFigures figures;
    if (speeds_.Count() == 0)
        return figures;
    figures.seconds = static_cast<double>(nanoseconds_) / 1e9;
    figures.average = figures.seconds > 0.0 ? static_cast<double>(bytes_) / 1048576.0 / figures.seconds : 0.0;
    figures.minimum = minimum_;
    figures.onePercentLow = speeds_.OnePercentLow();
    return figures;
}

std::vector<SurfaceSlowBlock> SurfaceDirectionFigures::SlowBlocks(bool write) const
{
    std::vector<SurfaceSlowBlock> slow;
    const double limit = kSlowTimes * times_.Median();
    for (const Transfer& t : slowest_)
        if (static_cast<double>(t.nanoseconds) > limit)
            slow.push_back({t.firstSector, t.sectors, static_cast<double>(t.nanoseconds) / 1e6, write});
    std::sort(slow.begin(), slow.end(),
              [](const SurfaceSlowBlock& a, const SurfaceSlowBlock& b) { return a.firstSector < b.firstSector; });
    return slow;
}

WriteFalloffFinder::WriteFalloffFinder(uint64_t spanSectors)
    : baselineEnd_(spanSectors * 5 / 100), stretchNeeded_(std::max<uint64_t>(1, spanSectors * 2 / 100)),
      baseline_(SpeedDistribution()), after_(SpeedDistribution())
{
}

void WriteFalloffFinder::Add(uint64_t firstSector, uint64_t sectors, double speed)
{
    if (firstSector < baselineEnd_ || baseline_.Count() == 0) {
        baseline_.Add(speed);
        return;
    }
    if (threshold_ == 0.0)
        threshold_ = 0.6 * baseline_.Median();
    if (found_) {
        after_.Add(speed);
        return;
    }
    if (speed >= threshold_) {
        inStretch_ = false;
        return;
    }
    if (!inStretch_) {
        inStretch_ = true;
        stretchStart_ = firstSector;
        after_ = SpeedDistribution();
    }
    after_.Add(speed);
    found_ = firstSector + sectors - stretchStart_ >= stretchNeeded_;
}

SurfaceWriteFalloff WriteFalloffFinder::Result() const
{
    SurfaceWriteFalloff result;
    if (!found_)
        return result;
    result.found = true;
    result.atSector = stretchStart_;
    result.beforeSpeed = baseline_.Median();
    result.afterSpeed = after_.Median();
    return result;
}

bool PossibleThrottling(const std::vector<TemperatureSample>& temperatures, const std::vector<SurfaceSample>& samples,
                        const SurfaceSpeedFigures& read, const SurfaceSpeedFigures& write)
{
    if (temperatures.empty() || samples.empty())
        return false;
    const auto [coolest, hottest] = std::minmax_element(
        temperatures.begin(), temperatures.end(),
        [](const TemperatureSample& a, const TemperatureSample& b) { return a.celsius < b.celsius; });
    if (hottest->celsius - coolest->celsius < 5.0)
        return false;
    for (const TemperatureSample& t : temperatures) {
        if (t.celsius < hottest->celsius - 1.0)
            continue;
        // The sample that covers where the run was then.
        auto at = std::upper_bound(samples.begin(), samples.end(), t.sector,
                                   [](uint64_t sector, const SurfaceSample& s) { return sector < s.firstSector; });
        if (at != samples.begin())
            --at;
        if (at->readAverage > 0.0f && at->readAverage < 0.7 * read.average)
            return true;
        if (at->writeAverage > 0.0f && at->writeAverage < 0.7 * write.average)
            return true;
    }
    return false;
}

void SurfaceAnalysis::AddRead(uint64_t firstSector, uint64_t sectors, uint64_t nanoseconds)
{
    reads_.Add(firstSector, sectors, nanoseconds);
}

void SurfaceAnalysis::AddWrite(uint64_t firstSector, uint64_t sectors, uint64_t nanoseconds)
{
    writes_.Add(firstSector, sectors, nanoseconds);
    falloff_.Add(firstSector, sectors, SurfaceTransferSpeed(sectors, nanoseconds));
}

void SurfaceAnalysis::Finish(SurfaceResult& result, bool writes) const
{
    result.read = reads_.Figures();
    result.write = writes ? writes_.Figures() : SurfaceSpeedFigures{};
    result.writeFalloff = writes ? falloff_.Result() : SurfaceWriteFalloff{};
    result.slowBlocks = reads_.SlowBlocks(false);
    if (writes) {
        std::vector<SurfaceSlowBlock> slowWrites = writes_.SlowBlocks(true);
        result.slowBlocks.insert(result.slowBlocks.end(), slowWrites.begin(), slowWrites.end());
        std::stable_sort(result.slowBlocks.begin(), result.slowBlocks.end(),
                         [](const SurfaceSlowBlock& a, const SurfaceSlowBlock& b) { return a.firstSector < b.firstSector; });
    }
    result.maximumCelsius = 0.0;
    for (const TemperatureSample& t : result.temperatures)
        result.maximumCelsius = std::max(result.maximumCelsius, t.celsius);
    result.possibleThrottling = PossibleThrottling(result.temperatures, result.samples, result.read, result.write);
}
