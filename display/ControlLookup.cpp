#include "display/ControlLookup.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

namespace display {
namespace {

bool HasControlId(const QObject* object, const char* signature, int id)
{
    const QVariant cid = object->property("controlId");
    return cid.isValid() && cid.toInt() == id &&
           object->property("controlSignature").toString() == QLatin1String(signature);
}

}  // namespace

QWidget* FindControl(QObject* root, const char* signature, int id)
{
    if (root == nullptr)
        return nullptr;
    if (root->isWidgetType() && HasControlId(root, signature, id))
        return static_cast<QWidget*>(root);
    for (QWidget* child : root->findChildren<QWidget*>())
        if (HasControlId(child, signature, id))
            return child;
    return nullptr;
}

int ControlValue(const QWidget* control)
{
    if (control == nullptr)
        return 0;
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentIndex() + 1;
    if (const auto* tabs = qobject_cast<const QTabWidget*>(control))
        return tabs->currentIndex() + 1;
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->isChecked() ? 1 : 0;
    if (const auto* group = qobject_cast<const QGroupBox*>(control); group && group->isCheckable())
        return group->isChecked() ? 1 : 0;
    // A group box that chooses with a popup or with radio buttons inside it.
    if (const auto* combo = control->findChild<const QComboBox*>())
        return combo->currentIndex() + 1;
    int index = 0;
    for (const QAbstractButton* radio : control->findChildren<const QAbstractButton*>()) {
        if (!radio->isCheckable())
            continue;
        ++index;
        if (radio->isChecked())
            return index;
    }
    return 0;
}

void SetControlText(QWidget* control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
}

QString ControlText(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    return {};
}

}  // namespace display
