#include "engine/SurfaceSamples.h"

#include <algorithm>

SurfaceSample FoldSamples(const SurfaceSample& a, const SurfaceSample& b)
{
    if (a.transfers == 0)
        return b;
    const float weightA = static_cast<float>(a.transfers);
    const float weightB = static_cast<float>(b.transfers);
    const auto average = [&](float x, float y) { return (x * weightA + y * weightB) / (weightA + weightB); };
    SurfaceSample folded;
    folded.firstSector = a.firstSector;
    folded.sectors = a.sectors + b.sectors;
    folded.transfers = a.transfers + b.transfers;
    folded.readMinimum = std::min(a.readMinimum, b.readMinimum);
    folded.readAverage = average(a.readAverage, b.readAverage);
    folded.readMaximum = std::max(a.readMaximum, b.readMaximum);
    folded.writeMinimum = std::min(a.writeMinimum, b.writeMinimum);
    folded.writeAverage = average(a.writeAverage, b.writeAverage);
    folded.writeMaximum = std::max(a.writeMaximum, b.writeMaximum);
    return folded;
}

SurfaceSampleRecorder::SurfaceSampleRecorder(std::vector<SurfaceSample>& samples, size_t limit)
    : samples_(samples), limit_(limit)
{
}

void SurfaceSampleRecorder::Add(uint64_t firstSector, uint64_t sectors, float read, float write)
{
    const SurfaceSample one{firstSector, sectors, 1, read, read, read, write, write, write};
    gathering_ = FoldSamples(gathering_, one);
    if (gathering_.transfers >= transfersPerSample_) {
        Push(gathering_);
        gathering_ = SurfaceSample{};
    }
}

void SurfaceSampleRecorder::Flush()
{
    if (gathering_.transfers != 0)
        Push(gathering_);
    gathering_ = SurfaceSample{};
}

void SurfaceSampleRecorder::Push(const SurfaceSample& sample)
{
    if (samples_.size() >= limit_) {
        for (size_t i = 0; i < samples_.size() / 2; ++i)
            samples_[i] = FoldSamples(samples_[2 * i], samples_[2 * i + 1]);
        samples_.resize(samples_.size() / 2);
        transfersPerSample_ *= 2;
    }
    samples_.push_back(sample);
}
