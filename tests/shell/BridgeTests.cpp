// The worker's requests through the Qt host while the event loop runs, and a
// Stop that comes while the worker waits for the interface.
#include <gtest/gtest.h>

#include "engine/StopRequest.h"
#include "engine/WorkerBridge.h"
#include "shell/Alerts.h"
#include "shell/QtInterfaceHost.h"
#include "shell/StringsTable.h"
#include "format/Localization.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QThread>

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
    void SetUp() override
    {
        label = new QLabel(&window);  // owned by the window
        label->setProperty("controlSignature", "stxt");
        label->setProperty("controlId", 5);
        gMainWindowRef = &window;
        SetInterfaceHost(&host);
        ClearTestStopRequest();
    }
    void TearDown() override
    {
        SetInterfaceHost(nullptr);
        gMainWindowRef = nullptr;
        ClearTestStopRequest();
    }
    QWidget window;
    QLabel* label = nullptr;
    int finished = 0;
    QtInterfaceHost host{[this] { ++finished; }};
};

TEST_F(Bridge, WorkerRequestsRunOnTheInterfaceThread)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        RequestStatusText(5, "Testing Zone 3");
        host.PostTestFinished();
        done = true;
    });
    ProcessEventsUntil([&] { return done.load() && finished == 1; });
    worker.join();
    EXPECT_EQ(label->text(), "Testing Zone 3");
    EXPECT_EQ(finished, 1);
}

TEST_F(Bridge, StopReleasesAWorkerWaitingForTheInterface)
{
    for (int round = 0; round < 20; ++round) {
        std::atomic<int32_t> status{1};
        std::atomic<bool> started{false};
        std::thread worker([&] {
            started = true;
            status = MPRemoteCall(RemoteSetStatTextControlWCStr, &gMPControlInfo);
        });
        while (!started) std::this_thread::yield();
        if (round % 2 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        // The interface thread stops without running its event loop: the worker
        // must come back all the same.
        RequestTestStop();
        host.ReleaseWaitingWorker();
        worker.join();
        EXPECT_EQ(status.load(), kRemoteCallAbandoned) << round;
        ClearTestStopRequest();
        QCoreApplication::processEvents();  // the abandoned request does nothing when it comes
    }
}

TEST(Alerts, TitlesByKindAndTextsFromTheStringsTable)
{
    std::vector<AlertContent> shown;
    SetAlertPresenter([&](const AlertContent& content) { shown.push_back(content); });
    const auto table = ParseStringsTable(
        "/* comment */\n\"TenTwoOrHigher\" = \"Needs a newer \\\"Linux\\\".\";\n\"bad line\" =\n\"a\"=\"b\";\n");
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table.at("TenTwoOrHigher"), "Needs a newer \"Linux\".");
    SetLocalizationLookup([](const char* key) -> const char* {
        return std::string(key) == "TenTwoOrHigher" ? "Needs a newer Linux." : nullptr;
    });

    DoStandardLocalizedAlert("TenTwoOrHigher", nullptr, 0);
    DoStandardLocalizedAlert("Untranslated", " with a space", 2);
    DoStandardLocalizedAlert("x", nullptr, 3);
    DoStandardLocalizedAlert("x", nullptr, 7);
    DoStandardLocalizedAlert("x", nullptr, 1);
    SetLocalizationLookup(nullptr);
    SetAlertPresenter(nullptr);

    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_EQ(shown[0].message, "Needs a newer Linux.");
    EXPECT_TRUE(shown[0].explanation.isEmpty());
    EXPECT_EQ(shown[1].title, "Caution");
    EXPECT_EQ(shown[1].message, "Untranslated");
    EXPECT_EQ(shown[1].explanation, " with a space");
    EXPECT_EQ(shown[2].title, "Message");
    EXPECT_EQ(shown[3].title, "Message");
    EXPECT_EQ(shown[4].title, "Note");
}
}  // namespace
