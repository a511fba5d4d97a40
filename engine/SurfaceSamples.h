// The surface run's speed-against-position samples: one per transfer up to
// a limit (kSurfaceFullResolutionSamples), then neighbours are folded
// pairwise (minimum, average and maximum of what they cover) and each new
// sample covers twice as many transfers, so the samples never exceed the
// limit whatever the size of the drive.
#pragma once

#include "engine/Run.h"

#include <vector>

class SurfaceSampleRecorder {
public:
    // Appends to samples, which it may fold; limit is even and at least 2.
    explicit SurfaceSampleRecorder(std::vector<SurfaceSample>& samples, size_t limit = kSurfaceFullResolutionSamples);

    // One transfer; write 0 when the run has no writes, both 0 for a transfer that could not be read.
    void Add(uint64_t firstSector, uint64_t sectors, float read, float write);
    // Appends the sample still gathering transfers (at the run's end).
    void Flush();

    uint32_t TransfersPerSample() const { return transfersPerSample_; }

private:
    void Push(const SurfaceSample& sample);

    std::vector<SurfaceSample>& samples_;
    const size_t limit_;
    uint32_t transfersPerSample_ = 1;
    SurfaceSample gathering_;
};

// One sample covering a and the b that follows it.
SurfaceSample FoldSamples(const SurfaceSample& a, const SurfaceSample& b);
