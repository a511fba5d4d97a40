#include "engine/SurfaceDistribution.h"

#include <algorithm>
#include <cmath>

namespace {
const double kLogBinWidth = std::log(1.001);
}

SurfaceDistribution::SurfaceDistribution(double lowest, double highest)
    : lowest_(lowest), logLowest_(std::log(lowest)),
      binCount_(static_cast<size_t>(std::ceil((std::log(highest) - std::log(lowest)) / kLogBinWidth)) + 1)
{
}

void SurfaceDistribution::Add(double value)
{
    if (bins_.empty())
        bins_.assign(binCount_, 0);
    size_t bin = 0;
    if (value > lowest_)
        bin = std::min(binCount_ - 1, static_cast<size_t>((std::log(value) - logLowest_) / kLogBinWidth));
    ++bins_[bin];
    ++count_;
}

double SurfaceDistribution::AtRank(uint64_t rank) const
{
    if (count_ == 0)
        return 0.0;
    rank = std::min(rank, count_ - 1);
    uint64_t below = 0;
    for (size_t bin = 0; bin < bins_.size(); ++bin) {
        below += bins_[bin];
        if (below > rank)
            return std::exp(logLowest_ + (static_cast<double>(bin) + 0.5) * kLogBinWidth);
    }
    return 0.0;
}

double SurfaceDistribution::Median() const
{
    return count_ == 0 ? 0.0 : AtRank((count_ - 1) / 2);
}

double SurfaceDistribution::OnePercentLow() const
{
    // The highest value v with at least 99 % of the values ≥ v: ranks from
    // n − ⌈0.99 n⌉ upward are at least 99 % of n.
    const uint64_t reaching = (count_ * 99 + 99) / 100;
    return AtRank(count_ - reaching);
}

SurfaceDistribution SpeedDistribution()
{
    return SurfaceDistribution(1e-4, 1e7);  // 100 bytes to 10 TB per second
}

SurfaceDistribution TimeDistribution()
{
    return SurfaceDistribution(1e2, 1e13);  // 100 ns to nearly three hours
}
