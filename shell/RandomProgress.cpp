#include "shell/RandomProgress.h"

#include "shell/InterfaceHost.h"
#include "engine/TestRun.h"
#include "format/TimeText.h"
#include "shell/ResultPaneTexts.h"

#include <atomic>
#include <cstdio>

namespace {
void ShowBatchProgress(InterfaceHost& host, uint32_t count, double startTime, double now,
                       int32_t countText, int32_t bar, int32_t elapsedText)
{
    char text[256];
    std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(count));
    host.SetStatusText(countText, text);
    host.SetProgressBarValue(bar, ProgressBarValueForCount(count));
    FormatElapsedTime(ElapsedTimeUnitsFromSeconds(now - startTime), text);
    host.SetStatusText(elapsedText, text);
}
}  // namespace

void ShowRandomProgress(InterfaceHost& host, RunProgress& progress, double now)
{
    if (!progress.running.load())
        return;
    host.ShowWaitCursorFrame(progress.cursorFrame.fetch_add(1));
    if (const uint32_t reads = progress.randomReads.load(); reads != 0)
        ShowBatchProgress(host, reads, progress.readsStarted.load(), now, kReadCountText, kReadProgressBar,
                          kReadElapsedText);
    if (const uint32_t writes = progress.randomWrites.load(); writes != 0)
        ShowBatchProgress(host, writes, progress.writesStarted.load(), now, kWriteCountText, kWriteProgressBar,
                          kWriteElapsedText);
}
