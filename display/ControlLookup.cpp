#include "display/ControlLookup.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

namespace {

bool HasControlId(const QObject* object, const char* signature, int id)
{
    const QVariant sig = object->property("controlSignature");
    if (!sig.isValid() || sig.toString() != QLatin1String(signature))
        return false;
    const QVariant cid = object->property("controlId");
    return cid.isValid() && cid.toInt() == id;
}

}  // namespace

QWidget* FindControl(QObject* root, const char* signature, int id)
{
    if (root == nullptr)
        return nullptr;
    if (root->isWidgetType() && HasControlId(root, signature, id))
        return static_cast<QWidget*>(root);
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children)
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
    if (const auto* bar = qobject_cast<const QTabBar*>(control))
        return bar->currentIndex() + 1;
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(control))
        return slider->value();
    if (const auto* spin = qobject_cast<const QSpinBox*>(control))
        return spin->value();
    if (const auto* progress = qobject_cast<const QProgressBar*>(control))
        return progress->value();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->isChecked() ? 1 : 0;
    if (const auto* group = qobject_cast<const QGroupBox*>(control); group && group->isCheckable())
        return group->isChecked() ? 1 : 0;
    const QVariant explicitValue = control->property("controlValue");
    if (explicitValue.isValid())
        return explicitValue.toInt();
    // A group box that chooses with a popup or radio buttons inside it.
    if (const auto* combo = control->findChild<const QComboBox*>())
        return combo->currentIndex() + 1;
    const auto radios = control->findChildren<const QAbstractButton*>();
    int index = 0;
    for (const QAbstractButton* radio : radios) {
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
    if (control == nullptr)
        return;
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else
        control->setProperty("text", text);
}

QString ControlText(const QWidget* control)
{
    if (control == nullptr)
        return {};
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    return control->property("text").toString();
}
