// The windows built from the interface files, offscreen, driven as a user
// does: the gear, the options sheet's controls, its OK button, Escape and the
// close button, what the graph then shows, and the preferences across restarts.
#include <gtest/gtest.h>

#include "devices/DriveRecords.h"
#include "display/ControlLookup.h"
#include "display/GraphGeometry.h"
#include "display/GraphView.h"
#include "display/OverlaySettings.h"
#include "display/ResultPanes.h"
#include "engine/LaunchChecks.h"
#include "engine/TestModel.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "shell/Preferences.h"
#include "shell/QtLaunch.h"
#include "shell/ShownRun.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QWindow>

#include <cmath>
#include <cstring>

using display::ControlText;
using display::FindControl;

namespace {
class WindowUse : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        SetPreferencesLocation("KestreliaWindowTests", "Kestrelia");
        std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
        // The sheet's refusals come as the program's standard alerts.
        SetAlertPresenter([this](const AlertContent& alert) {
            alerts << alert.title + ": " + alert.message + "|" + alert.explanation;
        });
        Open();
    }
    void TearDown() override
    {
        Close();
        SetAlertPresenter(nullptr);
        ResetZoneTestResults();
        gMaxSpeed = 0.0;
    }
    // The program's start and end as far as the windows go.
    static void Open()
    {
        ASSERT_TRUE(CreateAllWindows({}));
        InstallCommandHandlers({});
    }
    static void Close()
    {
        ShutDownCommands();  // saves the preferences
        DestroyAllWindows();
    }
    static QWidget* Main() { return static_cast<QWidget*>(gMainWindowRef); }
    static QWidget* Sheet() { return static_cast<QWidget*>(gSettingsSheetWindow); }
    static void Click(QWidget* window, const char* signature, int id)
    {
        auto* button = qobject_cast<QAbstractButton*>(FindControl(window, signature, id));
        ASSERT_NE(button, nullptr) << signature << id;
        ASSERT_TRUE(button->isVisible()) << signature << id;
        button->click();
    }
    // Opens the sheet with the gear and fills it.
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
    static int SheetValue(const char* signature, int id)
    {
        return GetThisWindowControlValue32(gSettingsSheetWindow, signature, id);
    }
    // The main window's summaries of size, cycles, zones, target, margin and queue depth.
    static QStringList Summaries()
    {
        QStringList texts;
        for (const int id : {6, 7, 8, 9, 10, 130}) texts << ControlText(FindControl(Main(), "stxt", id));
        return texts;
    }
    // A run of one measured zone on show.
    static void MeasuredZone(double maxSpeed)
    {
        ::Run run;
        run.target.sizeBytes = 1000000ull * 512;
        run.end = RunEnd::Completed;
        run.zones.resize(1);
        ZoneSpeeds& zone = run.zones[0].read;
        zone.cycles[0] = maxSpeed;
        zone.minimum = maxSpeed / 4;
        zone.average = maxSpeed / 2;
        zone.maximum = maxSpeed;
        run.maxSpeed = maxSpeed;
        ShowOpenedRun(run);
        InstallShownRun();
    }

    QTemporaryDir settings;
    QStringList alerts;  // "title: message|explanation"
};
// Suites of their own, so that only the graph's tests run again at scale 2.
class Windows : public WindowUse {};
class Preferences : public WindowUse {};

TEST_F(Windows, EveryControlOfTheVocabularyIsThere)
{
    struct Id {
        QWidget* window;
        const char* signature;
        int first, last;
    };
    const Id ids[] = {
        {Main(), "tabs", 0, 0}, {Main(), "tabp", 1, 2}, {Main(), "tabp", 12, 12}, {Main(), "popb", 1, 2},
        {Main(), "push", 1, 1}, {Main(), "bevl", 9, 9}, {Main(), "well", 1, 1}, {Main(), "icon", 3, 4},
        {Main(), "stxt", 1, 31}, {Main(), "stxt", 100, 105}, {Main(), "stxt", 110, 111}, {Main(), "stxt", 120, 121},
        {Main(), "prgb", 110, 110}, {Main(), "prgb", 120, 120}, {Main(), "pgrp", 1, 1}, {Main(), "upan", 1, 2},
        {Main(), "upan", 10, 10}, {Main(), "grpb", 1, 2}, {Main(), "stxt", 130, 130}, {Sheet(), "etxt", 1, 2},
        {Sheet(), "popb", 3, 4}, {Sheet(), "popb", 7, 8}, {Sheet(), "cgrp", 1, 1}, {Sheet(), "push", 10, 10},
    };
    for (const Id& id : ids)
        for (int n = id.first; n <= id.last; ++n)
            EXPECT_NE(FindControl(id.window, id.signature, n), nullptr) << id.signature << " " << n;
    EXPECT_EQ(GetThisWindowControlMax32(Sheet(), "popb", 3), 50);
    EXPECT_EQ(GetThisWindowControlMax32(Sheet(), "popb", 4), 50);
}

TEST_F(Windows, TheMainWindowOpensIdleWithItsIconsAndNothingChosen)
{
    auto* main = qobject_cast<QMainWindow*>(Main());
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(FindControl(main, "push", 1)->isEnabled());
    EXPECT_EQ(ControlText(FindControl(main, "stxt", 5)), "- No Drive Selected for Testing -");
    EXPECT_EQ(GetThisWindowControlValue32(main, "tabs", 0), 1);
    EXPECT_FALSE(FindControl(main, "tabp", 12)->isVisible());
    // The options sheet and the read-only question belong to the main window, window-modal.
    for (QWidget* sheet : {Sheet(), static_cast<QWidget*>(gMessageSheetWindow)}) {
        EXPECT_FALSE(sheet->isVisible());
        EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
        EXPECT_EQ(sheet->parentWidget(), main);
    }
    EXPECT_EQ(gMessageSheetWindow->text(), "Sorry, unable to unmount and open volume for write testing.");
    EXPECT_EQ(gMessageSheetWindow->informativeText(), "Would you like to test read speeds only?");
    // The application's icon is read from its .icns file; the unknown device's too.
    const std::pair<const char*, int> icons[] = {{"well", 1}, {"icon", 3}};
    for (const auto& [signature, id] : icons)
        EXPECT_FALSE(qobject_cast<QLabel*>(FindControl(main, signature, id))->pixmap().isNull()) << signature;

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
        auto* popup = qobject_cast<QComboBox*>(FindControl(main, "popb", popupId));
        auto* model = qobject_cast<QStandardItemModel*>(popup->model());
        ASSERT_NE(model, nullptr);
        ASSERT_GE(model->rowCount(), 2);
        EXPECT_FALSE(model->item(1)->flags() & (Qt::ItemIsSelectable | Qt::ItemIsEnabled)) << popupId;
    }
}

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

// The overlay follows the confirmed sheet: its switch, target and margin.
TEST_F(WindowUse, TheOverlayShowsWhatTheConfirmedSheetSays)
{
    MeasuredZone(4000.0);
    const Rect& chart = gGraphicChartRect;
    // A 4001 MB/s scale; a margin of 10 % (safety popup 3) above the target.
    const int yT = int(std::trunc(chart.bottom - 10.0 * gGridHeight * 3000 / 4001.0));
    const int yS = yT - int(std::trunc((chart.bottom - yT) * 10 / 100.0));
    for (const bool overlay : {true, false}) {
        FillSheet("4", 1, overlay, "3000", 3);
        Confirm();
        ASSERT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
        const GraphGrab grab;
        EXPECT_EQ(grab.WhiteRow(yT), overlay) << "target line at " << yT;
        EXPECT_EQ(grab.WhiteRow(yS), overlay) << "safety line at " << yS;
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
            auto* label = qobject_cast<QLabel*>(FindControl(Main(), "stxt", 11 + i));
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
// cut; long interface texts elide and show the whole in a tooltip.
TEST_F(Windows, NoTextIsCutAtTwelvePoints)
{
    const QFont systemFont = QApplication::font();
    QFont large = systemFont;
    large.setPointSize(12);
    Close();
    QApplication::setFont(large);
    ASSERT_TRUE(CreateAllWindows({}));  // the windows of the interface files alone
    // The longest texts the summaries and figures take.
    const std::pair<int, const char*> worst[] = {{6, "511 Megabytes"}, {9, "65535 MB/sec"}, {10, "50 %"},
                                                 {102, "MB per Second"}, {103, "MB per Second"},
                                                 {100, "12345.678"}, {104, "1234567"}, {111, "59 minutes, 59 seconds "}};
    for (const auto& [id, text] : worst) SetStatTextControlWCStr(Main(), id, text, false);
    Sheet()->show();
    QApplication::processEvents();
    for (QWidget* window : {Main(), Sheet()})
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->wordWrap() || label->text().trimmed().isEmpty() || label->property("elide").toBool())
                continue;
            const QFontMetrics metrics(label->font());
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
                << label->objectName().toStdString() << ": " << label->text().toStdString();
            EXPECT_LE(metrics.height(), label->contentsRect().height()) << label->objectName().toStdString();
        }
    const QString interfaceText = QStringLiteral("Loop:  File = /dev/shm/a-backing-file-with-a-long-name-indeed");
    SetStatTextControlWCStr(Main(), 1, interfaceText.toUtf8().constData(), false);
    auto* label = qobject_cast<QLabel*>(FindControl(Main(), "stxt", 1));
    EXPECT_EQ(label->text(), interfaceText);
    EXPECT_EQ(label->toolTip(), interfaceText);
    QApplication::setFont(systemFont);
}

// A first run reads what an older suite holds and keeps the interface's own
// contents for the rest; accepted values are stored under the keys other
// versions of the program read, and come back after a restart.
TEST_F(Preferences, AcceptedValuesAreStoredAndSurviveARestart)
{
    {
        QSettings suite(QSettings::IniFormat, QSettings::UserScope, kPrefsSuiteDomain);
        suite.setValue("TransferSize", "64");
        suite.setValue("ZonesPopup", 7);
    }
    GetApplicationPrefs();  // as the opening window does
    EXPECT_EQ(GetPrefsVersion(), 0);
    EXPECT_EQ(ControlText(FindControl(Sheet(), "etxt", 1)), "64");
    EXPECT_EQ(Summaries(), (QStringList{"64 Megabytes", "1", "7", "Disabled", "Disabled", "Queue depth: 1"}));
    EXPECT_FALSE(gOverlayEnabled);
    EXPECT_FALSE(FindControl(Sheet(), "etxt", 2)->isEnabled());

    FillSheet("12", 20, true, "150", 3);
    SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 4, 3);
    SetThisWindowControlValue32(gSettingsSheetWindow, "popb", 8, 6);
    // The box enables its controls; the overlay itself waits for OK.
    EXPECT_TRUE(FindControl(Sheet(), "etxt", 2)->isEnabled() && FindControl(Sheet(), "popb", 7)->isEnabled());
    EXPECT_FALSE(gOverlayEnabled);
    Confirm();
    EXPECT_TRUE(gOverlayEnabled);
    const QSettings stored(QSettings::IniFormat, QSettings::UserScope, "KestreliaWindowTests", "Kestrelia");
    const std::pair<const char*, QString> keys[] = {
        {"AppPrefsVersionNum", QString::number(kAppPrefsVersion)}, {"OverlayEnabled", "true"},
        {"IterationsPopup", "3"}, {"ZonesPopup", "20"}, {"SafetyPopup", "3"}, {"TransferSize", "12"},
        {"BaselineSpeed", "150"}, {"RandomQueueDepth", "32"}};
    for (const auto& [key, value] : keys) EXPECT_EQ(stored.value(key).toString(), value) << key;
    // After a restart the suite's values above are no longer read.
    gOverlayEnabled = false;
    Close();
    Open();
    EXPECT_EQ(ControlText(FindControl(Sheet(), "etxt", 1)), "12");
    EXPECT_EQ(ControlText(FindControl(Sheet(), "etxt", 2)), "150");
    EXPECT_EQ((std::vector<int>{20, 3, 1, 3, 6}), (std::vector<int>{SheetValue("popb", 3), SheetValue("popb", 4),
                                                                      SheetValue("cgrp", 1), SheetValue("popb", 7),
                                                                      SheetValue("popb", 8)}));
    EXPECT_TRUE(gOverlayEnabled);
    EXPECT_TRUE(FindControl(Sheet(), "popb", 7)->isEnabled());
    EXPECT_EQ(SheetQueueDepth(), 32u);
    EXPECT_EQ(Summaries(), (QStringList{"12 Megabytes", "3", "20", "150 MB/sec", "10 %", "Queue depth: 32"}));

    // No margin, then the overlay switched off.
    FillSheet("12", 20, true, "80", 1);
    Confirm();
    EXPECT_EQ(Summaries().mid(3, 2), (QStringList{"80 MB/sec", "none"}));
    FillSheet("12", 20, false, "80", 1);
    Confirm();
    EXPECT_EQ(Summaries().mid(3, 2), (QStringList{"Disabled", "Disabled"}));
    EXPECT_FALSE(GetPrefsBoolKeyValue("OverlayEnabled"));
}

// Start reads only what the sheet accepted: OK with a value a test could not
// use is refused with an alert and leaves the sheet open with the user's text;
// Escape and the close button put the accepted values back.
TEST_F(Preferences, TheSheetKeepsTheAcceptedValuesUntilAnAcceptableOK)
{
    enum End { kOK, kEscape, kClose };
    struct Row {
        const char* size;
        const char* baseline;  // checked with the overlay off as well
        End end;
        QString alert;  // none: accepted or cancelled
    };
    const QString unsupported =
        QString("Error: ") + kTransferSizeUnsupportedMessage + "|" + kTransferSizeUnsupportedExplanation;
    const QString notWhole = QString("Error: ") + kSheetSizeNotWholeMessage + "|";
    const Row rows[] = {
        {"511", "", kOK, ""},
        {"1", "100", kOK, ""},
        {"8", "", kOK, ""},
        {"512", "", kOK, unsupported},
        {"0", "", kOK, unsupported},
        {"", "", kOK, unsupported},
        {"999999", "", kOK, unsupported},
        {"1a", "", kOK, notWhole},
        {"-1", "", kOK, notWhole},
        {"10", "10.5", kOK, QString("Error: ") + kSheetOverlayNotWholeMessage + "|"},
        {"abc", "x", kEscape, ""},
        {"abc", "x", kClose, ""},
    };
    QString accepted = "1";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        alerts.clear();
        // Accepted rows take 5 zones; cancelled ones try 9 and the overlay.
        FillSheet(row.size, row.end == kOK ? 5 : 9, row.end != kOK, row.baseline, 4);
        if (row.end == kOK) {
            Confirm();
        } else if (row.end == kEscape) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(Sheet(), &key);
        } else {
            Sheet()->close();
        }
        const bool refused = !row.alert.isEmpty();
        if (row.end == kOK && !refused)
            accepted = row.size;
        EXPECT_EQ(alerts, refused ? QStringList{row.alert} : QStringList{});
        EXPECT_EQ(Sheet()->isVisible(), refused);
        EXPECT_EQ(QString::fromStdString(WindowLaunch().TransferSizeText()), accepted);
        EXPECT_EQ(WindowLaunch().ZoneCount(), 5);
        EXPECT_EQ(ControlText(FindControl(Sheet(), "etxt", 1)), refused ? row.size : accepted);
        EXPECT_EQ(Summaries().first(), accepted + (accepted == "1" ? " Megabyte" : " Megabytes"));
        if (row.end != kOK) {
            EXPECT_EQ(SheetValue("popb", 3), 5);
            EXPECT_EQ(SheetValue("cgrp", 1), 0);
            EXPECT_FALSE(FindControl(Sheet(), "etxt", 2)->isEnabled());
        }
    }
}
}  // namespace
