// Finding controls by their dynamic properties and reading their values.
#include "display/ControlLookup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QWidget* Tagged(QWidget* widget, const char* signature, int id)
{
    widget->setProperty("controlSignature", QString::fromLatin1(signature));
    widget->setProperty("controlId", id);
    return widget;
}

TEST(ControlLookup, FindsByBothSignatureAndId)
{
    QWidget window;
    Tagged(&window, "wind", 1);
    auto* pane = Tagged(new QWidget(&window), "upan", 1);
    auto* label = Tagged(new QLabel(pane), "stxt", 11);
    Tagged(new QLabel(pane), "stxt", 12);
    auto* other = Tagged(new QLabel(pane), "etxt", 11);
    EXPECT_EQ(display::FindControl(&window, "stxt", 11), label);
    EXPECT_EQ(display::FindControl(&window, "etxt", 11), other);
    EXPECT_EQ(display::FindControl(&window, "upan", 1), pane);
    EXPECT_EQ(display::FindControl(&window, "wind", 1), &window);
    EXPECT_EQ(display::FindControl(&window, "stxt", 13), nullptr);
    EXPECT_EQ(display::FindControl(nullptr, "stxt", 11), nullptr);
    display::SetControlText(label, QStringLiteral("86.000"));
    EXPECT_EQ(display::ControlText(label), QStringLiteral("86.000"));
}

struct ValueRow {
    const char* name;
    std::function<QWidget*(QWidget* parent)> make;
    int expected;
};

TEST(ControlLookup, ValuesAreNumberedAsTheToolkitDoes)
{
    const ValueRow rows[] = {
        {"popup_second_item",
         [](QWidget* parent) {
             auto* combo = new QComboBox(parent);
             combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
             combo->setCurrentIndex(1);
             return combo;
         },
         2},
        {"group_box_with_popup",
         [](QWidget* parent) {
             auto* group = new QGroupBox(parent);
             auto* combo = new QComboBox(group);
             combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
             return group;
         },
         1},
        {"group_box_with_radios",
         [](QWidget* parent) {
             auto* group = new QGroupBox(parent);
             new QRadioButton(group);
             (new QRadioButton(group))->setChecked(true);
             return group;
         },
         2},
        {"checked_group_box",
         [](QWidget* parent) {
             auto* group = new QGroupBox(parent);
             group->setCheckable(true);
             group->setChecked(true);
             return group;
         },
         1},
        {"unchecked_box", [](QWidget* parent) { return new QCheckBox(parent); }, 0},
        {"no_control", [](QWidget*) { return static_cast<QWidget*>(nullptr); }, 0},
    };
    for (const ValueRow& row : rows) {
        QWidget window;
        EXPECT_EQ(display::ControlValue(row.make(&window)), row.expected) << row.name;
    }
}

}  // namespace
