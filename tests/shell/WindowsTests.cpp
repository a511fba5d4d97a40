// The windows built from the interface files, offscreen.
#include <gtest/gtest.h>

#include "devices/DriveRecords.h"
#include "display/ControlLookup.h"
#include "display/GraphGeometry.h"
#include "shell/Preferences.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cstring>

namespace {
class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        SetPreferencesLocation("KestreliaWindowTests", "Kestrelia");
        std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
        ASSERT_TRUE(CreateAllWindows({[this] { ++readOnlyAnswers; }, [this] { ++cancelAnswers; }}));
    }
    void TearDown() override { DestroyAllWindows(); }

    QTemporaryDir settings;
    int readOnlyAnswers = 0;
    int cancelAnswers = 0;
};

TEST_F(Windows, EveryControlOfTheVocabularyIsThere)
{
    struct Id {
        const char* signature;
        int first, last;
    };
    const Id mainIds[] = {
        {"tabs", 0, 0}, {"tabp", 1, 2}, {"tabp", 12, 12}, {"popb", 1, 2}, {"push", 1, 1}, {"bevl", 9, 9},
        {"well", 1, 1}, {"icon", 3, 4}, {"stxt", 1, 31}, {"stxt", 100, 105}, {"stxt", 110, 111},
        {"stxt", 120, 121}, {"prgb", 110, 110}, {"prgb", 120, 120}, {"pgrp", 1, 1}, {"upan", 1, 2},
        {"upan", 10, 10}, {"grpb", 1, 2},
    };
    auto* main = static_cast<QWidget*>(gMainWindowRef);
    for (const Id& id : mainIds)
        for (int n = id.first; n <= id.last; ++n)
            EXPECT_NE(display::FindControl(main, id.signature, n), nullptr) << id.signature << " " << n;
    const Id sheetIds[] = {{"etxt", 1, 2}, {"popb", 3, 4}, {"popb", 7, 7}, {"cgrp", 1, 1}, {"push", 10, 10}};
    auto* sheet = static_cast<QWidget*>(gSettingsSheetWindow);
    for (const Id& id : sheetIds)
        for (int n = id.first; n <= id.last; ++n)
            EXPECT_NE(display::FindControl(sheet, id.signature, n), nullptr) << id.signature << " " << n;
    EXPECT_EQ(GetThisWindowControlMax32(sheet, "popb", 3), 50);
    EXPECT_EQ(GetThisWindowControlMax32(sheet, "popb", 4), 50);
}

TEST_F(Windows, TheMainWindowStartsIdleWithNothingChosen)
{
    auto* main = qobject_cast<QMainWindow*>(static_cast<QWidget*>(gMainWindowRef));
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(display::FindControl(main, "push", 1)->isEnabled());
    EXPECT_EQ(display::ControlText(display::FindControl(main, "stxt", 5)), "- No Drive Selected for Testing -");
    EXPECT_EQ(GetThisWindowControlValue32(main, "tabs", 0), 1);
    EXPECT_FALSE(display::FindControl(main, "tabp", 12)->isVisible());
    EXPECT_FALSE(static_cast<QWidget*>(gSettingsSheetWindow)->isVisible());
    EXPECT_EQ(static_cast<QWidget*>(gSettingsSheetWindow)->windowModality(), Qt::WindowModal);
    EXPECT_EQ(static_cast<QWidget*>(gSettingsSheetWindow)->parentWidget(), main);

    // The commands and the save submenu, disabled until a test has finished.
    QStringList commands;
    for (QAction* action : main->findChildren<QAction*>()) commands << action->property("commandId").toString();
    for (const char* command : {"word", "xcel", "abou", "quit"}) EXPECT_TRUE(commands.contains(command)) << command;
    QMenu* fileMenu = nullptr;
    for (QMenu* menu : main->menuBar()->findChildren<QMenu*>())
        if (menu->property("menuId").toInt() == 1) fileMenu = menu;
    ASSERT_NE(fileMenu, nullptr);
    QAction* saveItem = fileMenu->actions().value(0);
    ASSERT_NE(saveItem->menu(), nullptr);
    EXPECT_FALSE(saveItem->isEnabled());
    EXPECT_EQ(TurnOnSubMenuItem(1, 1, 0), 0);
    EXPECT_TRUE(saveItem->isEnabled());
}

TEST_F(Windows, IconsGeometryAndTheReadOnlySheet)
{
    auto* main = static_cast<QWidget*>(gMainWindowRef);
    auto* well = qobject_cast<QLabel*>(display::FindControl(main, "well", 1));
    ASSERT_NE(well, nullptr);
    EXPECT_FALSE(well->pixmap().isNull()) << "the application icon is read from its .icns file";
    EXPECT_FALSE(qobject_cast<QLabel*>(display::FindControl(main, "icon", 3))->pixmap().isNull());

    QRect graph;
    GetWindowControlRect(main, "upan", 10, &graph);
    EXPECT_EQ(RectWidth(gGraphicChartRect), graph.width() - 16);
    EXPECT_EQ(gGridWidth, (graph.width() - 16) / 10);
    EXPECT_FALSE(gTabPaneRect.isEmpty());
    EXPECT_EQ(gDragNDropBox, gTabPaneRect.adjusted(6, -4, -6, -6));

    ASSERT_NE(gMessageSheetWindow, nullptr);
    QMessageBox* sheet = gMessageSheetWindow;
    EXPECT_EQ(sheet->text(), "Sorry, unable to unmount and open volume for write testing.");
    EXPECT_EQ(sheet->informativeText(), "Would you like to test read speeds only?");
    sheet->open();
    sheet->button(QMessageBox::Ok)->click();
    sheet->open();
    sheet->button(QMessageBox::Cancel)->click();
    EXPECT_EQ(readOnlyAnswers, 1);
    EXPECT_EQ(cancelAnswers, 1);
    EXPECT_EQ(gMessageSheetWindow, sheet) << "built once, shown again";
}

TEST(ResourcesDirectory, BesideTheExecutablesFolder)
{
    EXPECT_EQ(ResourcesDirectoryFor("/usr/bin/kestrelia"), "/usr/share/kestrelia/");
    EXPECT_EQ(ResourcesDirectoryFor("/home/a/build/bin/kestrelia"), "/home/a/build/share/kestrelia/");
}
}  // namespace
