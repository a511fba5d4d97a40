#include "cli/DrivesProgress.h"

#include "engine/TestRun.h"

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

std::string DriveProgressText(const std::string& name, const TestRun& testRun, bool ended)
{
    if (ended)
        return name + " done";
    const RunSettings& settings = testRun.run.settings;
    if (settings.kind == TestKind::Random) {
        const uint32_t writes = testRun.progress.randomWrites.load();
        return name + (writes != 0 ? " w " + std::to_string(writes)
                                   : " r " + std::to_string(testRun.progress.randomReads.load()));
    }
    const TransferPosition& position = testRun.progress.position;
    const int32_t zone = position.zone.load();
    if (settings.kind != TestKind::Standard || zone < 0)
        return name + " ...";
    std::string text = name + " " + std::to_string(zone + 1) + "/" + std::to_string(settings.zones);
    if (const int32_t cycle = position.cycle.load(); settings.cycles > 1 && cycle >= 0)
        text += " c" + std::to_string(cycle + 1) + "/" + std::to_string(settings.cycles);
    return text;
}

void ShowProgressLine(std::string line)
{
    winsize size {};
    const std::size_t columns = ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1 ? size.ws_col : 80;
    if (line.size() >= columns)  // a wrapped line could not be overwritten
        line.resize(columns - 1);
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
}

void ClearProgressLine()
{
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
}
