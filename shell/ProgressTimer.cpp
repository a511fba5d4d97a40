#include "shell/ProgressTimer.h"

#include "engine/DeviceTransfers.h"
#include "engine/ProgressUpdate.h"

#include <QTimer>

#include <memory>

namespace {
std::unique_ptr<QTimer> gUpdateTestResultsTimer;
}  // namespace

void StartUpdateTimer()
{
    CancelUpdateTimer();
    gUpdateTestResultsTimer = std::make_unique<QTimer>();
    gUpdateTestResultsTimer->setInterval(kProgressIntervalMilliseconds);
    QObject::connect(gUpdateTestResultsTimer.get(), &QTimer::timeout, [] { MyUpdateTimerCallback(AbsoluteTimeNow()); });
    gUpdateTestResultsTimer->start();
    MyUpdateTimerCallback(AbsoluteTimeNow());  // the first firing is now
}

void CancelUpdateTimer()
{
    gUpdateTestResultsTimer.reset();
}

bool UpdateTimerRunning()
{
    return gUpdateTestResultsTimer != nullptr;
}
