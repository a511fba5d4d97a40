// Tests run through the window's controls on a partitioned loop drive with
// mounted file systems: one run per capability (standard with writes and
// save, volume, random, Stop at random moments, a failing and a busy drive),
// each leaving the volumes mounted where they were and every byte in place.
#include "LoopDriveFixture.h"

#include "devices/DriveList.h"
#include "devices/DriveRecords.h"
#include "display/ControlLookup.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "reports/ReportFile.h"
#include "shell/Preferences.h"
#include "shell/SaveDialog.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cstring>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QMessageBox>
#include <QTabWidget>
#include <QUrl>
#include <QPushButton>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include <random>
#include <set>
#include <thread>

namespace {
class WindowRun : public LoopDriveTest {
protected:
    void SetUp() override
    {
        LoopDriveTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(settings.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        SetPreferencesLocation("KestreliaWindowRunTests", "Kestrelia");
        SetAlertPresenter([this](const AlertContent& alert) { alerts.push_back(alert.message.toStdString()); });
        std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
        gDVLastTabIndex = 1;
        ASSERT_TRUE(CreateAllWindows({}));
        InstallCommandHandlers({SaveResultsCommand});
        StartDeviceWatching();
        slot = FindListedDrive(drive().c_str());
        ASSERT_GE(slot, 0) << "the loop drive is in the drive list";
        for (const LoopVolume& volume : volumes_) mounts.push_back(MountAt(volume.mount->path()));
    }
    void TearDown() override
    {
        if (gMainWindowRef != nullptr) {
            ShutDownCommands();
            DestroyAllWindows();
        }
        SetAlertPresenter(nullptr);
        gActiveDrive = nullptr;
        LoopDriveTest::TearDown();
    }

    // Chooses the loop drive's item in the drive popup, as the user does.
    void ChooseDrive() { Choose(1, slot + 3); }
    void Choose(int popupId, int item)
    {
        auto* popup = qobject_cast<QComboBox*>(display::FindControl(Main(), "popb", popupId));
        ASSERT_NE(popup, nullptr);
        ASSERT_LT(item - 1, popup->count());
        popup->setCurrentIndex(item - 1);
        emit popup->activated(item - 1);
    }
    QWidget* Main() const { return static_cast<QWidget*>(gMainWindowRef); }
    std::string Text(int id) const
    {
        return display::ControlText(display::FindControl(Main(), "stxt", id)).toStdString();
    }
    void ShowVolumeTab()
    {
        qobject_cast<QTabWidget*>(display::FindControl(Main(), "tabs", 0))->setCurrentIndex(1);
    }
    // The volume popup's item of a mount point, or 0.
    int VolumeItem(const std::string& mountPoint) const
    {
        for (int i = 0; i < kMaxVolumeCount; ++i)
            if (mountPoint == gSavedVolInfoArray[i].rootRef)
                return i + 3;
        return 0;
    }
    bool Drop(const QList<QUrl>& urls)
    {
        QWidget* pane = display::FindControl(Main(), "tabp", 2);
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane, &enter);
        // The box is highlighted exactly while an acceptable drag is over it.
        EXPECT_EQ(!pane->styleSheet().isEmpty(), enter.isAccepted());
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane, &drop);
        EXPECT_TRUE(pane->styleSheet().isEmpty());
        return drop.isAccepted();
    }
    void Settings(int zones, int cycles, const char* megabytes)
    {
        SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 3, zones);
        SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 4, cycles);
        SetEditTextControlWCStr(gSettingsSheetWindow, 1, megabytes);
    }
    void ClickStart()
    {
        qobject_cast<QAbstractButton*>(display::FindControl(static_cast<QWidget*>(gMainWindowRef), "push", 1))
            ->click();
    }
    std::string Status() const
    {
        return display::ControlText(display::FindControl(static_cast<QWidget*>(gMainWindowRef), "stxt", 5))
            .toStdString();
    }
    bool WaitForStatus(const std::string& status, int milliseconds = 120000)
    {
        QElapsedTimer timer;
        timer.start();
        while (Status() != status && timer.elapsed() < milliseconds)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return Status() == status;
    }
    void ExpectEverythingBack()
    {
        EXPECT_FALSE(TestWorkerExists());
        EXPECT_FALSE(TestLaunchInProgress());
        EXPECT_EQ(gUnixReadFileRef, -1);
        EXPECT_EQ(gUnixWriteFileRef, -1);
        for (std::size_t i = 0; i < volumes_.size(); ++i) {
            EXPECT_EQ(MountAt(volumes_[i].mount->path()), mounts[i]) << volumes_[i].type;
            EXPECT_EQ(MarkerOf(volumes_[i]), "marker " + volumes_[i].type);
        }
    }

    QTemporaryDir settings;
    std::vector<std::string> alerts;
    int slot = -1;
    std::vector<MountState> mounts;
};

// Triggers the menu command with the given command ID.
void Command(const char* id)
{
    for (QAction* action : static_cast<QWidget*>(gMainWindowRef)->findChildren<QAction*>())
        if (action->property("commandId").toString() == QLatin1String(id))
            action->trigger();
}

// The drive chosen in the popup, a write test of ten zones and two cycles,
// every byte of the drive as it was, the volumes back, and the results saved
// from the File menu (refused while the test ran).
TEST_F(WindowRun, AStandardWriteTestLeavesEveryByteAndItsResultsAreSaved)
{
    // Read-only mounts write nothing of their own when they come and go, so
    // any difference would be the test's.
    for (std::size_t i = 0; i < volumes_.size(); ++i) {
        const LoopVolume& volume = volumes_[i];
        const std::string options = volume.type == "ext4" ? "ro,noload" : volume.type == "xfs" ? "ro,norecovery" : "ro";
        ASSERT_EQ(RunCommand("umount " + volume.mount->path()), 0);
        ASSERT_EQ(RunCommand("mount -o " + options + " " + volume.node + " " + volume.mount->path()), 0);
        mounts[i] = MountAt(volume.mount->path());
    }
    RunCommand("sync; blockdev --flushbufs " + drive());
    const std::string checksum = device_->Checksum();
    ChooseDrive();
    const DriveInfoRec& record = gSavedDriveInfoArray[slot];
    char interfaceText[256];
    CopyPStrToCStr(record.interfaceInfoPStr, interfaceText);
    EXPECT_EQ((std::vector<std::string>{interfaceText, record.sizeLabelCStr, "Ready To Begin", "0.0", "1.5"}),
              (std::vector<std::string>{Text(1), Text(2), Text(5), Text(21), Text(31)}));  // ten tenths of 1.5 GiB
    Choose(1, 1);  // the leading item changes nothing
    EXPECT_EQ(gActiveDrive, &record);

    bool dialogSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&dialogSeen] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialogSeen = true;
            dialog->reject();
        }
    });
    Settings(10, 2, "4");
    ClickStart();
    watch.start(5);
    Command("xcel");  // refused while the test runs
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    watch.stop();
    EXPECT_FALSE(dialogSeen);
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    EXPECT_TRUE(gWriteTestEnabled);
    for (int zone = 0; zone < 10; ++zone)
        EXPECT_GT(gSavedWRITEResultsInfo[zone].aveSpeedDbl, 0.0) << zone;
    EXPECT_EQ(display::ControlText(display::FindControl(Main(), "push", 1)), "Start");
    ExpectEverythingBack();
    RunCommand("blockdev --flushbufs " + drive());
    EXPECT_EQ(device_->Checksum(), checksum);

    QTemporaryDir folder;
    QString proposed;
    QTimer::singleShot(50, [&proposed, &folder] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        proposed = name->text();
        dialog->setDirectory(folder.path());
        name->setText(QStringLiteral("loop results"));
        dialog->findChild<QRadioButton*>(QStringLiteral("spreadsheetReport"))->click();
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
    });
    // The chosen record, wherever drives of other tests attached or detached meanwhile put it.
    const std::string driveName = gActiveDrive->driveNameCStr;
    Command("word");
    EXPECT_EQ(proposed.toStdString(), driveName + " Results.txt");
    std::ifstream in(folder.filePath(QStringLiteral("loop results.xls")).toStdString(), std::ios::binary);
    const std::string saved{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(saved, CurrentReport());
    EXPECT_NE(saved.find("Test Drive Name: " + driveName), std::string::npos) << saved.substr(0, 300);
    EXPECT_NE(saved.find("Zone 10 Writes"), std::string::npos);
}

TEST_F(WindowRun, ADriveThatVanishesMidTestEndsInAnAlertAndAnIdleWindow)
{
    ChooseDrive();
    Settings(10, 3, "16");
    ClickStart();
    QElapsedTimer timer;
    timer.start();
    while (gSavedREADResultsInfo[1].aveSpeedDbl <= 0.0 && bTestRunning.load() && timer.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    ASSERT_TRUE(bTestRunning.load()) << "the test ended before the drive could vanish";
    // The medium goes: every transfer from now on fails as on a pulled drive.
    ASSERT_EQ(RunCommand("truncate -s 0 " + device_->backingFile() + " && losetup -c " + drive()), 0);
    while ((bTestRunning.load() || TestLaunchInProgress()) && timer.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(WaitForStatus("Test Complete", 10000)) << Status();
    // The failed transfer was named in an alert; the window is idle again
    // with nothing of the test left open.
    ASSERT_FALSE(alerts.empty());
    EXPECT_NE(alerts.front().find("i/o Error"), std::string::npos) << alerts.front();
    EXPECT_FALSE(bTestRunning.load());
    EXPECT_EQ(gUnixReadFileRef, -1);
    EXPECT_LE(gUnixWriteFileRef, 0);
    QWidget* start = display::FindControl(Main(), "push", 1);
    EXPECT_EQ(display::ControlText(start), "Start");
    EXPECT_TRUE(display::FindControl(Main(), "tabs", 0)->isEnabled());
    // The empty drive is no longer offered; nothing is chosen, so Start waits for a choice.
    while (FindListedDrive(drive().c_str()) >= 0 && timer.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_LT(FindListedDrive(drive().c_str()), 0);
    EXPECT_EQ(gActiveDrive, nullptr);
    EXPECT_FALSE(start->isEnabled());
}

TEST_F(WindowRun, ABusyVolumeAsksWhetherToReadOnly)
{
    // A process in a folder of the first volume keeps it from being unmounted.
    const pid_t holder = fork();
    if (holder == 0) {
        if (chdir(volumes_[0].mount->path().c_str()) == 0)
            pause();
        _exit(0);
    }
    ASSERT_GT(holder, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ChooseDrive();
    Settings(4, 1, "1");

    for (const bool readOnly : {false, true}) {
        ClickStart();
        ASSERT_NE(gMessageSheetWindow, nullptr);
        EXPECT_TRUE(gMessageSheetWindow->isVisible());
        EXPECT_FALSE(TestWorkerExists());
        gMessageSheetWindow->button(readOnly ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        if (readOnly) {
            ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
            EXPECT_FALSE(gWriteTestEnabled);
            EXPECT_GT(gSavedREADResultsInfo[0].aveSpeedDbl, 0.0);
            EXPECT_EQ(gSavedWRITEResultsInfo[0].aveSpeedDbl, 0.0);
        }
        ExpectEverythingBack();
    }
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(alerts.empty()) << alerts.front();
}

// A volume chosen by dropping an item of it on the Volumes tab: its write test
// unmounts only that volume and chooses it again after the remount.
TEST_F(WindowRun, ADroppedVolumeIsTestedAloneAndChosenAgain)
{
    ShowVolumeTab();
    EXPECT_EQ(gDVLastTabIndex, 2);
    EXPECT_EQ(Text(5), "- No Volume Selected for Testing -");
    const LoopVolume& volume = volumes_[1];
    const QUrl other = QUrl::fromLocalFile(QString::fromStdString(volumes_[0].mount->path()));
    EXPECT_FALSE(Drop({other, other})) << "one item at a time";
    EXPECT_FALSE(Drop({QUrl::fromLocalFile("/dev/shm")})) << "on no listed local volume";
    EXPECT_FALSE(Drop({QUrl("https://example.org/")}));
    EXPECT_EQ(gActiveVolume, nullptr);
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(volume.mount->path() + "/marker"))}));
    ASSERT_NE(gActiveVolume, nullptr);
    EXPECT_EQ(std::string(gActiveVolume->rootRef), volume.mount->path());
    EXPECT_EQ(GetThisWindowControlValue32(gMainWindowRef, "popb", 2), VolumeItem(volume.mount->path()));
    EXPECT_EQ(Text(3), std::string(gActiveVolume->fileSystemNameCStr));
    EXPECT_EQ(Text(5), "Ready To Begin");
    Settings(5, 1, "2");
    ClickStart();
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    EXPECT_GT(gSavedWRITEResultsInfo[4].aveSpeedDbl, 0.0);
    ExpectEverythingBack();
    ASSERT_NE(gActiveVolume, nullptr);
    EXPECT_EQ(std::string(gActiveVolume->rootRef), volume.mount->path()) << "chosen again after the remount";
    EXPECT_EQ(GetThisWindowControlValue32(gMainWindowRef, "popb", 2), VolumeItem(volume.mount->path()));
    EXPECT_TRUE(alerts.empty()) << alerts.front();
}

TEST_F(WindowRun, TheRandomTestShowsItsProgress)
{
    ShowVolumeTab();
    Choose(2, VolumeItem(volumes_[0].mount->path()));
    gCurrentSelectedTestType = 2;
    ClickStart();
    std::set<std::string> counts;
    QElapsedTimer timer;
    timer.start();
    while (TestLaunchInProgress() && timer.elapsed() < 120000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        counts.insert(Text(110));
    }
    gCurrentSelectedTestType = 1;
    EXPECT_EQ(Status(), "Test Complete");
    EXPECT_GE(counts.size(), 2u) << "the transfers-done text moved while the test ran";
    EXPECT_GT(gSavedRandomReadSpeedDbl, 0.0);
    EXPECT_FALSE(Text(100).empty());
    ExpectEverythingBack();
}

TEST_F(WindowRun, AnUnmountedVolumeLeavesTheList)
{
    ShowVolumeTab();
    const LoopVolume& last = volumes_.back();
    const int item = VolumeItem(last.mount->path());
    ASSERT_GT(item, 0);
    Choose(2, item);
    ASSERT_EQ(RunCommand("umount " + last.mount->path()), 0);
    QElapsedTimer timer;
    timer.start();
    while (VolumeItem(last.mount->path()) != 0 && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    // Gone from the records and the popup; other tests' volumes may come and go meanwhile.
    EXPECT_EQ(VolumeItem(last.mount->path()), 0);
    int listed = 0;
    for (const VolInfoRec& volume : gSavedVolInfoArray)
        listed += volume.rootRef[0] != '\0';
    EXPECT_EQ(GetThisWindowControlMax32(gMainWindowRef, "popb", 2), listed + 2);
    EXPECT_EQ(Status(), "- No Volume Selected for Testing -") << "the chosen volume went";
    ASSERT_EQ(RunCommand("mount " + last.node + " " + last.mount->path() + " -o ro"), 0);  // for the clean-up
}

TEST_F(WindowRun, StopAtRandomMomentsCancelsAndPutsEverythingBack)
{
    ChooseDrive();
    std::mt19937 random(11);
    int stops = 0;
    for (int round = 0; round < 6; ++round) {
        gCurrentSelectedTestType = round % 2 == 0 ? 1 : 2;
        Settings(20, 3, "8");
        SetStatTextControlWCStr(gMainWindowRef, 5, "", false);
        ClickStart();
        QElapsedTimer timer;
        timer.start();
        const int wait = static_cast<int>(random() % 400);
        while (timer.elapsed() < wait) QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!TestLaunchInProgress())
            continue;  // it finished by itself before the Stop
        ++stops;
        ClickStart();  // now reading "Stop"
        EXPECT_EQ(Status(), "Test Canceled") << round;
        ExpectEverythingBack();
    }
    gCurrentSelectedTestType = 1;
    EXPECT_GE(stops, 3);
    EXPECT_TRUE(alerts.empty()) << alerts.front();
}
}  // namespace
