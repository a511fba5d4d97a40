#include "engine/ProgressUpdate.h"

#include "engine/InterfaceHost.h"
#include "engine/TestModel.h"
#include "format/TimeText.h"

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
    FormatGregorianTimeString(GregorianUnitsFromSeconds(now - startTime), text);
    host.SetStatusText(elapsedText, text);
}
}  // namespace

void MyUpdateTimerCallback(double now)
{
    InterfaceHost* host = CurrentInterfaceHost();
    if (host == nullptr || !bTestRunning.load())
        return;
    host->ShowWaitCursorFrame(gAnimatedCursorIndexU32.fetch_add(1));
    if (const uint32_t reads = gReadCountIndexU32.load(); reads != 0)
        ShowBatchProgress(*host, reads, gRandomReadsStartTime.load(), now, kReadCountText,
                          kReadProgressBar, kReadElapsedText);
    if (const uint32_t writes = gWriteCountIndexU32.load(); writes != 0)
        ShowBatchProgress(*host, writes, gRandomWritesStartTime.load(), now, kWriteCountText,
                          kWriteProgressBar, kWriteElapsedText);
}
