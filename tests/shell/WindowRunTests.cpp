// Tests run through the window's controls on a partitioned loop drive with
// mounted file systems: Start to "Test Complete", and Stop at random moments,
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
#include "shell/Preferences.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cstring>
#include <QMessageBox>
#include <QPushButton>

#include <chrono>
#include <random>
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
        InstallCommandHandlers({});
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

    // Chooses the loop drive the way a drive item of the popup does.
    void ChooseDrive()
    {
        gActiveDrive = &gSavedDriveInfoArray[slot];
        gDriveSizeInBytes64 = gActiveDrive->sizeInBytes64;
        gDriveSectorsU64 = static_cast<uint64_t>(gDriveSizeInBytes64) >> 9;
        TurnOnControl("push", 1);
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

TEST_F(WindowRun, AStandardTestWithWritesCompletesAndPutsEverythingBack)
{
    ChooseDrive();
    Settings(10, 2, "4");
    ClickStart();
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    EXPECT_TRUE(gWriteTestEnabled);
    for (int zone = 0; zone < 10; ++zone) {
        EXPECT_GT(gSavedREADResultsInfo[zone].aveSpeedDbl, 0.0) << zone;
        EXPECT_GT(gSavedWRITEResultsInfo[zone].aveSpeedDbl, 0.0) << zone;
    }
    EXPECT_EQ(display::ControlText(display::FindControl(static_cast<QWidget*>(gMainWindowRef), "push", 1)),
              "Start");
    ExpectEverythingBack();  // unmounted for the test, mounted back after it, files intact
}

TEST_F(WindowRun, TheWholeDeviceIsUnchangedByAWriteTest)
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
    Settings(8, 1, "16");
    ClickStart();
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    EXPECT_GT(gSavedWRITEResultsInfo[7].aveSpeedDbl, 0.0);
    ExpectEverythingBack();
    RunCommand("blockdev --flushbufs " + drive());
    EXPECT_EQ(device_->Checksum(), checksum);
}

TEST_F(WindowRun, RefusalsThroughTheControls)
{
    ChooseDrive();
    struct Row {
        int zones;
        const char* size;
        std::string alert;
    };
    const Row rows[] = {
        {4, "2x", "Transfer size must be whole number!"},
        {50, "511", "Sorry, the test drive is not big enough for the currently selected testing parameters."},
        {4, "", "Sorry, the test drive is not big enough for the currently selected testing parameters."},
    };
    for (const Row& row : rows) {
        alerts.clear();
        Settings(row.zones, 1, row.size);
        ClickStart();
        ASSERT_EQ(alerts.size(), 1u) << row.size;
        EXPECT_EQ(alerts[0], row.alert);
        EXPECT_EQ(Status(), "Unexpected Error During Test");
        ExpectEverythingBack();
    }
    // A node that cannot be opened.
    alerts.clear();
    Settings(4, 1, "1");
    DriveInfoRec gone = *gActiveDrive;
    std::strcpy(gone.devicePathCStr, "/dev/kestrelia-no-such-node");
    gActiveDrive = &gone;
    ClickStart();
    EXPECT_EQ(alerts, std::vector<std::string>{"Sorry, the currently selected drive cannot be opened."});
    gActiveDrive = &gSavedDriveInfoArray[slot];
}

TEST_F(WindowRun, ABusyVolumeAsksWhetherToReadOnly)
{
    // A process in a folder of the first volume keeps it from being unmounted.
    const std::string busyPath = volumes_[0].mount->path();
    FILE* holder = popen(("cd " + busyPath + " && sleep 60").c_str(), "r");
    ASSERT_NE(holder, nullptr);
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
    RunCommand("pkill -f 'sleep 60'");
    pclose(holder);
    EXPECT_TRUE(alerts.empty()) << alerts.front();
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
