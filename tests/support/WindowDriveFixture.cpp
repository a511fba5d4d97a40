#include "WindowDriveFixture.h"

#include "shell/Commands.h"
#include "shell/Preferences.h"
#include "shell/SaveDialog.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QSettings>

#include <cstring>
#include <unistd.h>

void WindowDrive::SetUp()
{
    LoopDriveTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    ASSERT_TRUE(settings_.isValid() && home_.isValid() && runState.isValid());
    qputenv("KESTRELIA_RUN_DIR", runState.path().toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
    SetPreferencesLocation("KestreliaWindowTests", "Kestrelia");
    home = home_.path().toStdString();
    ASSERT_EQ(chown(home.c_str(), kInvokingUser, kInvokingUser), 0);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    unsetenv("PKEXEC_UID");
    setenv("SUDO_UID", std::to_string(kInvokingUser).c_str(), 1);
    setenv("SUDO_GID", std::to_string(kInvokingUser).c_str(), 1);
    SetAlertPresenter([this](const AlertContent& alert) {
        alerts.push_back(alert.message.toStdString());
        explanations.push_back(alert.explanation.toStdString());
    });
    std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
    gDVLastTabIndex = 1;
    CreateAllWindows();
    InstallCommandHandlers({SaveResultsCommand});
    StartDeviceWatching();
    Main()->resize(800, 624);
    slot = FindListedDrive(drive().c_str());
    ASSERT_GE(slot, 0) << "the loop drive is in the drive list";
    for (const LoopVolume& volume : volumes_)
        mounts.push_back(MountAt(volume.mount->path()));
}

void WindowDrive::TearDown()
{
    if (TheMainWindow() != nullptr) {
        ShutDownCommands();
        DestroyAllWindows();
    }
    SetAlertPresenter(nullptr);
    RestoreDefaultTransferCalls();
    Devices().chosenDrive.clear();
    unsetenv("SUDO_UID");
    unsetenv("SUDO_GID");
    unsetenv("KESTRELIA_RUN_DIR");
    LoopDriveTest::TearDown();
}

std::string WindowDrive::Text(int id)
{
    const QLabel* label = Main()->NumberedText(id);
    return label != nullptr ? label->text().toStdString() : std::string();
}

void WindowDrive::Choose(int popupId, int item)
{
    QComboBox* popup = popupId == 1 ? Widgets().drivePopup : Widgets().volumePopup;
    ASSERT_LT(item - 1, popup->count());
    popup->setCurrentIndex(item - 1);
    emit popup->activated(item - 1);
}

void WindowDrive::ShowPane(int pane)
{
    Widgets().testKindPopup->setCurrentIndex(pane);
}

void WindowDrive::Settings(int zones, int cycles, const char* megabytes)
{
    Widgets().optionsButton->click();
    const Ui::OptionsSheet& sheet = Main()->optionsSheet->ui;
    sheet.zonesPopup->setCurrentIndex(zones - 1);
    sheet.cyclesPopup->setCurrentIndex(cycles - 1);
    sheet.transferSize->setText(megabytes);
    sheet.confirmButton->click();
}

bool WindowDrive::WaitFor(const std::function<bool()>& done, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void WindowDrive::FillAndTakeChecksum()
{
    uint64_t used = 1;
    for (const LoopVolume& volume : volumes_) {
        used += volume.partitionBytes >> 20;
        if (MountAt(volume.mount->path()).vfsOptions.starts_with("rw")) {
            ASSERT_EQ(RunCommand("head -c 200M /dev/urandom > " + volume.mount->path() + "/filler"), 0);
        }
    }
    ASSERT_EQ(RunCommand("dd if=/dev/urandom of=" + drive() + " bs=1M oflag=direct status=none seek=" +
                         std::to_string(used) + " count=" + std::to_string((kLoopDriveBytes >> 20) - used - 1)),
              0);
    MountVolumesReadOnly();
    for (std::size_t i = 0; i < volumes_.size(); ++i)
        mounts[i] = MountAt(volumes_[i].mount->path());
    checksum = device_->Checksum();
}

void WindowDrive::ExpectSameChecksum()
{
    RunCommand("blockdev --flushbufs " + drive());
    EXPECT_EQ(device_->Checksum(), checksum);
}

void WindowDrive::ExpectEverythingBack()
{
    EXPECT_FALSE(TestWorkerExists());
    EXPECT_FALSE(TestLaunchInProgress());
    EXPECT_TRUE(WindowDeviceClosed());
    EXPECT_TRUE(Widgets().optionsButton->isVisible()) << "the options can be opened";
    EXPECT_TRUE(Widgets().startButton->isEnabled());
    for (std::size_t i = 0; i < volumes_.size(); ++i) {
        EXPECT_EQ(MountAt(volumes_[i].mount->path()), mounts[i]) << volumes_[i].type;
        EXPECT_EQ(MarkerOf(volumes_[i]), "marker " + volumes_[i].type);
    }
}
