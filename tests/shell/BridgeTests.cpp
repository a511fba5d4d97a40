// The worker's requests through the Qt host while the event loop runs, a Stop
// that comes while the worker waits for the interface, and the alerts.
#include <gtest/gtest.h>

#include "engine/StopRequest.h"
#include "shell/Alerts.h"
#include "shell/MainWindow.h"
#include "shell/QtInterfaceHost.h"
#include "shell/StringsTable.h"
#include "format/Localization.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <thread>

namespace {
void ProcessEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class Bridge : public ::testing::Test {
protected:
    void SetUp() override { SetInterfaceHost(&host); }
    void TearDown() override { SetInterfaceHost(nullptr); }
    // Sets the status line through the host, as a run's worker does.
    bool RequestStatusText(const char* text)
    {
        return host.CallOnInterfaceThread([this, text] { host.SetStatusText(5, text); }, stop);
    }
    MainWindow window;  // the program's, whose status line the worker's texts reach
    QLabel* label = window.ui.statusLine;
    int finished = 0;
    QtInterfaceHost host{[this] { ++finished; }};
    StopRequest stop;
};

// A Stop that does not release the worker fails here by its deadline.
TEST_F(Bridge, RequestsRunOnTheInterfaceThreadAndStopReleasesAWaitingWorker)
{
    std::atomic<bool> done{false};
    std::thread first([&] {
        RequestStatusText("Testing Zone 3");
        host.PostTestFinished();
        done = true;
    });
    ProcessEventsUntil([&] { return done.load() && finished == 1; });
    first.join();
    EXPECT_EQ(label->text(), "Testing Zone 3");
    EXPECT_EQ(finished, 1);

    for (int round = 0; round < 20 && !HasFailure(); ++round) {
        std::atomic<bool> served{true};
        std::atomic<bool> started{false}, returned{false};
        std::thread worker([&] {
            started = true;
            served = RequestStatusText("Testing Zone 4");
            returned = true;
        });
        while (!started) std::this_thread::yield();
        if (round % 2 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        // The interface thread stops without running its event loop: the worker
        // must come back all the same.
        stop.Request();
        host.ReleaseWaitingWorker();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!returned && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_TRUE(returned) << "the worker still waits, round " << round;
        // The abandoned request does nothing when it comes; a request still waiting is served.
        ProcessEventsUntil([&] { return returned.load(); });
        worker.join();
        EXPECT_FALSE(served.load()) << round;
        stop.Clear();
        QCoreApplication::processEvents();
    }
}

TEST(Alerts, TitlesByKindAndTextsFromTheStringsTable)
{
    const auto table = ParseStringsTable(
        "/* comment */\n\"TenTwoOrHigher\" = \"Needs a newer \\\"Linux\\\".\";\n\"bad line\" =\n\"a\"=\"b\";\n");
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table.at("TenTwoOrHigher"), "Needs a newer \"Linux\".");
    std::vector<AlertContent> shown;
    SetAlertPresenter([&](const AlertContent& content) { shown.push_back(content); });
    SetLocalizationLookup([](const char* key) -> const char* {
        return std::string(key) == "TenTwoOrHigher" ? "Needs a newer Linux." : nullptr;
    });
    DoStandardLocalizedAlert("TenTwoOrHigher", nullptr, kAlertStopAlert);
    DoStandardLocalizedAlert("Untranslated", " with a space", kAlertCautionAlert);
    for (const int16_t kind : {kAlertPlainAlert, int16_t(7), kAlertNoteAlert}) DoStandardLocalizedAlert("x", nullptr, kind);
    SetLocalizationLookup(nullptr);
    SetAlertPresenter(nullptr);

    QStringList texts;
    for (const AlertContent& alert : shown) texts << alert.title + ": " + alert.message + "|" + alert.explanation;
    EXPECT_EQ(texts, (QStringList{"Error: Needs a newer Linux.|", "Caution: Untranslated| with a space", "Message: x|",
                                  "Message: x|", "Note: x|"}));
}
}  // namespace
