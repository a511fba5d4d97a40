#include "shell/Selection.h"

#include "devices/DriveRecords.h"
#include "devices/MountControl.h"
#include "devices/VolumeRecords.h"
#include "display/ResultPanes.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "format/ByteText.h"
#include "shell/MainWindow.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include <cstring>
#include <string>
#include <sys/stat.h>

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
    gDriveSizeInBytes64 = 0;
    gDriveSectorsU64 = 0;
}

void ReadyToBegin(int popupId, int64_t sizeBytes)
{
    SetPopupItemEnabled(Popup(popupId), 1, false);
    Widgets().startButton->setEnabled(true);
    SetText(Widgets().statusLine, "Ready To Begin");
    gDriveSizeInBytes64 = sizeBytes;
    gDriveSectorsU64 = static_cast<uint64_t>(sizeBytes) >> 9;
}

QIcon VolumeIcon()
{
    return IconForPath("drive-harddisk");
}

// Appends record slot of the volume table to the popup.
void AppendVolumeItem(int slot)
{
    AppendPopupItem(Widgets().volumePopup, QString::fromStdString(VolumeItemText(gSavedVolInfoArray, slot + 1, slot)),
                    2 + slot, VolumeIcon());
}

// Volumes of the same name tell themselves apart by their device.
void RefreshVolumeItemTexts(int count)
{
    QComboBox* popup = Widgets().volumePopup;
    for (int slot = 0; slot < count && slot + 2 < popup->count(); ++slot)
        popup->setItemText(slot + 2, QString::fromStdString(VolumeItemText(gSavedVolInfoArray, count, slot)));
}

// A bind mount of a folder is no volume of its own; a btrfs subvolume is.
bool WholeFileSystemOrSubvolume(const VolInfoRec& record)
{
    MountTableEntry mount{record.mountSourceCStr, record.rootRef, record.fileSystemTypeCStr, record.vfsOptionsCStr,
                          record.fsOptionsCStr, record.fsRootCStr};
    return mount.root == "/" || IsSubvolumeMount(mount);
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
    SetText(Widgets().driveInterface, kBlank);
    SetText(Widgets().driveSize, kBlank);
    SetText(Widgets().driveDevice, kBlank);
    SetIcon(Widgets().driveIcon, IconForPath(gPathToUnknownIcon));
    InsertSizeIncrements();
}

void UpdateSelectedDriveInfo()
{
    if (gActiveDrive == nullptr)
        return ClearSelectedDriveInfo();
    char interfaceText[256];
    CopyPStrToCStr(gActiveDrive->interfaceInfoPStr, interfaceText);
    SetText(Widgets().driveSize, gActiveDrive->sizeLabelCStr);
    SetText(Widgets().driveInterface, interfaceText);
    // The device node ("/dev/nvme1n1") tells drives of the same make apart before a write test.
    SetText(Widgets().driveDevice, gActiveDrive->devicePathCStr);
    SetIcon(Widgets().driveIcon, IconForPath(gActiveDrive->iconPathCStr));
    InsertSizeIncrements();
}

void RefreshChosenDrive()
{
    if (gActiveDrive == nullptr)
        return;
    gDriveSizeInBytes64 = gActiveDrive->sizeInBytes64;
    gDriveSectorsU64 = static_cast<uint64_t>(gActiveDrive->sizeInBytes64) >> 9;
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
    if (gActiveVolume == nullptr)
        return ClearSelectedVolumeInfo();
    SetText(Widgets().volumeSize, gActiveVolume->totalSizeLabelCStr);
    SetText(Widgets().volumeFormat, gActiveVolume->fileSystemNameCStr);
    SetIcon(Widgets().volumeIcon, VolumeIcon());
    InsertSizeIncrements();
}

void InsertSizeIncrements()
{
    const Ui::MainWindow& ui = Widgets();
    QLabel* const labels[] = {ui.positionLabel0, ui.positionLabel1, ui.positionLabel2, ui.positionLabel3,
                              ui.positionLabel4, ui.positionLabel5, ui.positionLabel6, ui.positionLabel7,
                              ui.positionLabel8, ui.positionLabel9, ui.positionLabel10};
    const uint64_t size = static_cast<uint64_t>(gDriveSizeInBytes64);
    const uint64_t step = size / 10;
    for (int i = 0; i <= 10; ++i) {
        char text[256];
        if (size == 0)
            std::strcpy(text, kBlank);
        else
            BytesSInt64ToCStrGB(static_cast<int64_t>(step * static_cast<uint64_t>(i)), text);
        SetText(labels[i], text);
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
    AppendPopupSeparator(Widgets().volumePopup);
    const int count = ListTestableVolumes(gSavedVolInfoArray, true);
    for (int slot = 0; slot < count; ++slot)
        AppendVolumeItem(slot);
    RefreshVolumeItemTexts(count);
    return count;
}

bool AppendPopupWithThisVolume(const QString& mountPoint)
{
    const int slot = VolumeCount();
    if (slot >= kMaxVolumeCount)
        return false;
    VolInfoRec& record = gSavedVolInfoArray[slot];
    std::memset(&record, 0, sizeof record);
    if (FindMountedVolume(mountPoint.toUtf8().constData(), &record, true) != 0 ||
        std::strncmp(record.rawDevicePathCStr, "/dev/", 5) != 0 || !WholeFileSystemOrSubvolume(record)) {
        std::memset(&record, 0, sizeof record);
        return false;
    }
    AppendVolumeItem(slot);
    RefreshVolumeItemTexts(slot + 1);
    return true;
}

void ChooseListedVolume(int index)
{
    if (index < 0 || index >= VolumeCount())
        return;
    SetPopupValue(Widgets().volumePopup, index + kFirstRecordItem);
    gActiveVolume = &gSavedVolInfoArray[index];
    ReadyToBegin(2, static_cast<int64_t>(gActiveVolume->totalBytes64));
    UpdateSelectedVolumeInfo();
}

bool ChooseVolumeAtMountPoint(const QString& mountPoint)
{
    const std::string point = mountPoint.toStdString();
    for (int i = 0; i < VolumeCount(); ++i) {
        if (point == gSavedVolInfoArray[i].rootRef) {
            ChooseListedVolume(i);
            return true;
        }
    }
    return false;
}

int ListedVolumeHolding(const QString& path)
{
    const std::string target = path.toStdString();
    for (int i = 0; i < VolumeCount(); ++i)
        if (gSavedVolInfoArray[i].rootRef[0] != '\0' && SameFileSystem(target, gSavedVolInfoArray[i].rootRef))
            return i;
    return -1;
}

void DoPopupMenuSelection(int popupId)
{
    const int k = Popup(popupId)->currentIndex() + 1;
    if (k < kFirstRecordItem || TestLaunchInProgress())
        return;
    ResetRandomTestResults();
    ResetZoneTestResults();
    if (popupId == 1) {
        gActiveDrive = &gSavedDriveInfoArray[k - kFirstRecordItem];
        ReadyToBegin(1, gActiveDrive->sizeInBytes64);
        UpdateSelectedDriveInfo();
    } else if (popupId == 2) {
        const VolInfoRec& record = gSavedVolInfoArray[k - kFirstRecordItem];
        VolInfoRec now {};
        // A volume that is no longer mounted where it was resets the tab.
        if (FindMountedVolume(record.rootRef, &now, true) != 0 ||
            std::strcmp(now.rawDevicePathCStr, record.rawDevicePathCStr) != 0)
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
    if (gIgnoreRemountVol) {
        gIgnoreRemountVol = false;
        return;
    }
    AppendPopupWithThisVolume(mountPoint);
}

void VolumeUnmountedNotice(const QString& mountPoint)
{
    // A test unmounts and mounts back volumes itself; its clean-up rebuilds the list.
    if (gDVLastTabIndex != 2 || TestLaunchInProgress())
        return;
    const int value = Widgets().volumePopup->currentIndex() + 1;
    const int n = VolumeCount();
    const std::string point = mountPoint.toStdString();
    int i = 0;
    while (i < n && point != gSavedVolInfoArray[i].rootRef) ++i;
    if (i == n)
        return;
    if (i == n - 1)
        std::memset(&gSavedVolInfoArray[i], 0, sizeof gSavedVolInfoArray[i]);
    else
        std::memmove(&gSavedVolInfoArray[i], &gSavedVolInfoArray[i + 1],
                     sizeof gSavedVolInfoArray[0] * static_cast<std::size_t>(n - 1 - i));
    RemovePopupItem(Widgets().volumePopup, i + kFirstRecordItem);
    RefreshVolumeItemTexts(n - 1);
    if (value - kFirstRecordItem == i) {
        ResetVolumesPopupMenu();
        DrawTestResults();
        InsertSizeIncrements();
    } else if (value - kFirstRecordItem > i) {
        SetPopupValue(Widgets().volumePopup, value - 1);
        gActiveVolume = &gSavedVolInfoArray[value - 1 - kFirstRecordItem];
    }
}

void InstallVolumeDrops()
{
    QWidget* pane = Widgets().volumePane;
    pane->setAcceptDrops(true);
    pane->installEventFilter(&gDropTarget);
}
