// The run history through the window, on a loop drive run as root for another
// user: two standard runs and a random run become three documents of that
// user that match the schema; "Compare with" lists the standard runs and
// draws the markers; the history stays with the backing file when it is
// attached as another loop device; a corrupt file in the folder is skipped;
// a saved run opens as the current results.
#include "LoopDevice.h"

#include "devices/DriveIdentity.h"
#include "devices/DriveList.h"
#include "devices/DriveRecords.h"
#include "display/ControlLookup.h"
#include "display/EarlierRun.h"
#include "display/GraphView.h"
#include "display/ResultPanes.h"
#include "engine/TestModel.h"
#include "reports/ActiveSubject.h"
#include "reports/RunHistory.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "shell/Preferences.h"
#include "shell/RunHistoryWindow.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QSettings>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr uid_t kInvokingUser = 54321;

QWidget* Main()
{
    return static_cast<QWidget*>(gMainWindowRef);
}

std::string Status()
{
    return display::ControlText(display::FindControl(Main(), "stxt", 5)).toStdString();
}

bool WaitFor(const std::function<bool()>& done, int milliseconds = 120000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

bool ChooseDrive(const std::string& node)
{
    if (!WaitFor([&] { return FindListedDrive(node.c_str()) >= 0; }, 30000))
        return false;
    auto* popup = qobject_cast<QComboBox*>(display::FindControl(Main(), "popb", 1));
    const int index = FindListedDrive(node.c_str()) + 2;
    popup->setCurrentIndex(index);
    emit popup->activated(index);
    return true;
}

// 0 the standard pane, 1 the random pane.
void ShowPane(int pane)
{
    display::FindControl(Main(), "pgrp", 1)->findChild<QComboBox*>()->setCurrentIndex(pane);
}

bool RunTest(int kind)
{
    ShowPane(kind - 1);
    SetStatTextControlWCStr(gMainWindowRef, 5, "", false);
    qobject_cast<QAbstractButton*>(display::FindControl(Main(), "push", 1))->click();
    return WaitFor([] { return Status() == "Test Complete"; });
}

// Pixels of the earlier run's colour in the graph as drawn.
int MarkerPixels()
{
    const QImage& image = CurrentGraphView()->Image();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == kEarlierRunColor.rgb();
    return count;
}

TEST(RunHistoryWindow, RunsAreKeptComparedAndOpenedAgain)
{
    if (const std::string reason = LoopDevicesUnavailableReason(); !reason.empty())
        GTEST_SKIP() << reason;
    // The program runs as root for user 54321, whose data folder is under a fresh home.
    char home[] = "/dev/shm/kestrelia-history-home-XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    ASSERT_EQ(chown(home, kInvokingUser, kInvokingUser), 0);
    setenv("HOME", home, 1);
    unsetenv("XDG_DATA_HOME");
    unsetenv("PKEXEC_UID");
    setenv("SUDO_UID", std::to_string(kInvokingUser).c_str(), 1);
    setenv("SUDO_GID", std::to_string(kInvokingUser).c_str(), 1);

    // Drives of 1 GiB and less are not listed.
    LoopDevice device(1100ull << 20, "");
    ASSERT_TRUE(device.attached()) << device.error();
    const std::string checksum = device.Checksum();
    std::string otherNode;
    // Whatever happens: the second loop device detached, the home folder gone.
    struct CleanUp {
        std::string& node;
        const char* folder;
        ~CleanUp()
        {
            if (!node.empty())
                RunCommand("losetup -d " + node);
            std::error_code ignored;
            fs::remove_all(folder, ignored);
            unsetenv("SUDO_UID");
            unsetenv("SUDO_GID");
        }
    } cleanUp{otherNode, home};

    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    SetPreferencesLocation("KestreliaHistoryTests", "Kestrelia");
    std::vector<std::string> alerts;
    SetAlertPresenter([&alerts](const AlertContent& alert) { alerts.push_back(alert.message.toStdString()); });
    std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
    gDVLastTabIndex = 1;
    ASSERT_TRUE(CreateAllWindows({}));
    InstallCommandHandlers({});
    StartDeviceWatching();
    Main()->resize(800, 624);
    // The options as a user sets them: the gear, the sheet's controls, OK.
    qobject_cast<QAbstractButton*>(display::FindControl(Main(), "bevl", 9))->click();
    SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 3, 4);
    SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 4, 1);
    SetEditTextControlWCStr(gSettingsSheetWindow, 1, "1");
    qobject_cast<QAbstractButton*>(display::FindControl(static_cast<QWidget*>(gSettingsSheetWindow), "push", 10))->click();

    ASSERT_TRUE(ChooseDrive(device.node())) << device.node() << " is listed";
    for (const int kind : {1, 1, 2})
        ASSERT_TRUE(RunTest(kind)) << Status();
    EXPECT_TRUE(alerts.empty()) << alerts.front();

    const std::string identity = "loop:" + device.backingFile();
    EXPECT_EQ(HistoryRoot(), std::string(home) + "/.local/share/kestrelia/history");
    const std::string folder = DriveHistoryFolder(HistoryRoot(), identity);
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.push_back(entry.path().string());
    ASSERT_EQ(files.size(), 3u);
    std::string command = KESTRELIA_SOURCE_DIR "/tests/support/validate-run-documents " KESTRELIA_SOURCE_DIR
                          "/docs/run-document.schema.json";
    for (std::string path = folder; path.size() > std::strlen(home); path = fs::path(path).parent_path())
        files.push_back(path);
    for (const std::string& path : files) {
        struct stat status {};
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, kInvokingUser) << path;
        EXPECT_EQ(status.st_gid, kInvokingUser) << path;
        if (path.ends_with(".json"))
            command += " " + path;
    }
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ofstream(folder + "/19990101T000000.000Z.json") << "{ not json";

    // Standard pane: the random run on show is no earlier run; both standard runs are listed.
    ShowPane(0);
    QComboBox* popup = ComparePopup();
    ASSERT_NE(popup, nullptr);
    RefreshComparePopup();
    ASSERT_EQ(popup->count(), 3);
    EXPECT_EQ(popup->itemText(0), "None");
    for (int i = 1; i < 3; ++i)
        EXPECT_TRUE(popup->itemText(i).contains("Standard test, 4 zones")) << popup->itemText(i).toStdString();
    EXPECT_EQ(MarkerPixels(), 0);
    popup->setCurrentIndex(2);  // the first run
    EXPECT_GT(MarkerPixels(), 4 * 15) << "a marker on each of the four zones";
    // The help tag of a zone (a bar under a pixel high has no area to point at).
    const std::string tag(reinterpret_cast<const char*>(gSavedReadResultsHelpTag[0] + 1), gSavedReadResultsHelpTag[0][0]);
    EXPECT_NE(tag.find("\rEarlier Average: "), std::string::npos) << tag;
    EXPECT_NE(tag.find("%)\rEarlier Range: "), std::string::npos) << tag;
    popup->setCurrentIndex(0);
    EXPECT_EQ(MarkerPixels(), 0);

    // The backing file on another loop device is the same drive with the same runs.
    std::string out;
    ASSERT_EQ(RunCommand("losetup --find --show " + device.backingFile(), &out), 0) << out;
    otherNode = out.substr(0, out.find_first_of(" \n"));
    ASSERT_NE(otherNode, device.node());
    EXPECT_EQ(DriveIdentityFor(otherNode), identity);
    ASSERT_TRUE(ChooseDrive(otherNode)) << otherNode << " is listed";
    ASSERT_EQ(popup->count(), 4) << "both standard runs and the random run; the corrupt file is skipped";
    auto* model = qobject_cast<QStandardItemModel*>(popup->model());
    int greyed = 0;
    for (int i = 1; i < 4; ++i)
        if (!model->item(i)->isEnabled()) {
            ++greyed;
            EXPECT_TRUE(popup->itemText(i).contains("cannot be compared: a random test"));
        }
    EXPECT_EQ(greyed, 1);
    popup->setCurrentIndex(3);
    EXPECT_GT(MarkerPixels(), 0) << "the markers stand without bars of a new run";
    EXPECT_TRUE(CurrentGraphView()->LastPaint().labelsSet) << "with the scale they are drawn on";
    popup->setCurrentIndex(0);

    // The random pane compares with the random run.
    ShowPane(1);
    ASSERT_EQ(popup->count(), 4);
    ASSERT_TRUE(model->item(1)->isEnabled()) << popup->itemText(1).toStdString();
    popup->setCurrentIndex(1);
    auto* randomLine = Main()->findChild<QLabel*>("earlierRandomRun");
    ASSERT_NE(randomLine, nullptr);
    EXPECT_TRUE(randomLine->isVisible() && randomLine->text().startsWith("Earlier run (") &&
                randomLine->text().contains("  Read ")) << randomLine->text().toStdString();
    popup->setCurrentIndex(0);

    // A saved run opens as the current results: its bars, its settings.
    const std::string firstRun = files[0] < files[1] ? files[0] : files[1];
    EXPECT_TRUE(OpenResultsFile(QString::fromStdString(firstRun)).isEmpty());
    EXPECT_TRUE(ZoneIsMeasured(3));
    EXPECT_EQ(gZoneTestCountS32, 4);
    EXPECT_EQ(CurrentGraphView()->LastPaint().barsDrawn, 8);
    EXPECT_EQ(ActiveReportSubject().name, "Loop Device (" + device.node().substr(5) + ")")
        << "reports of it name the run's drive";
    EXPECT_EQ(ActiveReportSubject().sizeLabel, "1.074 Gigabytes");
    EXPECT_FALSE(OpenResultsFile(QString::fromStdString(folder + "/19990101T000000.000Z.json")).isEmpty());

    ShutDownCommands();
    DestroyAllWindows();
    SetAlertPresenter(nullptr);
    gActiveDrive = nullptr;
    RunCommand("losetup -d " + otherNode);
    otherNode.clear();
    EXPECT_EQ(device.Checksum(), checksum) << "every write put the data back";
}
}  // namespace
