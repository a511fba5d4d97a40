// The window's side of Start, Stop and the clean-up: the options sheet's
// settings, the chosen drive or volume, mounting around a write test, and
// the controls that follow the test's state.
#pragma once

#include "devices/DriveLock.h"
#include "devices/MountControl.h"
#include "engine/RunObserver.h"
#include "shell/WindowLaunch.h"

#include <functional>
#include <memory>

class QtLaunchInterface final : public LaunchInterface {
public:
    TestKind Kind() const override;
    int32_t ZoneCount() const override;
    int32_t CycleCount() const override;
    std::string TransferSizeText() const override;
    uint32_t QueueDepth() const override;
    uint64_t SurfaceSpanBytes() const override;
    uint32_t SurfaceMinutes() const override;
    std::optional<LaunchTarget> CurrentTarget() const override;
    int32_t UnmountTarget() override;
    int32_t RemountTarget() override;
    std::string RemountFailureExplanation() const override;
    void ShowTestRunning(bool running) override;
    void AllowStartStop(bool allowed) override;
    void AllowSettingsChanges(bool allowed) override;
    void AllowSaving(bool allowed) override { SetSaveMenuEnabled(allowed); }
    void ShowNotBusy() override;
    void AskToTestReadsOnly(const std::string& reason) override;
    std::string OtherDriveUsers(const std::string& devicePath) const override;
    void StartProgressDisplay(RunProgress& progress) override;
    void StopProgressDisplay() override;
    RunObserver& RunPresenter() override;
    void RedrawResults() override;
    void ShowErrorAlert(const std::string& message, const std::string& explanation) override;
    void SetStatusText(const std::string& text) override;

    // File > Save and its kin.
    void SetSaveMenuEnabled(bool enabled);

    // Runs after the chosen volume was mounted again on the Volumes tab, with
    // its new position in the mount table: the volume list is rebuilt and it is chosen again.
    std::function<void(int mountIndex)> volumeRemounted;

private:
    UnmountedVolumes unmounted_;  // what UnmountTarget unmounted, until RemountTarget (or the end)
    std::string refusal_;         // why the last unmount was refused, for the read-only sheet
    std::string remountFailures_; // the volumes the last RemountTarget left unmounted
    DriveLock driveLock_;         // held from the unmount to the remount
    std::unique_ptr<RunObserver> presenter_;
    RunObserver silent_;          // without a host nothing is shown
};

// The one launch interface of the window.
QtLaunchInterface& WindowLaunch();

// True when the chosen volume is mounted read-only (the Volumes tab then tests reads only).
bool ActiveVolumeIsLocked();
