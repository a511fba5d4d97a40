#include "shell/Selection.h"

#include "devices/DriveRecords.h"
#include "devices/MountControl.h"
#include "devices/VolumeRecords.h"
#include "display/ControlLookup.h"
#include "display/ResultPanes.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "format/ByteText.h"
#include "shell/ShownRun.h"
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
    ClearShownRun();
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

// Appends record slot of the volume table to the popup.
void AppendVolumeItem(int slot)
{
    AppendPopupItem(gMainWindowRef, 2, QString::fromStdString(VolumeItemText(gSavedVolInfoArray, slot + 1, slot)),
                    2 + slot, VolumeIcon());
}

// Volumes of the same name tell themselves apart by their device.
void RefreshVolumeItemTexts(int count)
{
    auto* popup = Popup(2);
    for (int slot = 0; popup != nullptr && slot < count && slot + 2 < popup->count(); ++slot)
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
    SetText(1, kBlank);
    SetText(2, kBlank);
    SetText(kDriveDeviceText, kBlank);
    SetIcon(3, IconForPath(gPathToUnknownIcon));
    InsertSizeIncrements();
}

void UpdateSelectedDriveInfo()
{
    if (gActiveDrive == nullptr)
        return ClearSelectedDriveInfo();
    char interfaceText[256];
    CopyPStrToCStr(gActiveDrive->interfaceInfoPStr, interfaceText);
    SetText(2, gActiveDrive->sizeLabelCStr);
    SetText(1, interfaceText);
    SetText(kDriveDeviceText, gActiveDrive->devicePathCStr);
    SetIcon(3, IconForPath(gActiveDrive->iconPathCStr));
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
    SetText(3, kBlank);
    SetText(4, kBlank);
    SetIcon(4, IconForPath(gPathToUnknownIcon));
    InsertSizeIncrements();
}

void UpdateSelectedVolumeInfo()
{
    if (gActiveVolume == nullptr)
        return ClearSelectedVolumeInfo();
    SetText(4, gActiveVolume->totalSizeLabelCStr);
    SetText(3, gActiveVolume->fileSystemNameCStr);
    SetIcon(4, VolumeIcon());
    InsertSizeIncrements();
}

namespace {
void ShowPositions(uint64_t size)
{
    const uint64_t step = size / 10;
    for (int i = 0; i <= 10; ++i) {
        char text[256];
        if (size == 0)
            std::strcpy(text, kBlank);
        else
            BytesSInt64ToCStrGB(static_cast<int64_t>(step * static_cast<uint64_t>(i)), text);
        SetText(21 + i, text);
    }
}
}  // namespace

void InsertSizeIncrements()
{
    ShowPositions(static_cast<uint64_t>(gDriveSizeInBytes64));
}

void ShowRunTarget(const RunTarget& target)
{
    if (target.isVolume) {
        SetText(3, target.name.c_str());
        SetText(4, target.sizeLabel.c_str());
    } else {
        SetText(1, target.name.c_str());
        SetText(2, target.sizeLabel.c_str());
        SetText(kDriveDeviceText, target.devicePath.c_str());
    }
    ShowPositions(target.sizeBytes);
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
    SetPopupValue(2, index + kFirstRecordItem);
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
    const int k = GetThisWindowControlValue32(gMainWindowRef, "popb", popupId);
    if (k < kFirstRecordItem || TestLaunchInProgress())
        return;
    ResetRandomTestResults();
    ResetZoneTestResults();
    ClearShownRun();
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
    const int value = GetThisWindowControlValue32(gMainWindowRef, "popb", 2);
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
    DeletePopupMenuRefItem(gMainWindowRef, 2, i + kFirstRecordItem);
    RefreshVolumeItemTexts(n - 1);
    if (value - kFirstRecordItem == i) {
        ResetVolumesPopupMenu();
        DrawTestResults();
        InsertSizeIncrements();
    } else if (value - kFirstRecordItem > i) {
        SetPopupValue(2, value - 1);
        gActiveVolume = &gSavedVolInfoArray[value - 1 - kFirstRecordItem];
    }
}

void InstallVolumeDrops()
{
    if (QWidget* pane = display::FindControl(MainWindow(), "tabp", 2)) {
        pane->setAcceptDrops(true);
        pane->installEventFilter(&gDropTarget);
    }
}
