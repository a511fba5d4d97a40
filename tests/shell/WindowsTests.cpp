// The windows built from the interface files, offscreen.
#include <gtest/gtest.h>

#include "devices/DriveRecords.h"
#include "display/ControlLookup.h"
#include "display/GraphGeometry.h"
#include "display/GraphView.h"
#include "display/ResultPanes.h"
#include "engine/TestModel.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "shell/Preferences.h"
#include "shell/QtLaunch.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QWindow>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cmath>
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

    // The second item of the drive and volume popups is a separator nobody can choose.
    for (const int popupId : {1, 2}) {
        auto* popup = qobject_cast<QComboBox*>(display::FindControl(main, "popb", popupId));
        auto* model = qobject_cast<QStandardItemModel*>(popup->model());
        ASSERT_NE(model, nullptr);
        ASSERT_GE(model->rowCount(), 2);
        EXPECT_FALSE(model->item(1)->flags() & Qt::ItemIsSelectable) << popupId;
        EXPECT_FALSE(model->item(1)->flags() & Qt::ItemIsEnabled) << popupId;
        EXPECT_NE(popup->itemText(1), "-") << popupId;
    }
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

// The window as a user drives it: the gear, the options sheet's controls, its
// OK button, Escape and the close button, and what the graph then shows.
class WindowUse : public Windows {
protected:
    void SetUp() override
    {
        Windows::SetUp();
        InstallCommandHandlers({});
        // The sheet's refusals come as the program's standard alerts.
        SetAlertPresenter([this](const AlertContent& alert) {
            rejections << alert.message;
            EXPECT_EQ(alert.title, "Error");
        });
    }
    void TearDown() override
    {
        SetAlertPresenter(nullptr);
        ShutDownCommands();
        ResetZoneTestResults();
        gMaxSpeed = 0.0;
        Windows::TearDown();
    }
    static QWidget* Main() { return static_cast<QWidget*>(gMainWindowRef); }
    static QWidget* Sheet() { return static_cast<QWidget*>(gSettingsSheetWindow); }
    static void Click(QWidget* window, const char* signature, int id)
    {
        auto* button = qobject_cast<QAbstractButton*>(display::FindControl(window, signature, id));
        ASSERT_NE(button, nullptr) << signature << id;
        ASSERT_TRUE(button->isVisible()) << signature << id;
        button->click();
    }
    // Opens the sheet with the gear and fills it; OK when confirm is set.
    static void FillSheet(const char* size, int zones, bool overlay, const char* target, int safety)
    {
        Click(Main(), "bevl", 9);
        ASSERT_TRUE(Sheet()->isVisible());
        SetEditTextControlWCStr(gSettingsSheetWindow, 1, size);
        SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 3, zones);
        SetThisWindowControlValue32(gSettingsSheetWindow, "cgrp", 1, overlay ? 1 : 0);
        SetEditTextControlWCStr(gSettingsSheetWindow, 2, target);
        SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 7, safety);
    }
    static void Confirm() { Click(Sheet(), "push", 10); }
    // One measured zone, as a finished test leaves it.
    static void MeasuredZone(double maxSpeed)
    {
        ResetZoneTestResults();
        gZoneTestCountS32 = 1;
        gBarGraphWidth = 15;
        gDriveSectorsU64 = 1000000;
        ZoneResultsRec& zone = gSavedREADResultsInfo[0];
        zone.cycleSpeedDbl[0] = maxSpeed;
        zone.minSpeedDbl = maxSpeed / 4;
        zone.aveSpeedDbl = maxSpeed / 2;
        zone.maxSpeedDbl = maxSpeed;
        gMaxSpeed = maxSpeed;
    }
    QStringList rejections;
};

// A grab of the graph, read in window coordinates at its device pixel ratio.
struct GraphGrab {
    GraphGrab()
    {
        DrawTestResults();
        image = CurrentGraphView()->grab().toImage();
        ratio = image.devicePixelRatio();
    }
    int X(int x) const { return int(std::lround(x * ratio)) - int(std::lround(gButtonPictRect.left * ratio)); }
    int Y(int y) const { return int(std::lround(y * ratio)) - int(std::lround(gButtonPictRect.top * ratio)); }
    QRgb At(int x, int y) const { return image.pixel(X(x), Y(y)); }
    // Every device pixel of the row at window y, across the overlay lines' span, is white.
    bool WhiteRow(int y) const
    {
        for (int x = X(gGraphicChartRect.left); x < X(gGraphicChartRect.right + kOverlayLineOverhang + 1); ++x)
            if (image.pixel(x, Y(y)) != qRgb(255, 255, 255))
                return false;
        return true;
    }
    QImage image;
    qreal ratio = 1.0;
};

int Washed(int channel)
{
    return (channel * 0xAAAA + 0xFF * (0xFFFF - 0xAAAA)) / 0xFFFF;
}

TEST_F(WindowUse, TheOverlayShowsWhatTheConfirmedSheetSays)
{
    struct Row {
        const char* target;
        int safety;       // popup value: margin (5 * value - 5) percent
        double maxSpeed;  // measured
        bool warning;
    };
    const Row rows[] = {{"3000", 3, 4000.0, false}, {"1500", 5, 2400.5, false}, {"5000", 1, 4000.0, true}};
    const Rect& chart = gGraphicChartRect;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target);
        MeasuredZone(row.maxSpeed);
        FillSheet("4", 1, false, row.target, row.safety);
        Confirm();
        const GraphGrab plain;  // the overlay switched off
        FillSheet("4", 1, true, row.target, row.safety);
        Confirm();
        ASSERT_FALSE(Sheet()->isVisible());
        ASSERT_TRUE(rejections.isEmpty()) << rejections.join(", ").toStdString();
        EXPECT_EQ(display::ControlText(display::FindControl(Main(), "stxt", 9)), QString(row.target) + " MB/sec");
        const GraphGrab grab;

        const double top = std::floor(row.maxSpeed + 1.0);
        const int yT = int(std::trunc(chart.bottom - 10.0 * gGridHeight * std::atof(row.target) / top));
        const int yS = std::max<int>(chart.top, yT - int(std::trunc((chart.bottom - yT) * (5 * row.safety - 5) / 100.0)));
        if (row.warning) {
            // White letters across the chart's middle, no lines.
            int white = 0;
            for (int y = grab.Y(chart.top); y < grab.Y(chart.bottom); ++y)
                for (int x = grab.X(chart.left); x < grab.X(chart.right); ++x)
                    white += grab.image.pixel(x, y) == qRgb(255, 255, 255);
            EXPECT_GT(white, 300 * grab.ratio * grab.ratio);
            EXPECT_FALSE(grab.WhiteRow(yT));
            continue;
        }
        EXPECT_TRUE(grab.WhiteRow(yT)) << "target line at " << yT;
        EXPECT_TRUE(grab.WhiteRow(yS)) << "safety line at " << yS;
        EXPECT_GT(yT - yS, 3);
        // The band between them is the plain graph washed a third toward white.
        for (int y = yS + 1; y < yT; ++y)
            for (int x = chart.left; x < chart.right + kOverlayLineOverhang; x += 7) {
                const QRgb before = plain.At(x, y), after = grab.At(x, y);
                ASSERT_LE(std::abs(qRed(after) - Washed(qRed(before))), 1) << x << "," << y;
                ASSERT_LE(std::abs(qBlue(after) - Washed(qBlue(before))), 1) << x << "," << y;
            }
        // Below the target line the graph is untouched.
        EXPECT_EQ(grab.At(chart.left + 3, yT + 2), plain.At(chart.left + 3, yT + 2));
    }
}

// Run at scale 1 and, by its own test entry, with QT_SCALE_FACTOR=2.
TEST_F(WindowUse, TheGraphIsDrawnAtTheDevicePixelRatio)
{
    MeasuredZone(100.0);
    const GraphGrab grab;
    if (const QByteArray factor = qgetenv("QT_SCALE_FACTOR"); !factor.isEmpty()) {
        EXPECT_DOUBLE_EQ(grab.ratio, factor.toDouble());
    }
    EXPECT_EQ(grab.image.width(), std::ceil(RectWidth(gButtonPictRect) * grab.ratio)) << "not a scaled-up picture";
    const Rect& chart = gGraphicChartRect;
    // Grid lines one device pixel thin, away from the bar at the chart's left.
    const int x = grab.X(chart.right - 5), y = grab.Y(chart.bottom - 5 * gGridHeight);
    EXPECT_NE(grab.image.pixel(x, y), grab.image.pixel(x, y - 1));
    EXPECT_EQ(grab.image.pixel(x, y - 1), grab.image.pixel(x, y + 1));
    const int column = grab.X(chart.left + 7 * gGridWidth), row = grab.Y(chart.top + 20);
    EXPECT_NE(grab.image.pixel(column, row), grab.image.pixel(column - 1, row));
    EXPECT_EQ(grab.image.pixel(column - 1, row), grab.image.pixel(column + 1, row));
}

TEST_F(WindowUse, TheSpeedLabelsStandOnTheirGridLinesAndAreNeverCut)
{
    for (const double maxSpeed : {85.3, 45678.9, 2345678.9}) {
        MeasuredZone(maxSpeed);
        DrawTestResults();
        for (int i = 0; i < 10; ++i) {
            auto* label = qobject_cast<QLabel*>(display::FindControl(Main(), "stxt", 11 + i));
            ASSERT_NE(label, nullptr);
            // Where the graph shows the line, in the window as it is laid out now.
            const QPoint line = CurrentGraphView()->mapTo(
                Main(), QPoint(0, gGraphicChartRect.bottom - (10 - i) * gGridHeight - gButtonPictRect.top));
            const QRect bounds(label->mapTo(Main(), QPoint(0, 0)), label->size());
            EXPECT_LE(std::abs(bounds.center().y() - line.y()), 1) << i;
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
            EXPECT_LT(bounds.right(), CurrentGraphView()->mapTo(Main(), QPoint(0, 0)).x()) << i;
        }
    }
    EXPECT_EQ(display::ControlText(display::FindControl(Main(), "stxt", 11)), "2345679.000");
}

TEST_F(WindowUse, EscapeAndCloseCancelTheSheetAndStartKeepsTheAcceptedValues)
{
    FillSheet("8", 5, false, "", 1);
    Confirm();
    const QString summary = display::ControlText(display::FindControl(Main(), "stxt", 6));
    EXPECT_EQ(summary, "8 Megabytes");
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "close button");
        FillSheet("abc", 9, true, "x", 4);
        // While the sheet is open Start still reads what was accepted.
        EXPECT_EQ(WindowLaunch().TransferSizeText(), "8");
        EXPECT_EQ(WindowLaunch().ZoneCount(), 5);
        if (escape) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(Sheet(), &key);
        } else {
            Sheet()->close();
        }
        EXPECT_FALSE(Sheet()->isVisible());
        EXPECT_TRUE(rejections.isEmpty());
        EXPECT_EQ(display::ControlText(display::FindControl(Sheet(), "etxt", 1)), "8");
        EXPECT_EQ(GetThisWindowControlValue32(gSettingsSheetWindow, "popb", 3), 5);
        EXPECT_EQ(GetThisWindowControlValue32(gSettingsSheetWindow, "cgrp", 1), 0);
        EXPECT_FALSE(display::FindControl(Sheet(), "etxt", 2)->isEnabled());
        EXPECT_EQ(display::ControlText(display::FindControl(Main(), "stxt", 6)), summary);
        EXPECT_EQ(WindowLaunch().TransferSizeText(), "8");
        EXPECT_EQ(WindowLaunch().ZoneCount(), 5);
    }
    SaveApplicationPrefs();  // as at the program's end
    char saved[256];
    GetPrefsCString("TransferSize", saved);
    EXPECT_STREQ(saved, "8");
    // A refused OK is no acceptance either.
    FillSheet("abc", 9, false, "", 1);
    Confirm();
    EXPECT_EQ(rejections, QStringList{kSheetSizeNotWholeMessage});
    EXPECT_TRUE(Sheet()->isVisible());
    EXPECT_EQ(WindowLaunch().TransferSizeText(), "8");
}

TEST_F(WindowUse, TheAboutWindowBelongsToTheMainWindowAndOpensOverIt)
{
    ShowAboutWindow();
    auto* about = static_cast<QWidget*>(gAboutWindowRef);
    ASSERT_TRUE(about->isVisible());
    ASSERT_NE(about->windowHandle(), nullptr);
    EXPECT_EQ(about->windowHandle()->transientParent(), Main()->windowHandle());
    EXPECT_LE((about->frameGeometry().center() - Main()->frameGeometry().center()).manhattanLength(), 2);
}

// At a 12 pt system font no text of the main window or the options sheet is
// cut; long interface texts elide with "…" and show the whole in a tooltip.
TEST(LargeFonts, NoTextIsCutAtTwelvePoints)
{
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    SetPreferencesLocation("KestreliaWindowTests", "Kestrelia");
    std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
    const QFont systemFont = QApplication::font();
    QFont large = systemFont;
    large.setPointSize(12);
    QApplication::setFont(large);
    ASSERT_TRUE(CreateAllWindows({}));
    auto* main = static_cast<QWidget*>(gMainWindowRef);
    auto* sheet = static_cast<QWidget*>(gSettingsSheetWindow);
    // The longest texts the summaries and figures take.
    const std::pair<int, const char*> worst[] = {{6, "511 Megabytes"}, {9, "65535 MB/sec"}, {10, "50 %"},
                                                 {102, "MB per Second"}, {103, "MB per Second"},
                                                 {100, "12345.678"}, {104, "1234567"}, {111, "59 minutes, 59 seconds "}};
    for (const auto& [id, text] : worst) SetStatTextControlWCStr(main, id, text, false);
    sheet->show();
    QApplication::processEvents();
    for (QWidget* window : {main, sheet})
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->wordWrap() || label->text().trimmed().isEmpty() || label->property("elide").toBool())
                continue;
            const QFontMetrics metrics(label->font());
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
                << label->objectName().toStdString() << ": " << label->text().toStdString();
            EXPECT_LE(metrics.height(), label->contentsRect().height()) << label->objectName().toStdString();
        }
    // An interface text too long for its place is elided, and whole in its tooltip.
    const QString interfaceText = QStringLiteral("Loop:  File = /dev/shm/a-backing-file-with-a-long-name-indeed");
    SetStatTextControlWCStr(main, 1, interfaceText.toUtf8().constData(), false);
    auto* label = qobject_cast<QLabel*>(display::FindControl(main, "stxt", 1));
    EXPECT_EQ(label->text(), interfaceText);
    EXPECT_EQ(label->toolTip(), interfaceText);
    QImage shown(label->size(), QImage::Format_ARGB32);
    label->render(&shown);
    EXPECT_FALSE(shown.isNull());
    DestroyAllWindows();
    QApplication::setFont(systemFont);
}

TEST(ResourcesDirectory, BesideTheExecutablesFolder)
{
    EXPECT_EQ(ResourcesDirectoryFor("/usr/bin/kestrelia"), "/usr/share/kestrelia/");
    EXPECT_EQ(ResourcesDirectoryFor("/home/a/build/bin/kestrelia"), "/home/a/build/share/kestrelia/");
}
}  // namespace
