#include "shell/Toolkit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QStandardItemModel>

namespace {
QStandardItem* PopupItem(QComboBox* popup, int item)
{
    auto* model = qobject_cast<QStandardItemModel*>(popup->model());
    return model != nullptr ? model->item(item - 1) : nullptr;
}
}  // namespace

void ShowText(QLabel* label, const QString& text)
{
    label->setText(text);
    if (label->property("elide").toBool()) {
        const bool fits = label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width();
        label->setToolTip(fits ? QString() : text);
    }
}

void NameFieldsByTheirLabels(QWidget* window)
{
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (QWidget* field = label->buddy(); field != nullptr && field->accessibleName().isEmpty())
            field->setAccessibleName(QString(label->text()).remove(QRegularExpression(QStringLiteral("&(?!&)"))));
}

void RoomForGroupTitles(QWidget* window)
{
    for (QGroupBox* box : window->findChildren<QGroupBox*>())
        if (!box->title().isEmpty())
            box->setMinimumWidth(box->fontMetrics().horizontalAdvance(box->title()) + 4 * box->fontMetrics().height());
}

void MakeSeparators(QWidget* window)
{
    for (QComboBox* popup : window->findChildren<QComboBox*>()) {
        const QSignalBlocker quiet(popup);
        for (int i = 0; i < popup->count(); ++i) {
            if (popup->itemText(i) != QLatin1String("-"))
                continue;
            popup->removeItem(i);
            popup->insertSeparator(i);
        }
    }
}

void SetPopupItemEnabled(QComboBox* popup, int item, bool enabled)
{
    if (QStandardItem* entry = PopupItem(popup, item)) {
        entry->setEnabled(enabled);
        entry->setData(enabled ? QVariant(Qt::Checked) : QVariant(), Qt::CheckStateRole);
    }
}

void SetPopupValue(QComboBox* popup, int item)
{
    const QSignalBlocker quiet(popup);
    popup->setCurrentIndex(item - 1);
}

void AppendPopupItem(QComboBox* popup, const QString& text, int commandId, const QIcon& icon)
{
    const QSignalBlocker quiet(popup);
    popup->addItem(icon, text, commandId);
}

void AppendPopupSeparator(QComboBox* popup)
{
    const QSignalBlocker quiet(popup);
    popup->insertSeparator(popup->count());
}

void RemovePopupItem(QComboBox* popup, int item)
{
    if (item >= 1 && item <= popup->count())
        popup->removeItem(item - 1);
}

void RemovePopupItemsFrom(QComboBox* popup, int firstItem)
{
    while (popup->count() >= firstItem && firstItem >= 1) popup->removeItem(firstItem - 1);
}
