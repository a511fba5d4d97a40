#include "shell/QtInterfaceHost.h"

#include "display/ResultPanes.h"
#include "display/SurfaceSummary.h"
#include "engine/Run.h"
#include "engine/StopRequest.h"
#include "shell/Alerts.h"
#include "shell/MainWindow.h"
#include "shell/ResultPaneTexts.h"

#include <QApplication>
#include <QThread>

struct QtInterfaceHost::Request {
    std::function<void()> call;
    bool done = false;
    bool abandoned = false;
};

QtInterfaceHost::QtInterfaceHost(std::function<void()> onTestFinished, std::function<void()> onTestStopped)
    : onTestFinished_(std::move(onTestFinished)), onTestStopped_(std::move(onTestStopped))
{
}

bool QtInterfaceHost::CallOnInterfaceThread(const std::function<void()>& call, const StopRequest& stop)
{
    if (OnInterfaceThread()) {
        call();
        return true;
    }
    auto request = std::make_shared<Request>();
    request->call = call;
    std::unique_lock lock(mutex_);
    // Checked under the lock that ReleaseWaitingWorker takes, so a stop either
    // finds this request waiting or is seen here.
    if (stop.Requested())
        return false;
    pending_ = request;
    QMetaObject::invokeMethod(
        qApp,
        [this, request] {
            {
                const std::lock_guard guard(mutex_);
                if (request->abandoned)
                    return;
            }
            request->call();
            const std::lock_guard guard(mutex_);
            request->done = true;
            served_.notify_all();
        },
        Qt::QueuedConnection);
    served_.wait(lock, [&] { return request->done || request->abandoned; });
    pending_.reset();
    return request->done;
}

void QtInterfaceHost::ReleaseWaitingWorker()
{
    const std::lock_guard lock(mutex_);
    if (pending_ && !pending_->done) {
        pending_->abandoned = true;
        served_.notify_all();
    }
}

void QtInterfaceHost::PostTestFinished()
{
    QMetaObject::invokeMethod(
        qApp, [this] {
            if (onTestFinished_)
                onTestFinished_();
        },
        Qt::QueuedConnection);
}

void QtInterfaceHost::PostTestStopped()
{
    QMetaObject::invokeMethod(
        qApp, [this] {
            if (onTestStopped_)
                onTestStopped_();
        },
        Qt::QueuedConnection);
}

bool QtInterfaceHost::OnInterfaceThread() const
{
    return qApp != nullptr && QThread::currentThread() == qApp->thread();
}

void QtInterfaceHost::SetStaticText(int32_t controlId, const char* text)
{
    if (text != nullptr)
        SetNumberedText(controlId, QString::fromUtf8(text));
}

void QtInterfaceHost::SetProgressBarValue(int32_t controlId, int32_t value)
{
    if (MainWindow* window = TheMainWindow())
        if (QProgressBar* bar = window->NumberedProgressBar(controlId))
            bar->setValue(value);
}

void QtInterfaceHost::DrawTestResults()
{
    ::DrawTestResults();
}

void QtInterfaceHost::ShowSurfaceProgress(const Run& run, double elapsedSeconds)
{
    SetStatusText(kStatusText, SurfaceProgressText(run, elapsedSeconds).toUtf8().constData());
}

void QtInterfaceHost::ShowAlert(int16_t alertType, const char* message)
{
    DoStandardLocalizedAlert(message, nullptr, alertType);
}

void QtInterfaceHost::ShowWaitCursorFrame(uint32_t /*frame*/)
{
    // Called from the worker as well: the cursor changes on the interface thread, once per test.
    if (waitCursorShown_.exchange(true))
        return;
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::setOverrideCursor(Qt::BusyCursor); }, Qt::QueuedConnection);
}

void QtInterfaceHost::ShowArrowCursor()
{
    waitCursorShown_ = false;
    auto restore = [] {
        while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    };
    if (OnInterfaceThread())
        restore();
    QMetaObject::invokeMethod(qApp, restore, Qt::QueuedConnection);  // after a queued busy cursor
}
