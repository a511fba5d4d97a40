#include "shell/WindowRunPresenter.h"

#include "engine/TestRun.h"
#include "engine/ZoneTests.h"
#include "format/Localization.h"
#include "shell/ResultPaneTexts.h"

#include <ctime>
#include <string>

namespace {
struct RandomPaneTexts {
    int32_t speed, unit, rate, time;
};

void ShowRandomSpeed(InterfaceHost& host, double speed, const RandomPaneTexts& ids)
{
    const RandomSpeedTexts texts = FormatRandomSpeed(speed);
    host.SetStatusText(ids.speed, texts.value);
    host.SetStatusText(ids.unit, LocalizedText(texts.unit).c_str());
    host.SetStatusText(ids.rate, texts.perSecond);
    host.SetStatusText(ids.time, LocalizedText("%1 per transfer", texts.perTransfer).c_str());
}
}  // namespace

void WindowRunPresenter::OnInterfaceThread(const TestRun& testRun, const std::function<void()>& call)
{
    if (host_.OnInterfaceThread())
        call();
    else
        host_.CallOnInterfaceThread(call, testRun.stop);
}

void WindowRunPresenter::Started(const TestRun& testRun)
{
    const Run& run = testRun.run;
    host_.ShowWaitCursorFrame(0);
    if (run.settings.kind != TestKind::Random) {
        OnInterfaceThread(testRun, [this] { host_.DrawTestResults(); });
        return;
    }
    std::string depthText = LocalizedText("Queue depth: %1", std::to_string(run.random.queueDepth));
    if (run.random.queueDepth < run.settings.queueDepth)
        depthText += " " + LocalizedText("(%1 asked; the device's limit)", std::to_string(run.settings.queueDepth));
    OnInterfaceThread(testRun, [this, depthText] {
        host_.SetStatusText(kReadSpeedText, " ");
        host_.SetStatusText(kWriteSpeedText, " ");
        host_.SetStatusText(kQueueDepthText, depthText.c_str());
    });
}

void WindowRunPresenter::PhaseStarted(const TestRun& testRun, RunPhase phase, int32_t cycle)
{
    const std::string text = RunPhaseStatusText(phase, cycle, testRun.run.settings.cycles);
    OnInterfaceThread(testRun, [this, text] { host_.SetStatusText(kStatusText, text.c_str()); });
}

void WindowRunPresenter::ZoneMeasured(const TestRun& testRun, int32_t, TransferPhase)
{
    OnInterfaceThread(testRun, [this] { host_.DrawTestResults(); });
}

void WindowRunPresenter::RandomMeasured(const TestRun& testRun, TransferPhase direction)
{
    const RandomResult& random = testRun.run.random;
    OnInterfaceThread(testRun, [this, &random, direction] {
        if (direction == TransferPhase::Write)
            ShowRandomSpeed(host_, random.writeSpeed, {kWriteSpeedText, kWriteUnitText, kWriteRateText, kWriteTimeText});
        else
            ShowRandomSpeed(host_, random.readSpeed, {kReadSpeedText, kReadUnitText, kReadRateText, kReadTimeText});
    });
}

void WindowRunPresenter::Progress(const TestRun& testRun)
{
    host_.ShowWaitCursorFrame(testRun.progress.cursorFrame.load(std::memory_order_relaxed));
}

void WindowRunPresenter::SurfaceMeasured(const TestRun& testRun)
{
    // A few times a second: the graph drawn anew costs little beside the transfers.
    const Run& run = testRun.run;
    const double elapsed = run.started != 0 ? std::difftime(std::time(nullptr), run.started) : 0.0;
    OnInterfaceThread(testRun, [this, &run, elapsed] {
        host_.DrawTestResults();
        host_.ShowSurfaceProgress(run, elapsed);
    });
}

void WindowRunPresenter::Finished(const TestRun&)
{
    host_.PostTestFinished();
}

void WindowRunPresenter::Failed(const TestRun& testRun)
{
    const RunFailure failure = testRun.run.failure.value_or(RunFailure{});
    // A failed transfer of the standard test has its alert; the random test's
    // end silently. Someone else using the drive is always told.
    const bool alert = failure.errorNumber == 0 || testRun.run.settings.kind == TestKind::Standard;
    if (failure.errorNumber != 0 && alert)
        host_.ShowArrowCursor();
    OnInterfaceThread(testRun, [this, failure, alert] {
        if (alert)
            host_.ShowAlert(0, failure.message.c_str());
    });
    host_.PostTestFinished();
}

void WindowRunPresenter::Stopped(const TestRun&)
{
    host_.PostTestStopped();
}
