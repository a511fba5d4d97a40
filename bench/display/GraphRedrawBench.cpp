// How long a full redraw of the bar graph takes, compared with a 60 Hz frame:
// a running test redraws after every timed transfer, on the interface thread,
// while the worker waits. Prints ratios; nothing here passes or fails.
#include "display/GraphImage.h"
#include "display/GraphRenderer.h"
#include "display/GraphView.h"

#include <QApplication>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>

namespace {

std::atomic<long> gAllocations{0};

constexpr Rect kWindowGraphPane{100, 40, 416, 686};  // chart 630 x 300, as in the window
constexpr double kFrameMs = 1000.0 / 60.0;

Run FilledRun(int zones, bool writes)
{
    Run run;
    run.target.sizeBytes = 1ull << 40;
    run.settings = {.zones = zones, .writes = writes};
    run.end = RunEnd::Completed;
    run.zones.resize(static_cast<size_t>(zones));
    for (int z = 0; z < zones; ++z) {
        ZoneResult& zone = run.zones[static_cast<size_t>(z)];
        zone.firstSector = run.target.Sectors() / uint64_t(zones) * uint64_t(z);
        for (ZoneSpeeds* speeds : {&zone.read, &zone.write}) {
            speeds->minimum = 80.0 - z * 0.5;
            speeds->average = 95.0 - z * 0.5;
            speeds->maximum = 110.0 - z * 0.5;
            speeds->cycles[0] = speeds->maximum;
        }
    }
    run.maxSpeed = 110.0;
    return run;
}

// A surface run of a 16 TB drive folded to 100,000 samples, with writes
// that fall to a third after the first quarter, and a temperature a second.
Run SurfaceRun()
{
    Run run;
    run.target.sizeBytes = 16ull << 40;
    run.settings = {.kind = TestKind::Surface, .transferMegabytes = 8, .writes = true};
    run.end = RunEnd::Completed;
    SurfaceResult& surface = run.surface;
    surface.spanSectors = surface.coveredSectors = run.target.Sectors();
    const uint64_t step = surface.spanSectors / kSurfaceFullResolutionSamples;
    for (uint64_t i = 0; i < kSurfaceFullResolutionSamples; ++i) {
        const float read = 250.0f - 120.0f * i / kSurfaceFullResolutionSamples + (i * 7919 % 13);
        const float write = i < kSurfaceFullResolutionSamples / 4 ? read : read / 3;
        surface.samples.push_back({i * step, step, 64, read - 30, read, read + 12, write - 25, write, write + 9});
    }
    for (int second = 0; second < 60000; ++second)
        surface.temperatures.push_back({double(second), surface.spanSectors / 60000 * second, 38.0 + second / 3000.0});
    surface.maximumCelsius = 58.0;
    surface.slowBlocks = {{surface.spanSectors / 3, step, 900.0, false}};
    surface.unreadable = {{surface.spanSectors / 2, 8, 5, "Input/output error"}};
    return run;
}

struct Timing {
    double msPerRedraw;
    double allocationsPerRedraw;
};

Timing Time(const std::function<void()>& redraw, int rounds)
{
    redraw();  // warm: brushes and the image exist from the first redraw on
    const long allocationsBefore = gAllocations.load();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        redraw();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return {elapsed.count() / rounds, double(gAllocations.load() - allocationsBefore) / rounds};
}

// One row of the table: the time, its share of a frame, against the empty graph, and the allocations.
void PrintRow(const char* name, const Timing& t, double emptyMs)
{
    std::printf("%-42s %10.4f %12.4f %12.2f %10.1f\n", name, t.msPerRedraw, t.msPerRedraw / kFrameMs,
                t.msPerRedraw / emptyMs, t.allocationsPerRedraw);
}

}  // namespace

void* operator new(std::size_t size)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ComputeGraphGeometry(kWindowGraphPane);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 400;

    QImage image(gButtonPictRect.right - gButtonPictRect.left,
                 gButtonPictRect.bottom - gButtonPictRect.top, QImage::Format_RGB32);
    const QPoint origin(gButtonPictRect.left, gButtonPictRect.top);
    GraphPaintResult result;
    struct Case { const char* name; int zones; bool writes; bool active; bool overlay; };
    const Case cases[] = {
        {"no measured zone", 0, false, true, false},
        {"1 zone, reads", 1, false, true, false},
        {"50 zones, reads", 50, false, true, false},
        {"50 zones, reads+writes", 50, true, true, false},
        {"50 zones, reads+writes, overlay band", 50, true, true, true},
        {"50 zones, reads+writes, inactive window", 50, true, false, true},
    };
    std::printf("Graph redraw, chart 630 x 300 pixels, %d rounds each\n", rounds);
    std::printf("%-42s %10s %12s %12s %10s\n", "case", "ms/redraw", "of a frame", "vs empty", "news");
    double emptyMs = 0.0;
    for (const Case& c : cases) {
        const Run run = FilledRun(c.zones, c.writes);
        GraphPaintContext context;
        context.windowActive = c.active;
        context.overlay = OverlayInputs{c.overlay, 90.0, 5};
        const Timing t = Time([&] { PaintGraph(image, origin, run, context, result); }, rounds);
        if (emptyMs == 0.0)
            emptyMs = t.msPerRedraw;
        PrintRow(c.name, t, emptyMs);
    }

    // The widget's path: paint into its image and schedule the paint event.
    QWidget window;
    window.resize(760, 460);
    GraphView view(&window);
    window.show();
    const Run run = FilledRun(50, true);
    const Timing widget = Time([&] { view.Redraw(run); }, rounds);
    const Timing shown = Time([&] { view.Redraw(run); view.repaint(); }, rounds / 4 + 1);
    PrintRow("GraphView::Redraw, 50 zones + writes", widget, emptyMs);
    PrintRow("  ... and painted on screen at once", shown, emptyMs);

    // The surface test's line graph: drawing follows the chart's width, not the samples'.
    const Run surface = SurfaceRun();
    const Timing line = Time([&] { PaintGraph(image, origin, surface, GraphPaintContext{}, result); }, rounds / 10 + 1);
    PrintRow("surface, 100,000 folded samples + writes", line, emptyMs);
    const Timing lineView = Time([&] { view.Redraw(surface); view.repaint(); }, rounds / 10 + 1);
    PrintRow("  ... GraphView::Redraw, painted at once", lineView, emptyMs);
    if (argc > 2) {  // pictures to look at: the window's graph and kestrelia-cli --graph's
        view.grab().save(QString::fromLocal8Bit(argv[2]) + "-window.png");
        RenderResultGraphImage(surface, GraphImageOptions{"Surface Test", "16 TB, 8 MB transfers", {true, 120.0, 3}})
            .save(QString::fromLocal8Bit(argv[2]) + "-picture.png");
    }
    return 0;
}
