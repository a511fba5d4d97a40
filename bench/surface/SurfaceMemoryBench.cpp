// The surface test's memory on a simulated 16 TiB drive with 1 MB transfers,
// reads and writes (16.7 million of each): the peak resident memory of the
// whole process against the 64 MB it may take, and the samples kept.
#include "engine/RunObserver.h"
#include "engine/RunPreparation.h"
#include "engine/SurfaceFakeDevice.h"
#include "engine/SurfaceTest.h"
#include "engine/TestRun.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {
long PeakResidentKib()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}
}  // namespace

int main()
{
    Run prepared;
    prepared.settings = {.kind = TestKind::Surface, .transferMegabytes = 1, .writes = true};
    prepared.target.sizeBytes = 16ull << 40;
    TestRun testRun(prepared);
    if (!testRun.buffer.Allocate(TransferBufferBytesFor(prepared.settings)))
        return 1;
    FakeSurfaceDevice device;
    device.writesFallAfterBytes = 1ull << 40;
    RunObserver observer;
    const long before = PeakResidentKib();
    const auto start = std::chrono::steady_clock::now();
    const RunEnd end = RunSurfaceTest(testRun, observer, device);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const SurfaceResult& s = testRun.run.surface;
    std::printf("16 TiB simulated, 1 MB transfers with writes: %s in %.1f s\n",
                end == RunEnd::Completed ? "completed" : "not completed", seconds);
    std::printf("samples kept: %zu of %llu transfers (limit %zu); writes fell off at %.1f GiB: %s\n",
                s.samples.size(), static_cast<unsigned long long>(device.transfers / 2), kSurfaceFullResolutionSamples,
                s.writeFalloff.atSector * 512.0 / (1ull << 30), s.writeFalloff.found ? "found" : "not found");
    std::printf("peak resident memory: %.1f MiB (%.1f MiB before the run; limit 64 MiB)\n", PeakResidentKib() / 1024.0,
                before / 1024.0);
    return PeakResidentKib() <= 64 * 1024 ? 0 : 1;
}
