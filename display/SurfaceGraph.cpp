#include "display/SurfaceGraph.h"

#include "display/EarlierRun.h"
#include "display/GraphColors.h"
#include "engine/SurfaceTest.h"
#include "format/ByteText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

// The transfers of one direction that fell into one pixel column.
struct Column {
    float low = std::numeric_limits<float>::max();
    float high = 0.0f;
    double weightedSum = 0.0;
    double weight = 0.0;

    bool Empty() const { return weight == 0.0; }
    double Average() const { return weightedSum / weight; }
    void Add(float minimum, float average, float maximum, double sectors)
    {
        low = std::min(low, minimum);
        high = std::max(high, maximum);
        weightedSum += average * sectors;
        weight += sectors;
    }
};

struct Direction {
    float SurfaceSample::*minimum;
    float SurfaceSample::*average;
    float SurfaceSample::*maximum;
};
constexpr Direction kReads{&SurfaceSample::readMinimum, &SurfaceSample::readAverage, &SurfaceSample::readMaximum};
constexpr Direction kWrites{&SurfaceSample::writeMinimum, &SurfaceSample::writeAverage, &SurfaceSample::writeMaximum};

// The chart's device pixel columns and how sectors map onto them.
struct ChartColumns {
    ChartColumns(const QImage& image, QPoint origin, uint64_t axisSectors)
        : device(image, origin),
          left(device.X(gGraphicChartRect.left)),
          count(std::max(device.X(gGraphicChartRect.right) - left, 1)),
          sectors(std::max<uint64_t>(axisSectors, 1))
    {
    }
    // The first column at or after a sector, 0 to count.
    int At(uint64_t sector) const
    {
        const long double place = static_cast<long double>(sector) * count / sectors;
        return static_cast<int>(std::min<long double>(place, count));
    }
    // The columns a range of sectors covers: at least one while it starts inside.
    std::pair<int, int> Covering(uint64_t first, uint64_t length) const
    {
        const int from = At(first);
        return {from, std::max(At(first + length), std::min(from + 1, count))};
    }

    DevicePixels device;
    int left;
    int count;
    uint64_t sectors;
};

std::vector<Column> Gather(const ChartColumns& columns, const std::vector<SurfaceSample>& samples, Direction d)
{
    std::vector<Column> gathered(static_cast<size_t>(columns.count));
    for (const SurfaceSample& sample : samples) {
        if (sample.*d.maximum <= 0.0f)
            continue;  // not measured in this direction
        const auto [from, to] = columns.Covering(sample.firstSector, sample.sectors);
        for (int c = from; c < to; ++c)
            gathered[static_cast<size_t>(c)].Add(sample.*d.minimum, sample.*d.average, sample.*d.maximum,
                                                 static_cast<double>(sample.sectors));
    }
    return gathered;
}

// Device rows of the chart and the row of a value on a scale of top.
struct ChartRows {
    ChartRows(const DevicePixels& device, double scaleTop)
        : device(device), top(scaleTop > 0.0 ? scaleTop : 1.0),
          first(device.Y(gGraphicChartRect.top)), last(device.Y(gGraphicChartRect.bottom) - 1)
    {
    }
    int Of(double value) const
    {
        const double full = 10.0 * gGridHeight;
        const double y = (gGraphicChartRect.bottom - full * value / top) * device.scale - device.originPixels.y();
        if (!(y >= first))  // also NaN
            return first;
        return std::min(static_cast<int>(std::lround(y)), last);
    }
    const DevicePixels& device;
    double top;
    int first;
    int last;
};

void FillColumn(QImage& image, int x, int y1, int y2, QRgb colour)
{
    FillDeviceArea(image, QRect(QPoint(x, std::min(y1, y2)), QPoint(x, std::max(y1, y2))), colour);
}

// Each column's range from its slowest to its fastest transfer.
void DrawSpeedBand(QImage& image, const ChartColumns& columns, const ChartRows& rows, const std::vector<Column>& gathered,
                   const QColor& band)
{
    for (int c = 0; c < columns.count; ++c) {
        const Column& column = gathered[static_cast<size_t>(c)];
        if (!column.Empty() && column.high > column.low)
            FillColumn(image, columns.left + c, rows.Of(column.low), rows.Of(column.high), band.rgb());
    }
}

// The average line, stepping from column to column.
void DrawSpeedLine(QImage& image, const ChartColumns& columns, const ChartRows& rows, const std::vector<Column>& gathered,
                   const QColor& line)
{
    int previous = -1;
    for (int c = 0; c < columns.count; ++c) {
        const Column& column = gathered[static_cast<size_t>(c)];
        if (column.Empty()) {
            previous = -1;
            continue;
        }
        const int y = rows.Of(column.Average());
        FillColumn(image, columns.left + c, previous < 0 ? y : previous, y, line.rgb());
        previous = y;
    }
}

void DrawTemperature(QImage& image, const ChartColumns& columns, const Run& run)
{
    const std::vector<TemperatureSample>& temperatures = run.surface.temperatures;
    if (temperatures.empty())
        return;
    const ChartRows rows(columns.device, SurfaceTemperatureTop(run));
    std::vector<double> hottest(static_cast<size_t>(columns.count), -1.0);
    for (const TemperatureSample& sample : temperatures) {
        const int c = std::min(columns.At(sample.sector), columns.count - 1);
        hottest[static_cast<size_t>(c)] = std::max(hottest[static_cast<size_t>(c)], sample.celsius);
    }
    // The line runs on level between samples a second apart, up to the last.
    const int last = columns.At(temperatures.back().sector);
    int previous = -1;
    for (int c = 0; c < columns.count && c <= last; ++c) {
        const double celsius = hottest[static_cast<size_t>(c)];
        if (celsius < 0.0 && previous < 0)
            continue;
        const int y = celsius < 0.0 ? previous : rows.Of(celsius);
        FillColumn(image, columns.left + c, previous < 0 ? y : previous, y, kTemperatureColor.rgb());
        previous = y;
    }
}

void DrawMarks(QImage& image, const ChartColumns& columns, const SurfaceResult& surface)
{
    const DevicePixels& device = columns.device;
    const int top = device.Y(gGraphicChartRect.top), bottom = device.Y(gGraphicChartRect.bottom) - 1;
    for (const SurfaceUnreadableRange& range : surface.unreadable) {
        const auto [from, to] = columns.Covering(range.firstSector, range.sectors);
        FillDeviceArea(image, QRect(QPoint(columns.left + from, top), QPoint(columns.left + to - 1, bottom)),
                       kUnreadableColor.rgb());
    }
    const int tickBottom = device.Y(gGraphicChartRect.top + kSlowBlockTickHeight) - 1;
    for (const SurfaceSlowBlock& block : surface.slowBlocks) {
        const auto [from, to] = columns.Covering(block.firstSector, block.sectors);
        FillDeviceArea(image, QRect(QPoint(columns.left + from, top), QPoint(columns.left + to - 1, tickBottom)),
                       kSlowBlockColor.rgb());
    }
}

bool EarlierSurfaceRun()
{
    return gEarlierRun.active && gEarlierRun.run.settings.kind == TestKind::Surface;
}

std::string SpeedText(const char* name, const Column& column)
{
    char text[128];
    if (column.high > column.low)
        std::snprintf(text, sizeof text, "\r%s: %.2f MB/sec (%.2f - %.2f)", name, column.Average(), column.low,
                      column.high);
    else
        std::snprintf(text, sizeof text, "\r%s: %.2f MB/sec", name, column.Average());
    return text;
}

// The transfers of samples within [first, end) in direction d.
Column GatherRange(const std::vector<SurfaceSample>& samples, uint64_t first, uint64_t end, Direction d)
{
    Column column;
    auto at = std::upper_bound(samples.begin(), samples.end(), first,
                               [](uint64_t sector, const SurfaceSample& s) { return sector < s.firstSector; });
    if (at != samples.begin())
        --at;
    for (; at != samples.end() && at->firstSector < end; ++at) {
        const SurfaceSample& s = *at;
        if (s.firstSector + s.sectors > first && s.*d.maximum > 0.0f)
            column.Add(s.*d.minimum, s.*d.average, s.*d.maximum, static_cast<double>(s.sectors));
    }
    return column;
}

}  // namespace

double SurfaceHighestSpeed(const Run& run)
{
    float highest = 0.0f;
    for (const SurfaceSample& sample : run.surface.samples)
        highest = std::max({highest, sample.readMaximum, sample.writeMaximum});
    return highest;
}

uint64_t SurfaceAxisSectors(const Run& run)
{
    const SurfaceResult& surface = run.surface;
    if (surface.timeLimitReached && surface.coveredSectors != 0)
        return surface.coveredSectors;
    // Before its first transfer a run has no span of its own yet: its settings tell it.
    return surface.spanSectors != 0 ? surface.spanSectors : SurfaceSpanSectors(run.settings, run.target);
}

uint32_t SurfaceScaleTop(const Run& run)
{
    double highest = SurfaceHighestSpeed(run);
    if (EarlierSurfaceRun())
        highest = std::max(highest, SurfaceHighestSpeed(gEarlierRun.run));
    return std::max<uint32_t>(GraphScaleTop(highest), 1);
}

int SurfaceTemperatureTop(const Run& run)
{
    return std::max(100, static_cast<int>(std::ceil(run.surface.maximumCelsius / 10.0)) * 10);
}

bool DrawSurfaceGraph(QImage& image, QPoint origin, const Run& run, uint32_t scaleTop, const GraphPaintContext& context)
{
    const ChartColumns columns(image, origin, SurfaceAxisSectors(run));
    const ChartRows rows(columns.device, scaleTop);
    // Thin lines on a dark backdrop take the light colours of the bars.
    const bool darkBackdrop = context.chrome.For(context.windowActive).backdropFace.lightness() < 96;
    const bool strong = context.windowActive && !darkBackdrop;
    const QColor face = context.chrome.For(context.windowActive).backdropFace;
    if (EarlierSurfaceRun()) {
        const QColor faint = Mix(kEarlierRunColor, face, 0.55);
        const std::vector<SurfaceSample>& earlier = gEarlierRun.run.surface.samples;
        DrawSpeedLine(image, columns, rows, Gather(columns, earlier, kReads), faint);
        if (gEarlierRun.run.settings.writes)
            DrawSpeedLine(image, columns, rows, Gather(columns, earlier, kWrites), faint);
    }
    const QColor readLine = strong ? myGreenColor : myLtGreenColor;
    const QColor writeLine = strong ? myRedColor : myLtRedColor;
    const QColor readBand = Mix(readLine, face, 0.6), writeBand = Mix(writeLine, face, 0.6);
    // Samples not measured in a direction add nothing to its columns. Both
    // bands lie under both lines, so neither line hides in the other's band.
    const std::vector<Column> reads = Gather(columns, run.surface.samples, kReads);
    const std::vector<Column> writes = Gather(columns, run.surface.samples, kWrites);
    DrawSpeedBand(image, columns, rows, reads, readBand);
    DrawSpeedBand(image, columns, rows, writes, writeBand);
    DrawSpeedLine(image, columns, rows, reads, readLine);
    DrawSpeedLine(image, columns, rows, writes, writeLine);
    DrawTemperature(image, columns, run);
    DrawMarks(image, columns, run.surface);
    if (!context.overlay.enabled || run.surface.samples.empty())
        return false;
    return DrawOverlay(image, origin, run, scaleTop, context);
}

std::string SurfaceHelpTag(const Run& run, int windowX, int windowY)
{
    const Rect& chart = gGraphicChartRect;
    if (!PointInRect(windowX, windowY, chart) || run.surface.samples.empty())
        return {};
    const uint64_t axis = SurfaceAxisSectors(run);
    const int width = std::max<int>(RectWidth(chart), 1);
    const auto sectorAt = [&](int x) {
        return static_cast<uint64_t>(static_cast<long double>(axis) * (x - chart.left) / width);
    };
    const uint64_t first = sectorAt(windowX), end = std::max(sectorAt(windowX + 1), first + 1);
    const std::vector<SurfaceSample>& samples = run.surface.samples;
    const Column reads = GatherRange(samples, first, end, kReads);
    if (reads.Empty())
        return {};
    char position[64];
    FormatGigabytes(static_cast<int64_t>(first * 512), position);
    std::string tag = std::string("Position: ") + position + " GB";
    tag += SpeedText("Read", reads);
    const Column writes = GatherRange(samples, first, end, kWrites);
    if (!writes.Empty())
        tag += SpeedText("Write", writes);
    const std::vector<TemperatureSample>& temperatures = run.surface.temperatures;
    if (!temperatures.empty()) {
        const auto nearest = std::min_element(temperatures.begin(), temperatures.end(),
                                              [first](const TemperatureSample& a, const TemperatureSample& b) {
                                                  const auto distance = [first](uint64_t s) {
                                                      return s > first ? s - first : first - s;
                                                  };
                                                  return distance(a.sector) < distance(b.sector);
                                              });
        char text[48];
        std::snprintf(text, sizeof text, "\rTemperature: %.0f \u00b0C", nearest->celsius);
        tag += text;
    }
    if (EarlierSurfaceRun()) {
        const Column earlier = GatherRange(gEarlierRun.run.surface.samples, first, end, kReads);
        if (!earlier.Empty())
            tag += SpeedText("Earlier Read", earlier);
        const Column earlierWrites = GatherRange(gEarlierRun.run.surface.samples, first, end, kWrites);
        if (!earlierWrites.Empty())
            tag += SpeedText("Earlier Write", earlierWrites);
    }
    return tag;
}
