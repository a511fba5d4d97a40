#include "shell/ResultPaneTexts.h"

#include "shell/InterfaceHost.h"

void ResetZoneTestResults()
{
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->DrawTestResults();
}

void ResetRandomTestResults()
{
    InterfaceHost* host = CurrentInterfaceHost();
    if (host == nullptr)
        return;
    host->SetProgressBarValue(kReadProgressBar, 0);
    host->SetProgressBarValue(kWriteProgressBar, 0);
    for (int32_t id : {kReadCountText, kWriteCountText, kReadElapsedText, kWriteElapsedText,
                       kReadUnitText, kWriteUnitText, kReadRateText, kWriteRateText,
                       kQueueDepthText, kReadTimeText, kWriteTimeText})
        host->SetStatusText(id, "");
}
