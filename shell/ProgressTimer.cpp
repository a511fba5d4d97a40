#include "shell/ProgressTimer.h"

#include "engine/DeviceTransfers.h"
#include "shell/InterfaceHost.h"
#include "shell/RandomProgress.h"
#include "engine/TestRun.h"

#include <QTimer>

#include <memory>

namespace {
std::unique_ptr<QTimer> gUpdateTestResultsTimer;
}  // namespace

void StartUpdateTimer(RunProgress& progress)
{
    CancelUpdateTimer();
    const auto show = [&progress] {
        if (InterfaceHost* host = CurrentInterfaceHost())
            ShowRandomProgress(*host, progress, WallClockSeconds());
    };
    gUpdateTestResultsTimer = std::make_unique<QTimer>();
    gUpdateTestResultsTimer->setInterval(kProgressIntervalMilliseconds);
    QObject::connect(gUpdateTestResultsTimer.get(), &QTimer::timeout, show);
    gUpdateTestResultsTimer->start();
    show();  // the first firing is now
}

void CancelUpdateTimer()
{
    gUpdateTestResultsTimer.reset();
}

bool UpdateTimerRunning()
{
    return gUpdateTestResultsTimer != nullptr;
}
