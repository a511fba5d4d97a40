#include "shell/Selection.h"

#include "devices/DriveRecords.h"
#include "devices/MountControl.h"
#include "devices/VolumeRecords.h"
#include "display/ResultPanes.h"
#include "display/SurfaceGraph.h"
#include "shell/WindowLaunch.h"
#include "format/AxisSteps.h"
#include "format/ByteText.h"
#include "shell/MainWindow.h"
#include "shell/ShownRun.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"
#include "shell/ResultPaneTexts.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include <cmath>
#include <cstring>
#include <string>
#include <sys/stat.h>

int64_t gDriveSizeInBytes64 = 0;

namespace {
constexpr const char* kBlank = " ";
constexpr int kFirstRecordItem = 3;

Ui::MainWindow& Widgets()
{
    return TheMainWindow()->ui;
}

// The drive popup (1) or the volume popup (2).
QComboBox* Popup(int id)
{
    return id == 1 ? Widgets().drivePopup : Widgets().volumePopup;
}

void SetText(QLabel* label, const char* text)
{
    ShowText(label, QString::fromUtf8(text));
}

void SetIcon(QLabel* label, const QIcon& icon)
{
    label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(label->size()));
}

int VolumeCount()
{
    const int count = Widgets().volumePopup->count() - 2;
    return count > 0 ? count : 0;
}

void ResetPopup(int id, const char* status)
{
    SetPopupItemEnabled(Popup(id), 1, true);
    Widgets().startButton->setEnabled(false);
    SetText(Widgets().statusLine, status);
    SetPopupValue(Popup(id), 1);
    ResetZoneTestResults();
    ResetRandomTestResults();
    ClearShownRun();
    gDriveSizeInBytes64 = 0;
}

void ReadyToBegin(int popupId, int64_t sizeBytes)
{
    SetPopupItemEnabled(Popup(popupId), 1, false);
    Widgets().startButton->setEnabled(true);
    SetText(Widgets().statusLine, "Ready To Begin");
    gDriveSizeInBytes64 = sizeBytes;
}

QIcon VolumeIcon()
{
    return IconForPath("drive-harddisk");
}

std::vector<VolumeRecord>& Volumes()
{
    return Devices().volumes;
}

// Appends record slot of the volume list to the popup.
void AppendVolumeItem(int slot)
{
    AppendPopupItem(Widgets().volumePopup, QString::fromStdString(VolumeItemText(Volumes(), static_cast<std::size_t>(slot))),
                    2 + slot, VolumeIcon());
}

// Volumes of the same name tell themselves apart by their device.
void RefreshVolumeItemTexts()
{
    QComboBox* popup = Widgets().volumePopup;
    for (std::size_t slot = 0; slot < Volumes().size(); ++slot) {
        const int item = static_cast<int>(slot) + 2;
        if (item < popup->count())
            popup->setItemText(item, QString::fromStdString(VolumeItemText(Volumes(), slot)));
    }
}

// A bind mount of a folder is no volume of its own; a btrfs subvolume is.
bool WholeFileSystemOrSubvolume(const VolumeRecord& record)
{
    return record.mount.root == "/" || IsSubvolumeMount(record.mount);
}

bool SameFileSystem(const std::string& a, const std::string& b)
{
    struct stat first {}, second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev;
}

// Takes drags of one local item from outside the program onto the volume pane.
class VolumeDropTarget final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* pane = qobject_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::DragEnter: {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (DroppedVolume(drag) >= 0) {
                drag->acceptProposedAction();
                Highlight(pane, true);
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::DragLeave:
            Highlight(pane, false);
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            Highlight(pane, false);
            const int index = DroppedVolume(drop);
            if (index < 0) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            ResetZoneTestResults();
            ResetRandomTestResults();
            ClearShownRun();
            ChooseListedVolume(index);
            DrawTestResults();
            return true;
        }
        default:
            return false;
        }
    }

private:
    // The listed volume an acceptable drag would choose, or -1.
    static int DroppedVolume(const QDropEvent* event)
    {
        if (gDVLastTabIndex != 2 || TestLaunchInProgress() || event->source() != nullptr)
            return -1;  // only from outside the program, on the volume tab, with no test under way
        const QMimeData* data = event->mimeData();
        if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
            return -1;
        return ListedVolumeHolding(data->urls().front().toLocalFile());
    }
    static void Highlight(QWidget* pane, bool on)
    {
        if (pane != nullptr)
            pane->setStyleSheet(on ? QStringLiteral("QWidget#%1 { background: palette(highlight); }")
                                         .arg(pane->objectName())
                                   : QString());
    }
};
VolumeDropTarget gDropTarget;
}  // namespace

void ClearSelectedDriveInfo()
{
    SetText(Widgets().driveInterface, kBlank);
    SetText(Widgets().driveSize, kBlank);
    SetText(Widgets().driveDevice, kBlank);
    SetIcon(Widgets().driveIcon, IconForPath(gPathToUnknownIcon));
    InsertSizeIncrements();
}

void UpdateSelectedDriveInfo()
{
    const DriveRecord* drive = ChosenDrive();
    if (drive == nullptr)
        return ClearSelectedDriveInfo();
    SetText(Widgets().driveSize, drive->sizeLabel.c_str());
    SetText(Widgets().driveInterface, drive->interfaceText.c_str());
    // The device node ("/dev/nvme1n1") tells drives of the same make apart before a write test.
    SetText(Widgets().driveDevice, drive->devicePath.c_str());
    SetIcon(Widgets().driveIcon, IconForPath(drive->iconPath.c_str()));
    InsertSizeIncrements();
}

void RefreshChosenDrive()
{
    const DriveRecord* drive = ChosenDrive();
    if (drive == nullptr)
        return;
    gDriveSizeInBytes64 = drive->sizeBytes;
    UpdateSelectedDriveInfo();
}

void ClearSelectedVolumeInfo()
{
    SetText(Widgets().volumeFormat, kBlank);
    SetText(Widgets().volumeSize, kBlank);
    SetIcon(Widgets().volumeIcon, IconForPath(gPathToUnknownIcon));
    InsertSizeIncrements();
}

void UpdateSelectedVolumeInfo()
{
    const VolumeRecord* volume = ChosenVolume();
    if (volume == nullptr)
        return ClearSelectedVolumeInfo();
    SetText(Widgets().volumeSize, volume->totalSizeLabel.c_str());
    SetText(Widgets().volumeFormat, volume->fileSystemName.c_str());
    SetIcon(Widgets().volumeIcon, VolumeIcon());
    InsertSizeIncrements();
}

namespace {
void ShowPositions(uint64_t size)
{
    const Ui::MainWindow& ui = Widgets();
    QLabel* const positionLabels[] = {ui.positionLabel0, ui.positionLabel1, ui.positionLabel2, ui.positionLabel3,
                                      ui.positionLabel4, ui.positionLabel5, ui.positionLabel6, ui.positionLabel7,
                                      ui.positionLabel8, ui.positionLabel9, ui.positionLabel10};
    const std::vector<AxisLabel> labels = PositionAxisLabels(size);
    // The labels keep their places from the interface file as the axis's ends
    // (first and last) and stand where their value lies between them.
    QLabel* first = positionLabels[0];
    QLabel* last = positionLabels[10];
    const auto home = [](QWidget* label) {
        if (!label->property("axisHome").isValid())
            label->setProperty("axisHome", label->geometry().center().x());
        return label->property("axisHome").toInt();
    };
    for (int i = 0; i <= 10; ++i) {
        const bool shown = static_cast<std::size_t>(i) < labels.size();
        QLabel* label = positionLabels[i];
        SetText(label, shown ? labels[static_cast<std::size_t>(i)].text.c_str() : kBlank);
        const double fraction = shown ? labels[static_cast<std::size_t>(i)].fraction : i / 10.0;
        const int centre = home(first) + static_cast<int>(std::lround(fraction * (home(last) - home(first))));
        label->move(centre - label->width() / 2, label->y());
    }
}

// A surface run is drawn over the part it set out to cover (the part it
// covered when its time ran out), which the positions follow; other runs
// stand over the whole drive or volume.
void ShowPositionsOf(const Run& shown, uint64_t targetBytes)
{
    ShowPositions(shown.settings.kind == TestKind::Surface ? SurfaceAxisSectors(shown) * 512 : targetBytes);
}
}  // namespace

void InsertSizeIncrements()
{
    ShowPositionsOf(ShownRun(), static_cast<uint64_t>(gDriveSizeInBytes64));
}

void ShowRunTarget(const RunTarget& target)
{
    const Ui::MainWindow& ui = Widgets();
    if (target.isVolume) {
        SetText(ui.volumeFormat, target.name.c_str());
        SetText(ui.volumeSize, target.sizeLabel.c_str());
    } else {
        SetText(ui.driveInterface, target.name.c_str());
        SetText(ui.driveSize, target.sizeLabel.c_str());
        SetText(ui.driveDevice, target.devicePath.c_str());
    }
    ShowPositionsOf(ShownRun(), target.sizeBytes);
}

void ResetDrivesPopupMenu()
{
    ClearSelectedDriveInfo();
    ResetPopup(1, "- No Drive Selected for Testing -");
    InsertSizeIncrements();
}

void ResetVolumesPopupMenu()
{
    ClearSelectedVolumeInfo();
    ResetPopup(2, "- No Volume Selected for Testing -");
    InsertSizeIncrements();
}

int32_t AppendPopupWithVolumes()
{
    AppendPopupSeparator(Widgets().volumePopup);
    Volumes() = ListTestableVolumes(true);
    const int count = static_cast<int>(Volumes().size());
    for (int slot = 0; slot < count; ++slot)
        AppendVolumeItem(slot);
    RefreshVolumeItemTexts();
    return count;
}

bool AppendPopupWithThisVolume(const QString& mountPoint)
{
    const int slot = VolumeCount();
    if (slot >= kMaxVolumeCount)
        return false;
    VolumeRecord record;
    if (FindMountedVolume(mountPoint.toStdString(), &record, true) != 0 ||
        record.devicePath.rfind("/dev/", 0) != 0 || !WholeFileSystemOrSubvolume(record))
        return false;
    Volumes().resize(static_cast<std::size_t>(slot));
    Volumes().push_back(std::move(record));
    AppendVolumeItem(slot);
    RefreshVolumeItemTexts();
    return true;
}

void ChooseListedVolume(int index)
{
    if (index < 0 || index >= VolumeCount() || index >= static_cast<int>(Volumes().size()))
        return;
    SetPopupValue(Widgets().volumePopup, index + kFirstRecordItem);
    const VolumeRecord& volume = Volumes()[static_cast<std::size_t>(index)];
    Devices().ChooseVolume(volume);
    ReadyToBegin(2, static_cast<int64_t>(volume.totalBytes));
    UpdateSelectedVolumeInfo();
}

bool ChooseVolumeAtMountPoint(const QString& mountPoint)
{
    const int slot = Devices().VolumeSlot(mountPoint.toStdString());
    if (slot < 0 || slot >= VolumeCount())
        return false;
    ChooseListedVolume(slot);
    return true;
}

int ListedVolumeHolding(const QString& path)
{
    const std::string target = path.toStdString();
    for (int i = 0; i < VolumeCount() && i < static_cast<int>(Volumes().size()); ++i) {
        const std::string& point = Volumes()[static_cast<std::size_t>(i)].mount.target;
        if (!point.empty() && SameFileSystem(target, point))
            return i;
    }
    return -1;
}

void DoPopupMenuSelection(int popupId)
{
    const int k = Popup(popupId)->currentIndex() + 1;
    if (k < kFirstRecordItem || TestLaunchInProgress())
        return;
    ResetRandomTestResults();
    ResetZoneTestResults();
    ClearShownRun();
    if (popupId == 1) {
        const std::size_t slot = static_cast<std::size_t>(k - kFirstRecordItem);
        if (slot >= Devices().drives.size())
            return;
        const DriveRecord& drive = Devices().drives[slot];
        Devices().chosenDrive = drive.devicePath;
        ReadyToBegin(1, drive.sizeBytes);
        UpdateSelectedDriveInfo();
    } else if (popupId == 2) {
        const std::size_t slot = static_cast<std::size_t>(k - kFirstRecordItem);
        if (slot >= Volumes().size())
            return;
        const VolumeRecord& record = Volumes()[slot];
        VolumeRecord now;
        // A volume that is no longer mounted where it was resets the tab.
        if (FindMountedVolume(record.mount.target, &now, true) != 0 || now.devicePath != record.devicePath)
            ResetVolumesPopupMenu();
        else
            ChooseListedVolume(k - kFirstRecordItem);
    }
    DrawTestResults();
}

void DriveVolTabChosen(int tab)
{
    if (tab == gDVLastTabIndex)
        return;
    if (tab == 2) {
        RemovePopupItemsFrom(Widgets().volumePopup, 2);
        AppendPopupWithVolumes();
    }
    gDVLastTabIndex = tab;
    gDriveSizeInBytes64 = 0;
    if (tab == 2)
        ResetVolumesPopupMenu();
    else
        ResetDrivesPopupMenu();
    DrawTestResults();
}

void VolumeMountedNotice(const QString& mountPoint)
{
    if (gDVLastTabIndex != 2 || TestLaunchInProgress())
        return;
    AppendPopupWithThisVolume(mountPoint);
}

void VolumeUnmountedNotice(const QString& mountPoint)
{
    // A test unmounts and mounts back volumes itself; its clean-up rebuilds the list.
    if (gDVLastTabIndex != 2 || TestLaunchInProgress())
        return;
    const int value = Widgets().volumePopup->currentIndex() + 1;
    const int n = VolumeCount();
    const int i = Devices().VolumeSlot(mountPoint.toStdString());
    if (i < 0 || i >= n)
        return;
    Volumes().erase(Volumes().begin() + i);
    RemovePopupItem(Widgets().volumePopup, i + kFirstRecordItem);
    RefreshVolumeItemTexts();
    if (value - kFirstRecordItem == i) {
        ResetVolumesPopupMenu();
        DrawTestResults();
        InsertSizeIncrements();
    } else if (value - kFirstRecordItem > i) {
        SetPopupValue(Widgets().volumePopup, value - 1);
    }
}

void InstallVolumeDrops()
{
    QWidget* pane = Widgets().volumePane;
    pane->setAcceptDrops(true);
    pane->installEventFilter(&gDropTarget);
}
