#include "shell/Commands.h"

#include "devices/DriveList.h"
#include "devices/MountControl.h"
#include "display/ResultPanes.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "shell/MountWatcher.h"
#include "shell/Preferences.h"
#include "shell/QtInterfaceHost.h"
#include "shell/QtLaunch.h"
#include "shell/RunHistoryWindow.h"
#include "shell/Selection.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QMainWindow>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTabWidget>

#include <memory>

namespace {
CommandHooks gHooks;
std::unique_ptr<QtInterfaceHost> gHost;
std::unique_ptr<QSocketNotifier> gDeviceNotifier;
std::unique_ptr<MountWatcher> gMountWatcher;
// Quit was asked for while a stopped worker had not returned yet.
bool gQuitWhenStopped = false;

QWidget* MainWindow()
{
    return static_cast<QWidget*>(gMainWindowRef);
}

QWidget* Control(const char* signature, int id)
{
    QWidget* control = nullptr;
    GetMainWindowControlRef(signature, id, &control);
    return control;
}

// Quits now, or, while a test runs, stops it and quits once its worker has
// returned and the volumes are mounted back; the window stays live meanwhile.
void QuitWhenIdle()
{
    if (!bTestRunning.load() && !TestWorkerExists() && !TestStopPending()) {
        QApplication::quit();
        return;
    }
    gQuitWhenStopped = true;
    StartOrStopTest(WindowLaunch(), false);  // Stop, unless already stopping
}

void TestStopped()
{
    HandleTestStopped(WindowLaunch());
    if (gQuitWhenStopped && !TestStopPending()) {
        gQuitWhenStopped = false;
        QApplication::quit();
    }
}

void TestFinished()
{
    const bool launched = TestLaunchInProgress();  // false when Stop has already cleaned up
    HandleTestFinished(WindowLaunch());
    if (launched)
        RecordFinishedRun();
    TestStopped();  // a test that ended just as Stop was pressed ends the wait too
}

// Closing the main window ends the program instead of closing the window.
class CloseToQuit final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close && watched == gMainWindowRef) {
            event->ignore();
            QuitWhenIdle();
            return true;
        }
        return false;
    }
};

void RunCommand(const QString& command)
{
    if (command == QLatin1String("word") || command == QLatin1String("xcel")) {
        // Saving is refused while a test runs, without a word.
        if (bTestRunning.load() || TestLaunchInProgress())
            return;
        if (gHooks.saveResults)
            gHooks.saveResults(command == QLatin1String("word") ? 1 : 2);
    } else if (command == QLatin1String("abou")) {
        ShowAboutWindow();
    } else if (command == QLatin1String("quit")) {
        QuitWhenIdle();
    }
}

// The drive popup follows the drive list.
class DrivePopupHost final : public DriveListHost {
public:
    void DriveAppended(int slot) override
    {
        const DriveInfoRec& drive = gSavedDriveInfoArray[slot];
        AppendPopupItem(gMainWindowRef, 1, QString::fromStdString(ListedDriveItemText(slot)), slot + 3,
                        IconForPath(drive.iconPathCStr));
        SetThisWindowControlMax32(gMainWindowRef, "popb", 1, slot + 3);
        RefreshItemTexts();
    }
    void DriveChanged(int slot) override
    {
        RefreshItemTexts();
        // A new medium in the chosen drive (a card swapped, a loop device
        // resized) changes what the description and the position labels show.
        if (gActiveDrive == &gSavedDriveInfoArray[slot] && gDVLastTabIndex == 1)
            RefreshChosenDrive();
    }
    void DriveRemoved(int slot) override
    {
        auto* popup = qobject_cast<QComboBox*>(Control("popb", 1));
        if (popup == nullptr)
            return;
        const QSignalBlocker quiet(popup);
        DeletePopupMenuRefItem(gMainWindowRef, 1, slot + 3);
        RefreshItemTexts();
    }
    void ResetDrivesPopupMenu() override { ::ResetDrivesPopupMenu(); }
    void SelectDriveItem(int slot) override
    {
        if (auto* popup = qobject_cast<QComboBox*>(Control("popb", 1))) {
            const QSignalBlocker quiet(popup);
            popup->setCurrentIndex(slot + 2);
        }
    }
    void DrawTestResults() override { ::DrawTestResults(); }

private:
    // Drives of the same name tell themselves apart by their node, so every
    // arrival, change or departure can change other items' texts.
    static void RefreshItemTexts()
    {
        auto* popup = qobject_cast<QComboBox*>(Control("popb", 1));
        if (popup == nullptr)
            return;
        for (int slot = 0; slot < ListedDriveCount() && slot + 2 < popup->count(); ++slot)
            popup->setItemText(slot + 2, QString::fromStdString(ListedDriveItemText(slot)));
    }
};
DrivePopupHost gDrivePopupHost;
}  // namespace

void InstallCommandHandlers(CommandHooks hooks)
{
    gHooks = std::move(hooks);
    QtLaunchInterface& launch = WindowLaunch();
    launch.volumeRemounted = [](int16_t) {
        // The volume list is rebuilt and the tested volume chosen again where it is mounted.
        const QString mountPoint = gActiveVolume != nullptr ? QString::fromUtf8(gActiveVolume->rootRef) : QString();
        DeletePopupMenuRefItems(gMainWindowRef, 2, 2, 1);
        AppendPopupWithVolumes();
        if (!ChooseVolumeAtMountPoint(mountPoint))
            ResetVolumesPopupMenu();
        // The mount table as it is now is no news to the volume list.
        if (gMountWatcher)
            gMountWatcher->Resync();
        gIgnoreRemountVol = false;
    };
    gHost = std::make_unique<QtInterfaceHost>(TestFinished, TestStopped);
    SetInterfaceHost(gHost.get());

    QWidget* main = MainWindow();
    static CloseToQuit closeToQuit;
    main->installEventFilter(&closeToQuit);

    if (auto* start = qobject_cast<QAbstractButton*>(Control("push", 1)))
        QObject::connect(start, &QAbstractButton::clicked, start,
                         [] { StartOrStopTest(WindowLaunch(), ActiveVolumeIsLocked()); });
    if (auto* gear = qobject_cast<QAbstractButton*>(Control("bevl", 9)))
        QObject::connect(gear, &QAbstractButton::clicked, gear, [] {
            ShowSettingsSheet();
            DrawTestResults();
        });
    InstallSettingsSheetHandlers(static_cast<QWidget*>(gSettingsSheetWindow), [] { DrawTestResults(); });
    if (QWidget* kind = Control("pgrp", 1))
        if (auto* popup = kind->findChild<QComboBox*>())
            QObject::connect(popup, &QComboBox::currentIndexChanged, popup, [] { ToggleTestPanes(); });
    for (const int popupId : {1, 2})
        if (auto* popup = qobject_cast<QComboBox*>(Control("popb", popupId)))
            QObject::connect(popup, &QComboBox::activated, popup, [popupId] { DoPopupMenuSelection(popupId); });
    if (auto* tabs = qobject_cast<QTabWidget*>(Control("tabs", 0)))
        QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [](int index) { DriveVolTabChosen(index + 1); });
    InstallVolumeDrops();
    InstallRunHistoryControls();
    for (QAction* action : main->findChildren<QAction*>()) {
        const QString command = action->property("commandId").toString();
        if (!command.isEmpty())
            QObject::connect(action, &QAction::triggered, action, [command] { RunCommand(command); });
    }
    if (gMessageSheetWindow != nullptr)
        QObject::connect(gMessageSheetWindow, &QMessageBox::finished, gMessageSheetWindow, [](int answer) {
            if (answer == QMessageBox::Ok)
                StartOrStopTest(WindowLaunch(), true);
            else
                CancelReadOnlyTest(WindowLaunch());
        });
}

void StartDeviceWatching()
{
    // The popup of a newly built window lists every drive, also ones listed before.
    ClearDriveList();
    SetDriveListHost(&gDrivePopupHost);
    const int descriptor = IOKitRegisterForDeviceArrivalsRemovals();
    if (descriptor >= 0) {
        gDeviceNotifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        QObject::connect(gDeviceNotifier.get(), &QSocketNotifier::activated, [] { ProcessDeviceEvents(); });
    }
    gMountWatcher = std::make_unique<MountWatcher>();
    QObject::connect(gMountWatcher.get(), &MountWatcher::volumeMounted, VolumeMountedNotice);
    QObject::connect(gMountWatcher.get(), &MountWatcher::volumeUnmounted, VolumeUnmountedNotice);
}

void ShutDownCommands()
{
    gQuitWhenStopped = false;
    if (bTestRunning.load() || TestWorkerExists() || TestStopPending())
        StopTestAndWait(WindowLaunch());  // the worker ends, volumes come back
    else if (TestLaunchInProgress())
        CancelReadOnlyTest(WindowLaunch());
    SaveApplicationPrefs();
    gMountWatcher.reset();
    gDeviceNotifier.reset();
    SetDriveListHost(nullptr);
    SetInterfaceHost(nullptr);
    gHost.reset();
}
