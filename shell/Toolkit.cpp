#include "shell/Toolkit.h"

#include "display/ControlLookup.h"
#include "format/Localization.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>

#include <cstdio>
#include <cstring>

using display::ControlText;
using display::ControlValue;
using display::FindControl;
using display::SetControlText;

namespace {
QWidget* Window(WindowRef window)
{
    return static_cast<QWidget*>(window);
}

QWidget* Find(WindowRef window, const char* signature, int32_t id)
{
    return FindControl(Window(window), signature, id);
}

QComboBox* Popup(WindowRef window, int32_t popupId)
{
    return qobject_cast<QComboBox*>(Find(window, "popb", popupId));
}

QStandardItem* PopupItem(WindowRef window, int32_t popupId, int32_t item)
{
    QComboBox* popup = Popup(window, popupId);
    if (popup == nullptr)
        return nullptr;
    auto* model = qobject_cast<QStandardItemModel*>(popup->model());
    return model != nullptr ? model->item(item - 1) : nullptr;
}

// The submenu action at a 1-based item of a numbered menu of the main window's menu bar.
QAction* MenuItem(int16_t menuId, int16_t item)
{
    auto* window = qobject_cast<QMainWindow*>(Window(gMainWindowRef));
    QMenuBar* bar = window != nullptr ? window->menuBar() : nullptr;
    if (bar == nullptr)
        return nullptr;
    for (QMenu* menu : bar->findChildren<QMenu*>()) {
        if (menu->property("menuId").toInt() != menuId)
            continue;
        const QList<QAction*> actions = menu->actions();
        return item >= 1 && item <= actions.size() ? actions[item - 1] : nullptr;
    }
    return nullptr;
}

void SetSubMenuItemEnabled(int16_t menuId, int16_t item, int16_t subItem, bool enabled)
{
    QAction* action = MenuItem(menuId, item);
    if (action == nullptr)
        return;
    if (subItem == 0 || action->menu() == nullptr) {
        action->setEnabled(enabled);
        if (action->menu() != nullptr)
            action->menu()->setEnabled(enabled);
        return;
    }
    const QList<QAction*> subActions = action->menu()->actions();
    if (subItem <= subActions.size())
        subActions[subItem - 1]->setEnabled(enabled);
}

void SetTextOf(WindowRef window, const char* signature, int32_t id, const QString& text)
{
    QWidget* control = Find(window, signature, id);
    if (control == nullptr)
        return;
    SetControlText(control, text);
    // A label that elides a text too long for it shows the whole in its tooltip.
    if (auto* label = qobject_cast<QLabel*>(control); label && label->property("elide").toBool()) {
        const bool fits = label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width();
        label->setToolTip(fits ? QString() : text);
    }
}

// Removes characters from the start while keep() says so.
template <typename Predicate>
void StripLeading(char* text, Predicate strip)
{
    if (text == nullptr)
        return;
    std::size_t skip = 0;
    while (text[skip] != '\0' && strip(text[skip])) ++skip;
    std::memmove(text, text + skip, std::strlen(text + skip) + 1);
}
}  // namespace

int32_t GetMainWindowControlRef(const char* signature, int32_t id, QWidget** control)
{
    return GetThisWindowControlRef(gMainWindowRef, signature, id, control);
}

int32_t GetThisWindowControlRef(WindowRef window, const char* signature, int32_t id, QWidget** control)
{
    *control = Find(window, signature, id);
    return *control != nullptr ? 0 : kControlNotFound;
}

void SetThisWindowControlValue32(WindowRef window, const char* signature, int32_t id, int32_t value)
{
    QWidget* control = Find(window, signature, id);
    if (auto* popup = qobject_cast<QComboBox*>(control))
        popup->setCurrentIndex(value - 1);
    else if (auto* tabs = qobject_cast<QTabWidget*>(control))
        tabs->setCurrentIndex(value - 1);
    else if (auto* bar = qobject_cast<QProgressBar*>(control))
        bar->setValue(value);
    else if (auto* group = qobject_cast<QGroupBox*>(control); group && group->isCheckable())
        group->setChecked(value != 0);
    else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        // A group that chooses with a popup or with radio buttons inside it.
        if (auto* inner = group->findChild<QComboBox*>()) {
            inner->setCurrentIndex(value - 1);
        } else {
            int index = 0;
            for (QAbstractButton* radio : group->findChildren<QAbstractButton*>())
                if (radio->isCheckable() && ++index == value)
                    radio->setChecked(true);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setChecked(value != 0);
}

int32_t GetThisWindowControlValue32(WindowRef window, const char* signature, int32_t id)
{
    return ControlValue(Find(window, signature, id));
}

int32_t GetThisWindowControlMax32(WindowRef window, const char* signature, int32_t id)
{
    QWidget* control = Find(window, signature, id);
    if (auto* popup = qobject_cast<QComboBox*>(control))
        return popup->count();
    if (auto* tabs = qobject_cast<QTabWidget*>(control))
        return tabs->count();
    if (auto* bar = qobject_cast<QProgressBar*>(control))
        return bar->maximum();
    return 0;
}

void SetThisWindowControlMax32(WindowRef window, const char* signature, int32_t id, int32_t maximum)
{
    QWidget* control = Find(window, signature, id);
    if (auto* popup = qobject_cast<QComboBox*>(control)) {
        while (popup->count() > maximum && popup->count() > 0) popup->removeItem(popup->count() - 1);
    } else if (auto* bar = qobject_cast<QProgressBar*>(control)) {
        bar->setMaximum(maximum);
    }
}

void HideThisWindowControl(WindowRef window, const char* signature, int32_t id)
{
    if (QWidget* control = Find(window, signature, id))
        control->hide();
}

void ShowThisWindowControl(WindowRef window, const char* signature, int32_t id)
{
    if (QWidget* control = Find(window, signature, id))
        control->show();
}

void TurnOffControl(const char* signature, int32_t id)
{
    if (QWidget* control = Find(gMainWindowRef, signature, id))
        control->setEnabled(false);
}

void TurnOnControl(const char* signature, int32_t id)
{
    if (QWidget* control = Find(gMainWindowRef, signature, id))
        control->setEnabled(true);
}

void DrawThisControl(const char* signature, int32_t id)
{
    if (QWidget* control = Find(gMainWindowRef, signature, id))
        control->update();
}

void GetWindowControlRect(WindowRef window, const char* signature, int32_t id, QRect* bounds)
{
    QWidget* control = Find(window, signature, id);
    QWidget* top = Window(window);
    if (control == nullptr || top == nullptr) {
        *bounds = QRect();
        return;
    }
    const QWidget* client = top;
    if (auto* main = qobject_cast<QMainWindow*>(top); main && main->centralWidget())
        client = main->centralWidget();
    const QPoint topLeft = control == client ? QPoint(0, 0) : control->mapTo(client, QPoint(0, 0));
    *bounds = QRect(topLeft, control->size());
}

void DisableAllEmbeddedControls(WindowRef window, const char* signature, int32_t id)
{
    if (QWidget* parent = Find(window, signature, id))
        for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setEnabled(false);
}

void EnableAllEmbeddedControls(WindowRef window, const char* signature, int32_t id)
{
    if (QWidget* parent = Find(window, signature, id))
        for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setEnabled(true);
}

QWidget* InitThisTabControl(int16_t tabId, int16_t firstTab, int16_t lastTab)
{
    QWidget* tabs = Find(gMainWindowRef, "tabs", tabId);
    if (tabs == nullptr)
        return nullptr;
    SetThisWindowControlValue32(gMainWindowRef, "tabs", tabId, firstTab);
    // Panes outside a tab widget are hidden by hand; a tab widget shows only its current page.
    if (qobject_cast<QTabWidget*>(tabs) == nullptr)
        for (int pane = firstTab + 1; pane <= lastTab; ++pane) HideThisWindowControl(gMainWindowRef, "tabp", pane);
    return tabs;
}

void ChangePushButtonDefault(int32_t id, bool isDefault)
{
    if (auto* button = qobject_cast<QPushButton*>(Find(gMainWindowRef, "push", id)))
        button->setDefault(isDefault);
}

void ChangePushButtonNameCFStr(int32_t id, const char* titleKey)
{
    SetTextOf(gMainWindowRef, "push", id, QString::fromStdString(LocalizedText(titleKey)));
}

void PutIconRefIntoBevelButton(WindowRef window, int32_t id, const QIcon& icon)
{
    if (auto* button = qobject_cast<QAbstractButton*>(Find(window, "bevl", id)))
        button->setIcon(icon);
}

void PutIconRefIntoImageWell(WindowRef window, int32_t id, const QIcon& icon)
{
    auto* well = qobject_cast<QLabel*>(Find(window, "well", id));
    if (well == nullptr || icon.isNull())
        return;
    well->setPixmap(icon.pixmap(well->size()));
}

void SetEditTextControlWCStr(WindowRef window, int32_t id, const char* text)
{
    SetTextOf(window, "etxt", id, QString::fromUtf8(text));
}

int32_t GetEditTextControlCStr(WindowRef window, int32_t id, char* text)
{
    text[0] = '\0';
    QWidget* field = Find(window, "etxt", id);
    if (field == nullptr)
        return kControlNotFound;
    QByteArray bytes = ControlText(field).toUtf8();
    if (bytes.size() > 255)
        bytes.truncate(255);
    std::memcpy(text, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    text[bytes.size()] = '\0';
    return static_cast<int32_t>(bytes.size());
}

void GetEditTextControlPStr(WindowRef window, int32_t id, unsigned char* text)
{
    char buffer[256];
    const int32_t length = GetEditTextControlCStr(window, id, buffer);
    text[0] = static_cast<unsigned char>(length > 0 ? length : 0);
    std::memcpy(text + 1, buffer, text[0]);
}

void SetStatTextControlWCStr(WindowRef window, int32_t id, const char* text, bool /*truncate*/)
{
    if (text != nullptr)
        SetTextOf(window, "stxt", id, QString::fromStdString(LocalizedText(text)));
}

void SetStatTextControlWPStr(WindowRef window, int32_t id, const unsigned char* text, bool /*truncate*/)
{
    SetTextOf(window, "stxt", id, QString::fromUtf8(reinterpret_cast<const char*>(text + 1), text[0]));
}

void TurnOffSubMenuItem(int16_t menuId, int16_t item, int16_t subItem)
{
    SetSubMenuItemEnabled(menuId, item, subItem, false);
}

int32_t TurnOnSubMenuItem(int16_t menuId, int16_t item, int16_t subItem)
{
    if (MenuItem(menuId, item) == nullptr)
        return -1;
    SetSubMenuItemEnabled(menuId, item, subItem, true);
    return 0;
}

void TurnOffWindowPopupMenuItem(WindowRef window, int32_t popupId, int32_t item)
{
    if (QStandardItem* entry = PopupItem(window, popupId, item)) {
        entry->setEnabled(false);
        entry->setData(QVariant(), Qt::CheckStateRole);
    }
}

void TurnOnWindowPopupMenuItem(WindowRef window, int32_t popupId, int32_t item)
{
    if (QStandardItem* entry = PopupItem(window, popupId, item)) {
        entry->setEnabled(true);
        entry->setData(Qt::Checked, Qt::CheckStateRole);
    }
}

void DeletePopupMenuRefItems(WindowRef window, int32_t popupId, int16_t firstItem, int16_t keep)
{
    QComboBox* popup = Popup(window, popupId);
    if (popup == nullptr)
        return;
    const int count = popup->count() - keep;
    for (int i = 0; i < count && firstItem - 1 < popup->count(); ++i) popup->removeItem(firstItem - 1);
}

void DeletePopupMenuRefItem(WindowRef window, int32_t popupId, int32_t item)
{
    if (QComboBox* popup = Popup(window, popupId); popup != nullptr && item >= 1 && item <= popup->count())
        popup->removeItem(item - 1);
}

void AppendPopupItem(WindowRef window, int32_t popupId, const QString& text, int32_t commandId, const QIcon& icon)
{
    if (QComboBox* popup = Popup(window, popupId)) {
        const QSignalBlocker quiet(popup);  // building the list is no choice of the user's
        popup->addItem(icon, text, commandId);
    }
}

void AddSeparatorToPopup(WindowRef window, int32_t popupId)
{
    if (QComboBox* popup = Popup(window, popupId)) {
        const QSignalBlocker quiet(popup);
        popup->insertSeparator(popup->count());
    }
}

void ConvertSlashesAndDashes(char* text)
{
    for (char* c = text; *c != '\0'; ++c)
        if (*c == '/' || *c == '-')
            *c = '_';
}

void reverse(char* text)
{
    const std::size_t length = std::strlen(text);
    for (std::size_t i = 0; i < length / 2; ++i) std::swap(text[i], text[length - 1 - i]);
}

void StripLeadingZeros(char* text)
{
    StripLeading(text, [](char c) { return c == '0'; });
}

void StripLeadingSpaces(char* text)
{
    StripLeading(text, [](char c) { return c == ' '; });
}

void StripAllSpaces(char* text)
{
    StripLeadingSpaces(text);
    std::size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
}

void PStrCopy(const unsigned char* source, unsigned char* destination)
{
    std::memcpy(destination, source, static_cast<std::size_t>(source[0]) + 1);
}

bool StringIsAllDigits(const char* text)
{
    if (text == nullptr)
        return false;
    for (const char* c = text; *c != '\0'; ++c)
        if (*c < '0' || *c > '9')
            return false;
    return true;
}

uint32_t GetHIToolboxVersion()
{
    static uint32_t version = 0;
    if (version == 0) {
        int major = 0, minor = 0, patch = 0;
        std::sscanf(qVersion(), "%d.%d.%d", &major, &minor, &patch);
        version = static_cast<uint32_t>(major * 256 + minor * 16 + patch);
    }
    return version;
}
