// Tests run through the window's controls on the loop drive (the write runs
// are in RunHistoryWindowTests): a drive that vanishes mid-test and the
// volumes that then cannot be mounted back, a busy drive and the volumes a
// killed run left, a dropped volume tested alone, and Stop at random moments
// and during a hung transfer.
#include "WindowDriveFixture.h"

#include "devices/MountHolders.h"
#include "devices/RemountState.h"
#include "shell/ShownRun.h"
#include "shell/LeftVolumes.h"

#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A read that blocks until released, as on a hung device.
std::atomic<bool> gHung{false};
std::atomic<bool> gReleased{false};

ssize_t HangingRead(int fd, void* buffer, size_t count, off_t offset)
{
    gHung = true;
    gReleased.wait(false);
    return pread(fd, buffer, count, offset);
}

void ReleaseHungDevice()
{
    gReleased = true;
    gReleased.notify_all();
}

TEST_F(WindowDrive, ADriveThatVanishesMidTestEndsInAlertsNamingItsVolumesAndAnIdleWindow)
{
    ChooseDrive();
    Settings(10, 3, "16");
    ClickStart();
    WaitFor([] { return ShownRun().ZoneMeasured(1) || !bTestRunning.load(); }, 60000);
    ASSERT_TRUE(bTestRunning.load()) << "the test ended before the drive could vanish";
    // The medium goes: every transfer from now on fails as on a pulled drive.
    ASSERT_EQ(RunCommand("truncate -s 0 " + device_->backingFile() + " && losetup -c " + drive()), 0);
    WaitFor([] { return !bTestRunning.load() && !TestLaunchInProgress(); }, 60000);
    ASSERT_TRUE(WaitForStatus("Test Complete", 10000)) << Status();
    // The failed transfer was named in an alert, then each volume that could
    // not be mounted again with its error; the window is idle again with
    // nothing of the test left open.
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_NE(alerts[0].find("i/o Error"), std::string::npos) << alerts[0];
    EXPECT_EQ(alerts[1], kRemountFailedMessage);
    for (const LoopVolume& volume : volumes_)
        EXPECT_NE(explanations[1].find(volume.node + " at " + volume.mount->path() + ": "), std::string::npos)
            << explanations[1];
    EXPECT_TRUE(WindowDeviceClosed());
    EXPECT_EQ(Widgets().startButton->text(), "&Start");
    EXPECT_TRUE(Widgets().driveVolumeTabs->isEnabled());
    // The empty drive is no longer offered; nothing is chosen, so Start waits for a choice.
    EXPECT_TRUE(WaitFor([this] { return FindListedDrive(drive().c_str()) < 0; }, 60000));
    EXPECT_EQ(ChosenDrive(), nullptr);
    EXPECT_FALSE(Widgets().startButton->isEnabled());
}

// A process in a folder of a volume: the sheet asks at once, names the
// process, and nothing is unmounted while it asks, after Cancel, or while
// reads only are measured after OK. Volumes a killed run left are mounted back.
TEST_F(WindowDrive, AHeldDriveIsReadOnlyWithNothingUnmountedAndVolumesAKilledRunLeftAreMountedBack)
{
    const std::string busy = volumes_[0].mount->path();
    const std::vector<std::string> before = DriveMounts(drive());
    ChooseDrive();
    Settings(4, 1, "1");
    auto holder = std::make_unique<Holder>([&busy] { return chdir(busy.c_str()) == 0; });
    ASSERT_TRUE(holder->held());
    for (const auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        ClickStart();
        ASSERT_NE(Main()->readOnlyQuestion, nullptr);
        EXPECT_TRUE(Main()->readOnlyQuestion->isVisible());
        EXPECT_FALSE(TestWorkerExists());
        EXPECT_EQ(DriveMounts(drive()), before);
        const std::string question = Main()->readOnlyQuestion->informativeText().toStdString();
        EXPECT_NE(question.find(DescribeProcess(holder->pid())), std::string::npos) << question;
        Main()->readOnlyQuestion->button(button)->click();
        EXPECT_EQ(DriveMounts(drive()), before);
    }
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    EXPECT_FALSE(ShownRun().settings.writes);
    EXPECT_GT(ShownRun().zones[0].read.average, 0.0);
    EXPECT_EQ(ShownRun().zones[0].write.average, 0.0);
    EXPECT_EQ(DriveMounts(drive()), before);
    EXPECT_FALSE(TestLaunchInProgress());
    holder.reset();

    // At start-up the volumes a killed run left unmounted are offered, and on
    // yes mounted back as they were; the state file goes.
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    std::vector<RememberedMount> left;
    for (std::size_t i = 0; i < volumes_.size(); ++i) {
        const MountState& m = mounts[i];
        left.push_back({{m.source, volumes_[i].mount->path(), m.type, m.vfsOptions, m.fsOptions, m.root}});
        left.back().device = volumes_[i].node;
        ASSERT_EQ(RunCommand("umount " + volumes_[i].mount->path()), 0);
    }
    const std::string file = runState.filePath(QStringLiteral("unmounted-%1").arg(ended)).toStdString();
    std::ofstream(file) << StateText(ended, 1, left);
    QString asked;
    OfferToRemountLeftVolumes([&asked](const QString& volumes) {
        asked = volumes;
        return true;
    });
    for (const LoopVolume& volume : volumes_)
        EXPECT_TRUE(asked.contains(QString::fromStdString(volume.node + " at " + volume.mount->path() + "\n")));
    ExpectEverythingBack();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
    EXPECT_TRUE(alerts.empty()) << alerts.front();
}

// The volume popup's item of a mount point, or 0.
int VolumeItem(const std::string& mountPoint)
{
    const int slot = Devices().VolumeSlot(mountPoint);
    return slot >= 0 ? slot + 3 : 0;
}

// Drags items over the Volumes tab and drops them there; whether the drop was taken.
bool Drop(const QList<QUrl>& urls)
{
    QWidget* pane = TheMainWindow()->ui.volumePane;
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

// A volume chosen by dropping an item of it on the Volumes tab: its write test
// unmounts only that volume and chooses it again after the remount; unmounted
// by hand, it leaves the list and the choice.
TEST_F(WindowDrive, ADroppedVolumeIsTestedAloneChosenAgainAndLeavesTheListWhenUnmounted)
{
    Widgets().driveVolumeTabs->setCurrentIndex(1);
    EXPECT_EQ(gDVLastTabIndex, 2);
    EXPECT_EQ(Status(), "- No Volume Selected for Testing -");
    const LoopVolume& volume = volumes_[1];
    const QUrl other = QUrl::fromLocalFile(QString::fromStdString(volumes_[0].mount->path()));
    EXPECT_FALSE(Drop({other, other})) << "one item at a time";
    EXPECT_FALSE(Drop({QUrl::fromLocalFile("/dev/shm")})) << "on no listed local volume";
    EXPECT_FALSE(Drop({QUrl("https://example.org/")}));
    EXPECT_EQ(ChosenVolume(), nullptr);
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(volume.mount->path() + "/marker"))}));
    ASSERT_NE(ChosenVolume(), nullptr);
    EXPECT_EQ(ChosenVolume()->mount.target, volume.mount->path());
    EXPECT_EQ(Widgets().volumePopup->currentIndex() + 1, VolumeItem(volume.mount->path()));
    EXPECT_EQ(Text(3), ChosenVolume()->fileSystemName);
    EXPECT_EQ(Status(), "Ready To Begin");
    Settings(5, 1, "2");
    ClickStart();
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    EXPECT_GT(ShownRun().zones[4].write.average, 0.0);
    ExpectEverythingBack();
    ASSERT_NE(ChosenVolume(), nullptr);
    EXPECT_EQ(ChosenVolume()->mount.target, volume.mount->path()) << "chosen again after the remount";
    EXPECT_EQ(Widgets().volumePopup->currentIndex() + 1, VolumeItem(volume.mount->path()));
    EXPECT_TRUE(alerts.empty()) << alerts.front();

    ASSERT_EQ(RunCommand("umount " + volume.mount->path()), 0);
    EXPECT_TRUE(WaitFor([&volume] { return VolumeItem(volume.mount->path()) == 0; }, 5000));
    // Gone from the records and the popup; other tests' volumes may come and go meanwhile.
    EXPECT_EQ(Widgets().volumePopup->count(), static_cast<int>(Devices().volumes.size()) + 2);
    EXPECT_EQ(Status(), "- No Volume Selected for Testing -") << "the chosen volume went";
    EXPECT_EQ(ChosenVolume(), nullptr) << "and the choice with it";
    ASSERT_EQ(RunCommand("mount " + volume.node + " " + volume.mount->path()), 0);  // for the clean-up
}

// Stop at random moments of either test cancels it and puts everything back,
// every byte of the drive included.
TEST_F(WindowDrive, StopAtRandomMomentsOrDuringAHungTransferPutsEverythingBack)
{
    FillAndTakeChecksum();
    ChooseDrive();
    std::mt19937 random(11);
    int stops = 0;
    for (int round = 0; round < 8; ++round) {
        ShowPane(round % 2);
        Settings(20, 3, "8");
        Widgets().statusLine->clear();
        ClickStart();
        // The random test at any moment from the unmount on; the standard one
        // while it reads and writes back.
        if (round % 2 == 0)
            WaitFor([] { return Status().starts_with("Test in Progress: Cycle") || !TestLaunchInProgress(); }, 30000);
        Pause(static_cast<int>(random() % (round % 2 == 0 ? 100 : 400)));
        if (!TestLaunchInProgress())
            continue;  // it finished by itself before the Stop
        ++stops;
        ClickStart();  // now reading "Stop"
        EXPECT_TRUE(Status() == "Stopping\u2026" || Status() == "Test Canceled") << round << Status();
        EXPECT_TRUE(WaitForStatus("Test Canceled", 30000)) << round << Status();
        ExpectEverythingBack();
    }
    EXPECT_GE(stops, 4);

    // Stop while the worker hangs in a transfer answers at once; Quit
    // meanwhile ends the program once the worker is back and the volumes are
    // mounted again.
    ShowPane(0);
    gHung = gReleased = false;
    struct Release {
        ~Release() { ReleaseHungDevice(); }  // also when the test fails
    } release;
    gTransferCalls.read = HangingRead;
    ClickStart();
    ASSERT_TRUE(WaitFor([] { return gHung.load(); }, 30000)) << "the test reached the device";

    QElapsedTimer timer;
    timer.start();
    ClickStart();  // Stop, while the worker waits in its transfer
    EXPECT_LT(timer.elapsed(), 100) << "Stop answered only after " << timer.elapsed() << " ms";
    EXPECT_EQ(Status(), "Stopping\u2026");
    EXPECT_FALSE(Widgets().startButton->isEnabled());
    // The window stays live; nothing is cleaned up under the worker's feet.
    Pause(200);
    EXPECT_TRUE(TestWorkerExists());
    EXPECT_EQ(Status(), "Stopping\u2026");
    Widgets().actionQuit->trigger();
    EXPECT_TRUE(TestWorkerExists());
    QTimer::singleShot(300, [] { ReleaseHungDevice(); });
    QTimer::singleShot(60000, [] { QApplication::exit(2); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(Status(), "Test Canceled");
    EXPECT_FALSE(ShownRun().HasResults());
    ExpectEverythingBack();
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    ExpectSameChecksum();
}
}  // namespace
