#include "GraphFixture.h"

void GraphFixture::SetUp()
{
    ResetZoneTestResults();  // no host is installed: nothing is redrawn
    gCurrentSelectedTestType = 1;
    gZoneTestCountS32 = 1;
    gWriteTestEnabled = false;
    gDriveSectorsU64 = kDriveSectors;
    gMaxSpeed = 0.0;
    gBarGraphWidth = 15;
    ComputeGraphGeometry(kPane);
    context = GraphPaintContext{};
}

void GraphFixture::SetZone(int z, uint64_t firstSector, BarSpeeds speeds, bool read)
{
    ZoneResultsRec& rec = read ? gSavedREADResultsInfo[z] : gSavedWRITEResultsInfo[z];
    rec.firstSectorU64 = firstSector;
    rec.lastSectorU64 = firstSector + 2047;
    rec.cycleSpeedDbl[0] = speeds.max;
    rec.minSpeedDbl = speeds.min;
    rec.aveSpeedDbl = speeds.ave;
    rec.maxSpeedDbl = speeds.max;
    if (speeds.max > gMaxSpeed)
        gMaxSpeed = speeds.max;
}

void GraphFixture::SetEvenZones(int n, BarSpeeds speeds, bool writes)
{
    gZoneTestCountS32 = n;
    gBarGraphWidth = BarWidthForZoneCount(n);
    gWriteTestEnabled = writes;
    for (int z = 0; z < n; ++z) {
        const uint64_t first = kDriveSectors / static_cast<uint64_t>(n) * static_cast<uint64_t>(z);
        SetZone(z, first, speeds, true);
        if (writes)
            SetZone(z, first, speeds, false);
    }
}

void GraphFixture::Render()
{
    image = RenderGraphImage(context, &result);
}

QColor GraphFixture::At(int x, int y) const
{
    return image.pixelColor(x - gButtonPictRect.left, y - gButtonPictRect.top);
}
