// An empty run of one zone on a drive of a million sectors and a 380 x 180
// pixel chart for each display test, with helpers that fill the run's zones
// and read rendered pixels in window coordinates.
#pragma once

#include "display/GraphRenderer.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

struct BarSpeeds {
    double min;
    double ave;
    double max;
};

class GraphFixture : public ::testing::Test {
public:
    // Chart {108, 58, 288, 438}: 380 x 180 pixels, grid cells 38 x 18.
    static constexpr Rect kPane{100, 50, 296, 446};
    static constexpr uint64_t kDriveSectors = 1000000;

protected:
    void SetUp() override;

    // Fills zone z's read (or write) speeds; the zone becomes measured.
    void SetZone(int z, uint64_t firstSector, BarSpeeds speeds, bool read = true);
    // n zones spread evenly over the drive with the same speeds.
    void SetEvenZones(int n, BarSpeeds speeds, bool writes);

    void Render();
    // The rendered colour at a window point.
    QColor At(int x, int y) const;

    ::Run shown;  // the run drawn
    GraphPaintContext context;
    GraphPaintResult result;
    QImage image;
};

// Colours compare as their 8-bit RGB names ("#ff0000").
inline std::string Hex(const QColor& colour)
{
    return colour.name().toStdString();
}
