// A distribution of many values (transfer speeds or times) in bounded
// memory: counts in bins 0.1 % wide on a logarithmic scale, so that the
// median or the 1 % low of millions of transfers takes the same space as of
// ten. A value read back is the middle of its bin, within 0.05 % of the
// values counted there; values beyond the range count in its end bins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class SurfaceDistribution {
public:
    SurfaceDistribution(double lowest, double highest);

    void Add(double value);
    uint64_t Count() const { return count_; }

    // The value at rank (from 0, ascending); 0 when empty.
    double AtRank(uint64_t rank) const;
    // The middle value, the lower of the two middles for an even count.
    double Median() const;
    // The value that 99 % of the values reach (are at least).
    double OnePercentLow() const;

private:
    double lowest_;
    double logLowest_;
    size_t binCount_;
    std::vector<uint32_t> bins_;  // allocated at the first value
    uint64_t count_ = 0;
};

// Distributions of speeds in MB/s and of transfer times in nanoseconds.
SurfaceDistribution SpeedDistribution();
SurfaceDistribution TimeDistribution();
