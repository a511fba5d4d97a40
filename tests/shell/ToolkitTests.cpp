#include <gtest/gtest.h>

#include "shell/Toolkit.h"

#include <QComboBox>
#include <QLineEdit>

#include <cstring>
#include <string>

namespace {
std::string InPlace(void (*helper)(char*), const char* input)
{
    char text[64];
    std::strcpy(text, input);
    helper(text);
    return text;
}

TEST(ToolkitStrings, InPlaceHelpers)
{
    EXPECT_EQ(InPlace(StripAllSpaces, "  a b  "), "a b");
    EXPECT_EQ(InPlace(StripLeadingZeros, "000"), "");
    EXPECT_EQ(InPlace(ConvertSlashesAndDashes, "/dev/sd-b"), "_dev_sd_b");
    EXPECT_TRUE(StringIsAllDigits(""));
    EXPECT_FALSE(StringIsAllDigits("1 2"));
    EXPECT_FALSE(StringIsAllDigits(nullptr));
    StripLeadingZeros(nullptr);  // tolerated
}

TEST(ToolkitControls, MissingControlsAndPopupItems)
{
    QWidget window;
    EXPECT_EQ(GetThisWindowControlValue32(&window, "popb", 1), 0);
    QRect bounds(1, 2, 3, 4);
    GetWindowControlRect(&window, "popb", 1, &bounds);
    EXPECT_TRUE(bounds.isNull());

    auto* popup = new QComboBox(&window);  // owned by the window
    popup->setProperty("controlSignature", "popb");
    popup->setProperty("controlId", 2);
    for (const char* item : {"none", "", "A", "B", "C"}) popup->addItem(item);
    DeletePopupMenuRefItems(&window, 2, 2, 1);
    EXPECT_EQ(popup->count(), 1);
    AddSeparatorToPopup(&window, 2);
    AppendPopupItem(&window, 2, "Data", 2);
    EXPECT_EQ(GetThisWindowControlMax32(&window, "popb", 2), 3);
    SetThisWindowControlValue32(&window, "popb", 2, 3);
    EXPECT_EQ(GetThisWindowControlValue32(&window, "popb", 2), 3);

    auto* field = new QLineEdit(&window);
    field->setProperty("controlSignature", "etxt");
    field->setProperty("controlId", 1);
    field->setText(QString(300, 'x'));
    char text[256];
    EXPECT_EQ(GetEditTextControlCStr(&window, 1, text), 255);
    EXPECT_EQ(std::strlen(text), 255u);
}
}  // namespace
