#include "shell/Commands.h"

#include "devices/DriveList.h"
#include "devices/MountControl.h"
#include "display/ResultPanes.h"
#include "shell/WindowLaunch.h"
#include "reports/ReportText.h"
#include "shell/MainWindow.h"
#include "shell/MountWatcher.h"
#include "shell/Preferences.h"
#include "shell/QtInterfaceHost.h"
#include "shell/QtLaunch.h"
#include "shell/RunHistoryWindow.h"
#include "shell/Selection.h"
#include "shell/ShownRun.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QSocketNotifier>

#include <memory>

namespace {
CommandHooks gHooks;
std::unique_ptr<QtInterfaceHost> gHost;
std::unique_ptr<QSocketNotifier> gDeviceNotifier;
std::unique_ptr<MountWatcher> gMountWatcher;
// Quit was asked for while a stopped worker had not returned yet.
bool gQuitWhenStopped = false;

// The drive popup, while the window is there.
QComboBox* DrivePopup()
{
    MainWindow* window = TheMainWindow();
    return window != nullptr ? window->ui.drivePopup : nullptr;
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
    FollowRunUnderWay();
    if (gQuitWhenStopped && !TestStopPending()) {
        gQuitWhenStopped = false;
        QApplication::quit();
    }
}

void TestFinished()
{
    const bool launched = TestLaunchInProgress();  // false when Stop has already cleaned up
    if (launched)
        ShowEndedRun();
    HandleTestFinished(WindowLaunch());
    if (launched)
        RecordFinishedRun(ShownRun());
    TestStopped();  // a test that ended just as Stop was pressed ends the wait too
}

// Closing the main window ends the program instead of closing the window.
class CloseToQuit final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close && watched == TheMainWindow()) {
            event->ignore();
            QuitWhenIdle();
            return true;
        }
        return false;
    }
};

// The save commands 'word' (text) and 'xcel' (spreadsheet); refused while a test runs, without a word.
void SaveResults(int32_t format)
{
    if (bTestRunning.load() || TestLaunchInProgress())
        return;
    if (gHooks.saveResults)
        gHooks.saveResults(format);
}

// The drive popup follows the drive list.
class DrivePopupHost final : public DriveListHost {
public:
    void DriveAppended(int slot) override
    {
        QComboBox* popup = DrivePopup();
        if (popup == nullptr)
            return;
        const DriveRecord& drive = Devices().drives[static_cast<std::size_t>(slot)];
        AppendPopupItem(popup, QString::fromStdString(ListedDriveItemText(slot)), slot + 3,
                        IconForPath(drive.iconPath.c_str()));
        // The item of the slot is the popup's last.
        while (popup->count() > slot + 3) popup->removeItem(popup->count() - 1);
        RefreshItemTexts();
    }
    void DriveChanged(int slot) override
    {
        RefreshItemTexts();
        // A new medium in the chosen drive (a card swapped, a loop device
        // resized) changes what the description and the position labels show.
        if (ChosenDrive() == &Devices().drives[static_cast<std::size_t>(slot)] && gDVLastTabIndex == 1)
            RefreshChosenDrive();
    }
    void DriveRemoved(int slot) override
    {
        QComboBox* popup = DrivePopup();
        if (popup == nullptr)
            return;
        const QSignalBlocker quiet(popup);
        RemovePopupItem(popup, slot + 3);
        RefreshItemTexts();
    }
    void ResetDrivesPopupMenu() override { ::ResetDrivesPopupMenu(); }
    void SelectDriveItem(int slot) override
    {
        if (QComboBox* popup = DrivePopup())
            SetPopupValue(popup, slot + 3);
    }
    void DrawTestResults() override { ::DrawTestResults(); }

private:
    // Drives of the same name tell themselves apart by their node, so every
    // arrival, change or departure can change other items' texts.
    static void RefreshItemTexts()
    {
        QComboBox* popup = DrivePopup();
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
    launch.volumeRemounted = [](int) {
        // The volume list is rebuilt and the tested volume chosen again where it is mounted.
        const VolumeRecord* volume = ChosenVolume();
        const QString mountPoint = volume != nullptr ? QString::fromStdString(volume->mount.target) : QString();
        if (MainWindow* window = TheMainWindow())
            RemovePopupItemsFrom(window->ui.volumePopup, 2);
        AppendPopupWithVolumes();
        if (!ChooseVolumeAtMountPoint(mountPoint))
            ResetVolumesPopupMenu();
        // The mount table as it is now is no news to the volume list.
        if (gMountWatcher)
            gMountWatcher->Resync();
    };
    gHost = std::make_unique<QtInterfaceHost>(TestFinished, TestStopped);
    SetInterfaceHost(gHost.get());

    MainWindow* window = TheMainWindow();
    const Ui::MainWindow& ui = window->ui;
    static CloseToQuit closeToQuit;
    window->installEventFilter(&closeToQuit);

    QObject::connect(ui.startButton, &QPushButton::clicked, window, [] {
        StartOrStopTest(WindowLaunch(), ActiveVolumeIsLocked());
        FollowRunUnderWay();
    });
    QObject::connect(ui.optionsButton, &QToolButton::clicked, window, [] {
        ShowSettingsSheet();
        DrawTestResults();
    });
    InstallSettingsSheetHandlers([] { DrawTestResults(); });
    QObject::connect(ui.testKindPopup, &QComboBox::currentIndexChanged, window, [] { ToggleTestPanes(); });
    QObject::connect(ui.drivePopup, &QComboBox::activated, window, [] { DoPopupMenuSelection(1); });
    QObject::connect(ui.volumePopup, &QComboBox::activated, window, [] { DoPopupMenuSelection(2); });
    QObject::connect(ui.driveVolumeTabs, &QTabWidget::currentChanged, window,
                     [](int index) { DriveVolTabChosen(index + 1); });
    InstallVolumeDrops();
    InstallShownRun();
    InstallRunHistoryControls();
    QObject::connect(ui.actionSaveText, &QAction::triggered, window, [] { SaveResults(kTextReportFormat); });
    QObject::connect(ui.actionSaveSpreadsheet, &QAction::triggered, window,
                     [] { SaveResults(kSpreadsheetReportFormat); });
    QObject::connect(ui.actionAbout, &QAction::triggered, window, ShowAboutWindow);
    QObject::connect(ui.actionQuit, &QAction::triggered, window, QuitWhenIdle);
    QObject::connect(window->readOnlyQuestion, &QMessageBox::finished, window, [](int answer) {
        if (answer == QMessageBox::Ok)
            StartOrStopTest(WindowLaunch(), true);
        else
            CancelReadOnlyTest(WindowLaunch());
        FollowRunUnderWay();
    });
}

void StartDeviceWatching()
{
    // The popup of a newly built window lists every drive, also ones listed before.
    ClearDriveList();
    SetDriveListHost(&gDrivePopupHost);
    const int descriptor = WatchDeviceEvents();
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
    SavePreferences();
    gMountWatcher.reset();
    gDeviceNotifier.reset();
    SetDriveListHost(nullptr);
    SetInterfaceHost(nullptr);
    gHost.reset();
}
