#include "shell/Selection.h"

#include "devices/DriveRecords.h"
#include "devices/MountControl.h"
#include "devices/VolumeRecords.h"
#include "display/ControlLookup.h"
#include "display/ResultPanes.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "format/AxisSteps.h"
#include "format/ByteText.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

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

namespace {
constexpr const char* kBlank = " ";
constexpr int kFirstRecordItem = 3;
// The chosen drive's device node ("/dev/nvme1n1"), so that drives of the
// same make are told apart before a write test.
constexpr int kDriveDeviceText = 32;

QWidget* MainWindow()
{
    return static_cast<QWidget*>(gMainWindowRef);
}

QComboBox* Popup(int id)
{
    return qobject_cast<QComboBox*>(display::FindControl(MainWindow(), "popb", id));
}

void SetText(int id, const char* text)
{
    SetStatTextControlWCStr(gMainWindowRef, id, text, false);
}

void SetIcon(int id, const QIcon& icon)
{
    if (auto* label = qobject_cast<QLabel*>(display::FindControl(MainWindow(), "icon", id)))
        label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(label->size()));
}

// A popup's value changed by the program, without it counting as the user's choice.
void SetPopupValue(int id, int value)
{
    if (QComboBox* popup = Popup(id)) {
        const QSignalBlocker quiet(popup);
        popup->setCurrentIndex(value - 1);
    }
}

int VolumeCount()
{
    const int count = GetThisWindowControlMax32(gMainWindowRef, "popb", 2) - 2;
    return count > 0 ? count : 0;
}

void ResetPopup(int id, const char* status)
{
    TurnOnWindowPopupMenuItem(gMainWindowRef, id, 1);
    TurnOffControl("push", 1);
    SetText(5, status);
    SetPopupValue(id, 1);
    ResetZoneTestResults();
    ResetRandomTestResults();
    gDriveSizeInBytes64 = 0;
    gDriveSectorsU64 = 0;
}

void ReadyToBegin(int popupId, int64_t sizeBytes)
{
    TurnOffWindowPopupMenuItem(gMainWindowRef, popupId, 1);
    TurnOnControl("push", 1);
    SetText(5, "Ready To Begin");
    gDriveSizeInBytes64 = sizeBytes;
    gDriveSectorsU64 = static_cast<uint64_t>(sizeBytes) >> 9;
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
    AppendPopupItem(gMainWindowRef, 2, QString::fromStdString(VolumeItemText(Volumes(), static_cast<std::size_t>(slot))),
                    2 + slot, VolumeIcon());
}

// Volumes of the same name tell themselves apart by their device.
void RefreshVolumeItemTexts()
{
    auto* popup = Popup(2);
    for (std::size_t slot = 0; popup != nullptr && slot < Volumes().size(); ++slot) {
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
    SetText(1, kBlank);
    SetText(2, kBlank);
    SetText(kDriveDeviceText, kBlank);
    SetIcon(3, IconForPath(gPathToUnknownIcon));
    InsertSizeIncrements();
}

void UpdateSelectedDriveInfo()
{
    const DriveRecord* drive = ChosenDrive();
    if (drive == nullptr)
        return ClearSelectedDriveInfo();
    SetText(2, drive->sizeLabel.c_str());
    SetText(1, drive->interfaceText.c_str());
    SetText(kDriveDeviceText, drive->devicePath.c_str());
    SetIcon(3, IconForPath(drive->iconPath.c_str()));
    InsertSizeIncrements();
}

void RefreshChosenDrive()
{
    const DriveRecord* drive = ChosenDrive();
    if (drive == nullptr)
        return;
    gDriveSizeInBytes64 = drive->sizeBytes;
    gDriveSectorsU64 = static_cast<uint64_t>(drive->sizeBytes) >> 9;
    UpdateSelectedDriveInfo();
}

void ClearSelectedVolumeInfo()
{
    SetText(3, kBlank);
    SetText(4, kBlank);
    SetIcon(4, IconForPath(gPathToUnknownIcon));
    InsertSizeIncrements();
}

void UpdateSelectedVolumeInfo()
{
    const VolumeRecord* volume = ChosenVolume();
    if (volume == nullptr)
        return ClearSelectedVolumeInfo();
    SetText(4, volume->totalSizeLabel.c_str());
    SetText(3, volume->fileSystemName.c_str());
    SetIcon(4, VolumeIcon());
    InsertSizeIncrements();
}

void InsertSizeIncrements()
{
    const std::vector<AxisLabel> labels = PositionAxisLabels(static_cast<uint64_t>(gDriveSizeInBytes64));
    // The labels keep their places from the interface file as the axis's ends
    // (first and last) and stand where their value lies between them.
    QWidget* first = display::FindControl(MainWindow(), "stxt", 21);
    QWidget* last = display::FindControl(MainWindow(), "stxt", 31);
    const auto home = [](QWidget* label) {
        if (!label->property("axisHome").isValid())
            label->setProperty("axisHome", label->geometry().center().x());
        return label->property("axisHome").toInt();
    };
    for (int i = 0; i <= 10; ++i) {
        const bool shown = static_cast<std::size_t>(i) < labels.size();
        SetText(21 + i, shown ? labels[i].text.c_str() : kBlank);
        QWidget* label = display::FindControl(MainWindow(), "stxt", 21 + i);
        if (label == nullptr || first == nullptr || last == nullptr)
            continue;
        const double fraction = shown ? labels[i].fraction : i / 10.0;
        const int centre = home(first) + static_cast<int>(std::lround(fraction * (home(last) - home(first))));
        label->move(centre - label->width() / 2, label->y());
    }
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
    AddSeparatorToPopup(gMainWindowRef, 2);
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
    SetPopupValue(2, index + kFirstRecordItem);
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
    const int k = GetThisWindowControlValue32(gMainWindowRef, "popb", popupId);
    if (k < kFirstRecordItem || TestLaunchInProgress())
        return;
    ResetRandomTestResults();
    ResetZoneTestResults();
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
        DeletePopupMenuRefItems(gMainWindowRef, 2, 2, 1);
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
    const int value = GetThisWindowControlValue32(gMainWindowRef, "popb", 2);
    const int n = VolumeCount();
    const int i = Devices().VolumeSlot(mountPoint.toStdString());
    if (i < 0 || i >= n)
        return;
    Volumes().erase(Volumes().begin() + i);
    DeletePopupMenuRefItem(gMainWindowRef, 2, i + kFirstRecordItem);
    RefreshVolumeItemTexts();
    if (value - kFirstRecordItem == i) {
        ResetVolumesPopupMenu();
        DrawTestResults();
        InsertSizeIncrements();
    } else if (value - kFirstRecordItem > i) {
        SetPopupValue(2, value - 1);
    }
}

void InstallVolumeDrops()
{
    if (QWidget* pane = display::FindControl(MainWindow(), "tabp", 2)) {
        pane->setAcceptDrops(true);
        pane->installEventFilter(&gDropTarget);
    }
}
