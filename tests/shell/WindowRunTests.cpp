// Tests run through the window's controls on a partitioned loop drive with
// mounted file systems: one run per capability (standard with writes and
// save, volume, random, Stop at random moments, a failing and a busy drive),
// each leaving the volumes mounted where they were and every byte in place.
#include "LoopDriveFixture.h"

#include "devices/DriveList.h"
#include "devices/DriveRecords.h"
#include "devices/MountHolders.h"
#include "devices/RemountState.h"
#include "display/ControlLookup.h"
#include "engine/DeviceTransfers.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "engine/TestWorker.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "shell/LeftVolumes.h"
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
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace {
// A read that blocks until released, as on a hung device.
struct HungDevice {
    std::mutex mutex;
    std::condition_variable signal;
    bool hung = false;
    bool released = false;
};
HungDevice gHungDevice;

ssize_t HangingRead(int fd, void* buffer, size_t count, off_t offset)
{
    std::unique_lock lock(gHungDevice.mutex);
    gHungDevice.hung = true;
    gHungDevice.signal.wait(lock, [] { return gHungDevice.released; });
    lock.unlock();
    return pread(fd, buffer, count, offset);
}

void ReleaseHungDevice()
{
    {
        const std::lock_guard lock(gHungDevice.mutex);
        gHungDevice.released = true;
    }
    gHungDevice.signal.notify_all();
}

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
        SetAlertPresenter([this](const AlertContent& alert) {
            alerts.push_back(alert.message.toStdString());
            explanations.push_back(alert.explanation.toStdString());
        });
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
        ReleaseHungDevice();
        if (gMainWindowRef != nullptr) {
            ShutDownCommands();
            DestroyAllWindows();
        }
        SetAlertPresenter(nullptr);
        RestoreDefaultTransferCalls();
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
    // The options as a user sets them: the gear, the sheet's controls, OK.
    void Settings(int zones, int cycles, const char* megabytes)
    {
        qobject_cast<QAbstractButton*>(display::FindControl(Main(), "bevl", 9))->click();
        SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 3, zones);
        SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 4, cycles);
        SetEditTextControlWCStr(gSettingsSheetWindow, 1, megabytes);
        qobject_cast<QAbstractButton*>(display::FindControl(static_cast<QWidget*>(gSettingsSheetWindow), "push", 10))
            ->click();
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
        EXPECT_TRUE(display::FindControl(Main(), "bevl", 9)->isVisible()) << "the options can be opened";
        EXPECT_TRUE(display::FindControl(Main(), "push", 1)->isEnabled());
        for (std::size_t i = 0; i < volumes_.size(); ++i) {
            EXPECT_EQ(MountAt(volumes_[i].mount->path()), mounts[i]) << volumes_[i].type;
            EXPECT_EQ(MarkerOf(volumes_[i]), "marker " + volumes_[i].type);
        }
    }

    QTemporaryDir settings;
    std::vector<std::string> alerts;
    std::vector<std::string> explanations;
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
    MountVolumesReadOnly();
    for (std::size_t i = 0; i < volumes_.size(); ++i)
        mounts[i] = MountAt(volumes_[i].mount->path());
    const std::string checksum = device_->Checksum();
    ChooseDrive();
    const DriveInfoRec& record = gSavedDriveInfoArray[slot];
    char interfaceText[256];
    CopyPStrToCStr(record.interfaceInfoPStr, interfaceText);
    EXPECT_EQ((std::vector<std::string>{interfaceText, record.sizeLabelCStr, "Ready To Begin", "0.0", "1.5", drive()}),
              (std::vector<std::string>{Text(1), Text(2), Text(5), Text(21), Text(31), Text(32)}));  // ten tenths of 1.5 GiB
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

    // A new medium size in the chosen drive shows in its size and position labels.
    ASSERT_EQ(0, RunCommand("truncate -s 2G " + device_->backingFile() + " && losetup -c " + drive()));
    QElapsedTimer timer;
    timer.start();
    while (Text(2) != "2 Gigabytes" && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(Text(2), "2 Gigabytes");
    EXPECT_EQ(Text(31), "2.0");
    EXPECT_EQ(gDriveSizeInBytes64, int64_t{2} << 30);
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

// A process in a folder of a volume, or one holding an unmounted partition
// exclusively: the sheet asks at once, names the process, and nothing is
// unmounted while it asks or while reads only are measured.
TEST_F(WindowRun, AHeldDriveAsksWhetherToReadOnlyWithNothingUnmounted)
{
    const std::string busy = volumes_[0].mount->path();
    const std::string free = volumes_.back().node;
    ASSERT_EQ(RunCommand("umount " + volumes_.back().mount->path()), 0);
    const std::vector<std::string> before = DriveMounts(drive());
    ChooseDrive();
    Settings(4, 1, "1");
    struct Row {
        const char* name;
        std::function<bool()> hold;
        bool readOnly;
    };
    const Row rows[] = {
        {"working folder", [&] { return chdir(busy.c_str()) == 0; }, false},
        {"exclusive open", [&] { return open(free.c_str(), O_RDONLY | O_EXCL) >= 0 && chdir("/") == 0; }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Holder holder(row.hold);
        ASSERT_TRUE(holder.held());
        ClickStart();
        ASSERT_NE(gMessageSheetWindow, nullptr);
        EXPECT_TRUE(gMessageSheetWindow->isVisible());
        EXPECT_FALSE(TestWorkerExists());
        EXPECT_EQ(DriveMounts(drive()), before);
        EXPECT_NE(gMessageSheetWindow->informativeText().toStdString().find(DescribeProcess(holder.pid())),
                  std::string::npos)
            << gMessageSheetWindow->informativeText().toStdString();
        gMessageSheetWindow->button(row.readOnly ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        if (row.readOnly) {
            ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
            EXPECT_FALSE(gWriteTestEnabled);
            EXPECT_GT(gSavedREADResultsInfo[0].aveSpeedDbl, 0.0);
            EXPECT_EQ(gSavedWRITEResultsInfo[0].aveSpeedDbl, 0.0);
        }
        EXPECT_EQ(DriveMounts(drive()), before);
        EXPECT_FALSE(TestLaunchInProgress());
    }
    EXPECT_TRUE(alerts.empty()) << alerts.front();
}

// A volume whose mount point was replaced by a file during the test is named
// in the alert with its error; the others are mounted back.
TEST_F(WindowRun, AVolumeNotMountedBackIsNamedInTheAlert)
{
    const std::string blocked = volumes_[0].mount->path();
    ChooseDrive();
    Settings(20, 3, "16");
    ClickStart();
    QElapsedTimer timer;
    timer.start();
    while (!DriveMounts(drive()).empty() && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(TestLaunchInProgress()) << "the test ended before its volume could be blocked";
    ASSERT_EQ(RunCommand("rmdir " + blocked + " && touch " + blocked), 0);
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    ASSERT_EQ(alerts, std::vector<std::string>{kRemountFailedMessage});
    EXPECT_NE(explanations[0].find(volumes_[0].node + " at " + blocked + ": Not a directory\n"), std::string::npos)
        << explanations[0];
    for (std::size_t i = 1; i < volumes_.size(); ++i)
        EXPECT_EQ(MountAt(volumes_[i].mount->path()), mounts[i]) << volumes_[i].type;
    RunCommand("rm " + blocked + " && mkdir " + blocked);
}

// At start-up the volumes a killed run left unmounted are offered, and on
// yes mounted back as they were; the state file goes.
TEST_F(WindowRun, VolumesLeftByAKilledRunAreOfferedAndMountedBack)
{
    ChooseDrive();  // so that the window ends ready to start, as after every other run
    QTemporaryDir run;
    qputenv("KESTRELIA_RUN_DIR", run.path().toUtf8());
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    std::vector<RememberedMount> left;
    for (std::size_t i = 0; i < volumes_.size(); ++i) {
        const MountState& m = mounts[i];
        left.push_back({volumes_[i].node, m.source, volumes_[i].mount->path(), m.type, m.vfsOptions, m.fsOptions, m.root});
        ASSERT_EQ(RunCommand("umount " + volumes_[i].mount->path()), 0);
    }
    const std::string file = run.filePath(QStringLiteral("unmounted-%1").arg(ended)).toStdString();
    std::ofstream(file) << StateText(ended, 1, left);
    QString asked;
    OfferToRemountLeftVolumes([&asked](const QString& volumes) {
        asked = volumes;
        return true;
    });
    qunsetenv("KESTRELIA_RUN_DIR");
    for (const LoopVolume& volume : volumes_)
        EXPECT_TRUE(asked.contains(QString::fromStdString(volume.node + " at " + volume.mount->path() + "\n")));
    ExpectEverythingBack();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
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
        EXPECT_TRUE(Status() == "Stopping\u2026" || Status() == "Test Canceled") << round << Status();
        EXPECT_TRUE(WaitForStatus("Test Canceled", 30000)) << round << Status();
        ExpectEverythingBack();
    }
    gCurrentSelectedTestType = 1;
    EXPECT_GE(stops, 3);
    EXPECT_TRUE(alerts.empty()) << alerts.front();
}
}  // namespace

namespace {
TEST_F(WindowRun, StopDuringAHungTransferAnswersAtOnceAndQuitWaitsForTheWorker)
{
    ChooseDrive();
    Settings(4, 1, "1");
    gHungDevice.hung = gHungDevice.released = false;
    gTransferCalls.read = HangingRead;
    ClickStart();
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        const std::lock_guard lock(gHungDevice.mutex);
        if (gHungDevice.hung || timer.elapsed() > 30000)
            break;
    }
    ASSERT_TRUE(gHungDevice.hung) << "the test reached the device";

    timer.restart();
    ClickStart();  // Stop, while the worker waits in its transfer
    EXPECT_LT(timer.elapsed(), 100) << "Stop answered only after " << timer.elapsed() << " ms";
    EXPECT_EQ(Status(), "Stopping\u2026");
    QWidget* start = display::FindControl(Main(), "push", 1);
    EXPECT_FALSE(start->isEnabled());
    // The window stays live; nothing is cleaned up under the worker's feet.
    timer.restart();
    while (timer.elapsed() < 200) QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(TestWorkerExists());
    EXPECT_EQ(Status(), "Stopping\u2026");

    // Quit meanwhile: the program ends once the worker is back and the volumes are mounted again.
    Command("quit");
    EXPECT_TRUE(TestWorkerExists());
    QTimer::singleShot(300, [] { ReleaseHungDevice(); });
    QTimer::singleShot(60000, [] { QApplication::exit(2); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(Status(), "Test Canceled");
    EXPECT_EQ(gSavedREADResultsInfo[0].aveSpeedDbl, 0.0);
    ExpectEverythingBack();
    EXPECT_TRUE(alerts.empty()) << alerts.front();
}
}  // namespace
