// The program's window on the partitioned loop drive of LoopDriveTest, built
// offscreen as root for an ordinary user (54321, with a fresh home that keeps
// the run history), with its alerts collected instead of shown and its
// controls driven as a user drives them. Windows, preferences, home, run
// state and drive are gone again when the test ends.
#pragma once

#include "LoopDriveFixture.h"
// What tests of the window read and drive: its controls, the drive records,
// the test's results, state and transfers, its alerts.
#include "devices/DriveList.h"
#include "devices/DriveRecords.h"
#include "engine/DeviceTransfers.h"
#include "shell/WindowLaunch.h"
#include "engine/TestRun.h"
#include "shell/Alerts.h"
#include "shell/MainWindow.h"
#include "shell/Windows.h"

#include <QApplication>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>


inline constexpr uid_t kInvokingUser = 54321;

class WindowDrive : public LoopDriveTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static MainWindow* Main() { return TheMainWindow(); }
    static const Ui::MainWindow& Widgets() { return TheMainWindow()->ui; }
    // The text of a static text control by its ID; 5 is the status line.
    static std::string Text(int id);
    static std::string Status() { return Text(5); }
    // Chooses the item (counted from 1) of the drive (1) or volume (2) popup, as the user does.
    static void Choose(int popupId, int item);
    void ChooseDrive() { Choose(1, slot + 3); }
    // Shows the standard (0) or the random (1) results pane, which also chooses the test.
    static void ShowPane(int pane);
    // The options as a user sets them: the gear, the sheet's controls, OK.
    static void Settings(int zones, int cycles, const char* megabytes);
    // Start, or Stop while a test runs.
    static void ClickStart() { Widgets().startButton->click(); }
    static bool WaitFor(const std::function<bool()>& done, int milliseconds = 120000);
    // Keeps the window live for that long.
    static void Pause(int milliseconds) { WaitFor([] { return false; }, milliseconds); }
    // The window's run holds no descriptor of the device any more.
    static bool WindowDeviceClosed()
    {
        const TestRun* run = WindowTestRun();
        return run == nullptr || (run->readDescriptor == -1 && run->writeDescriptor == -1);
    }
    static bool WaitForStatus(const std::string& status, int milliseconds = 120000)
    {
        return WaitFor([&status] { return Status() == status; }, milliseconds);
    }
    // Data that differs in every block in files on the writable volumes and
    // after the partitions; the volumes mounted again read-only (so that they
    // write nothing of their own when they come and go), and the checksum of
    // the whole device taken.
    void FillAndTakeChecksum();
    // Every byte of the device as when the checksum was taken.
    void ExpectSameChecksum();
    // No test left running or open, the window ready for the next, and every
    // volume mounted as it was with its marker.
    void ExpectEverythingBack();

    std::string home;
    std::string checksum;
    // Where the program notes the volumes it unmounted, instead of the machine's
    // own folder: a test that fails or is stopped never leaves them to other programs.
    QTemporaryDir runState;
    std::vector<std::string> alerts;
    std::vector<std::string> explanations;
    int slot = -1;                  // the loop drive's record
    std::vector<MountState> mounts; // of volumes_, before the test

private:
    QTemporaryDir settings_;
    QTemporaryDir home_{QStringLiteral("/dev/shm/kestrelia-window-home-XXXXXX")};
};
