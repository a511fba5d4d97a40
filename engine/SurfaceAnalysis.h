// What a surface run finds in its transfers, worked out as they come, in
// memory that does not grow with the drive: per direction the average
// (bytes over time), minimum, 1 % low and time; the slow blocks (more than
// ten times the median transfer time); where sustained writes fall off; and
// whether the speed dropped while the drive was at its hottest.
#pragma once

#include "engine/Run.h"
#include "engine/SurfaceDistribution.h"

#include <cstdint>
#include <vector>

// One direction's transfers.
class SurfaceDirectionFigures {
public:
    SurfaceDirectionFigures();

    void Add(uint64_t firstSector, uint64_t sectors, uint64_t nanoseconds);
    SurfaceSpeedFigures Figures() const;
    // Transfers that took more than ten times the median time, in order of
    // position; of more than kSurfaceFullResolutionSamples, the slowest.
    std::vector<SurfaceSlowBlock> SlowBlocks(bool write) const;

private:
    struct Transfer {
        uint64_t firstSector;
        uint64_t sectors;
        uint64_t nanoseconds;
    };

    uint64_t bytes_ = 0;
    uint64_t nanoseconds_ = 0;
    double minimum_ = 0.0;
    SurfaceDistribution speeds_;
    SurfaceDistribution times_;
    // The slowest transfers, a heap with the quickest of them on top; judged
    // against the median at the end.
    std::vector<Transfer> slowest_;
};

// The write speed drops below 60 % of the median of the first 5 % of the
// span and stays below for at least 2 % of the span: it fell where that
// stretch began, and the speed after is the median from there on.
class WriteFalloffFinder {
public:
    explicit WriteFalloffFinder(uint64_t spanSectors);

    void Add(uint64_t firstSector, uint64_t sectors, double speed);
    SurfaceWriteFalloff Result() const;

private:
    const uint64_t baselineEnd_;   // the first 5 %
    const uint64_t stretchNeeded_; // 2 %
    SurfaceDistribution baseline_;
    double threshold_ = 0.0;       // set once the first 5 % are in
    uint64_t stretchStart_ = 0;
    bool inStretch_ = false;
    bool found_ = false;
    SurfaceDistribution after_;
};

// The temperature rose by 5 °C or more, and where it was within 1 °C of its
// highest, a sample's read or write speed was below 70 % of that
// direction's average.
bool PossibleThrottling(const std::vector<TemperatureSample>& temperatures, const std::vector<SurfaceSample>& samples,
                        const SurfaceSpeedFigures& read, const SurfaceSpeedFigures& write);

// Both directions, the fall-off and the temperatures, into a result.
class SurfaceAnalysis {
public:
    explicit SurfaceAnalysis(uint64_t spanSectors) : falloff_(spanSectors) {}

    void AddRead(uint64_t firstSector, uint64_t sectors, uint64_t nanoseconds);
    void AddWrite(uint64_t firstSector, uint64_t sectors, uint64_t nanoseconds);
    // Fills the figures, slow blocks, fall-off, maximum temperature and
    // throttling of result (its samples and temperatures already in).
    void Finish(SurfaceResult& result, bool writes) const;

private:
    SurfaceDirectionFigures reads_;
    SurfaceDirectionFigures writes_;
    WriteFalloffFinder falloff_;
};

// A transfer's speed in MB/s, as every speed of the program.
double SurfaceTransferSpeed(uint64_t sectors, uint64_t nanoseconds);
