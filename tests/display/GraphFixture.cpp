#include "GraphFixture.h"

void GraphFixture::SetUp()
{
    shown = ::Run{};
    shown.target.sizeBytes = kDriveSectors * 512;
    shown.end = RunEnd::Completed;
    shown.zones.resize(1);
    ComputeGraphGeometry(kPane);
    context = GraphPaintContext{};
}

void GraphFixture::SetZone(int z, uint64_t firstSector, BarSpeeds speeds, bool read)
{
    ZoneResult& zone = shown.zones[static_cast<size_t>(z)];
    zone.firstSector = firstSector;
    zone.lastSector = firstSector + 2047;
    (read ? zone.read : zone.write) = {{speeds.max}, speeds.ave, speeds.min, speeds.max};
    if (speeds.max > shown.maxSpeed)
        shown.maxSpeed = speeds.max;
}

void GraphFixture::SetEvenZones(int n, BarSpeeds speeds, bool writes)
{
    shown.settings.zones = n;
    shown.settings.writes = writes;
    shown.zones.resize(static_cast<size_t>(n));
    for (int z = 0; z < n; ++z) {
        const uint64_t first = kDriveSectors / static_cast<uint64_t>(n) * static_cast<uint64_t>(z);
        SetZone(z, first, speeds, true);
        if (writes)
            SetZone(z, first, speeds, false);
    }
}

void GraphFixture::Render()
{
    image = RenderGraphImage(shown, context, &result);
}

QColor GraphFixture::At(int x, int y) const
{
    return image.pixelColor(x - gButtonPictRect.left, y - gButtonPictRect.top);
}
