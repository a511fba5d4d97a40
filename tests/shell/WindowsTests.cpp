// The windows built from the interface files, offscreen, driven as a user
// does: the gear, the options sheet's controls, its OK button, Escape and the
// close button, what the graph then shows, and the preferences across restarts.
#include <gtest/gtest.h>

#include "devices/DriveRecords.h"
#include "display/GraphGeometry.h"
#include "display/GraphView.h"
#include "display/OverlaySettings.h"
#include "display/ResultPanes.h"
#include "engine/LaunchChecks.h"
#include "format/Localization.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "shell/Preferences.h"
#include "shell/QtLaunch.h"
#include "shell/ShownRun.h"
#include "shell/StringsTable.h"
#include "shell/UserLanguage.h"
#include "shell/Windows.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSettings>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QWindow>

#include <cmath>
#include <cstring>

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
        ClearShownRun();
    }
    // The program's start and end as far as the windows go.
    static void Open()
    {
        CreateAllWindows();
        InstallCommandHandlers({});
    }
    static void Close()
    {
        ShutDownCommands();  // saves the preferences
        DestroyAllWindows();
    }
    static MainWindow* Main() { return TheMainWindow(); }
    static const Ui::MainWindow& Widgets() { return TheMainWindow()->ui; }
    static OptionsSheet* Sheet() { return TheMainWindow()->optionsSheet; }
    static const Ui::OptionsSheet& SheetWidgets() { return Sheet()->ui; }
    static void Click(QAbstractButton* button)
    {
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        button->click();
    }
    // Opens the sheet with the gear and fills it.
    static void FillSheet(const char* size, int zones, bool overlay, const char* target, int safety)
    {
        Click(Widgets().optionsButton);
        ASSERT_TRUE(Sheet()->isVisible());
        const Ui::OptionsSheet& sheet = SheetWidgets();
        EXPECT_EQ(Sheet()->focusWidget(), sheet.transferSize);  // wherever it was when the sheet closed
        sheet.zonesPopup->setFocus();
        sheet.transferSize->setText(size);
        sheet.zonesPopup->setCurrentIndex(zones - 1);
        sheet.overlayGroup->setChecked(overlay);
        sheet.baselineSpeed->setText(target);
        sheet.safetyPopup->setCurrentIndex(safety - 1);
    }
    static void Confirm() { Click(SheetWidgets().confirmButton); }
    // The popup's item counted from 1.
    static int Value(const QComboBox* popup) { return popup->currentIndex() + 1; }
    // The main window's summaries of size, cycles, zones, target, margin and queue depth.
    static QStringList Summaries()
    {
        const Ui::MainWindow& ui = Widgets();
        QStringList texts;
        for (const QLabel* label : {ui.sizeSummary, ui.cyclesSummary, ui.zonesSummary, ui.targetSummary,
                                    ui.safetySummary, ui.queueDepthSummary})
            texts << label->text();
        return texts;
    }
    // A run of one measured zone on show.
    static void MeasuredZone(double maxSpeed)
    {
        ::Run run;
        run.target.sizeBytes = 1000000ull * 512;
        run.end = RunEnd::Completed;
        run.zones.resize(1);
        run.zones[0].read = {{maxSpeed}, maxSpeed / 2, maxSpeed / 4, maxSpeed};
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

// The engine reaches the window's texts and bars by their control numbers.
TEST_F(Windows, TheNumberedTextsAndBarsAreTheirControls)
{
    const Ui::MainWindow& m = Widgets();
    const std::pair<int, const QLabel*> texts[] = {
        {1, m.driveInterface}, {2, m.driveSize}, {3, m.volumeFormat}, {4, m.volumeSize}, {5, m.statusLine},
        {32, m.driveDevice}, {100, m.readSpeed}, {101, m.writeSpeed}, {102, m.readUnit}, {103, m.writeUnit},
        {104, m.readRate}, {105, m.writeRate}, {106, m.queueDepth}, {107, m.readTimePerTransfer},
        {108, m.writeTimePerTransfer}, {110, m.readCount}, {111, m.readElapsed}, {120, m.writeCount},
        {121, m.writeElapsed}, {21, m.positionLabel0}, {31, m.positionLabel10}};
    for (const auto& [id, label] : texts) EXPECT_EQ(Main()->NumberedText(id), label) << id;
    EXPECT_EQ(Main()->NumberedProgressBar(110), m.readProgress);
    EXPECT_EQ(Main()->NumberedProgressBar(120), m.writeProgress);
    EXPECT_EQ(Main()->NumberedText(999), nullptr);
}

TEST_F(Windows, TheMainWindowOpensIdleWithItsIconsAndNothingChosen)
{
    const Ui::MainWindow& ui = Widgets();
    EXPECT_FALSE(ui.startButton->isEnabled());
    EXPECT_EQ(ui.statusLine->text(), "- No Drive Selected for Testing -");
    EXPECT_EQ(ui.driveVolumeTabs->currentIndex(), 0);
    EXPECT_FALSE(ui.spareTabPane->isVisible());
    // The options sheet and the read-only question belong to the main window, window-modal.
    QMessageBox* question = Main()->readOnlyQuestion;
    for (QWidget* sheet : {static_cast<QWidget*>(Sheet()), static_cast<QWidget*>(question)}) {
        EXPECT_FALSE(sheet->isVisible());
        EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
        EXPECT_EQ(sheet->parentWidget(), Main());
    }
    EXPECT_EQ(question->text(), "Sorry, unable to unmount and open volume for write testing.");
    EXPECT_EQ(question->informativeText(), "Would you like to test read speeds only?");
    // The application's icon is read from its .icns file; the unknown device's too.
    for (const QLabel* icon : {ui.appIcon, ui.driveIcon})
        EXPECT_FALSE(icon->pixmap().isNull()) << icon->objectName().toStdString();

    // The save submenu, first in the File menu and disabled until a test has finished.
    QAction* saveItem = ui.fileMenu->actions().value(0);
    ASSERT_EQ(saveItem->menu(), ui.saveMenu);
    EXPECT_FALSE(saveItem->isEnabled());
    Main()->SetSaveMenuEnabled(true);
    EXPECT_TRUE(saveItem->isEnabled());

    // The second item of the drive and volume popups is a separator nobody can choose.
    for (QComboBox* popup : {ui.drivePopup, ui.volumePopup}) {
        auto* model = qobject_cast<QStandardItemModel*>(popup->model());
        ASSERT_NE(model, nullptr);
        ASSERT_GE(model->rowCount(), 2);
        EXPECT_FALSE(model->item(1)->flags() & (Qt::ItemIsSelectable | Qt::ItemIsEnabled))
            << popup->objectName().toStdString();
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
            const QLabel* label = Main()->NumberedText(11 + i);
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

TEST_F(WindowUse, TheAboutWindowBelongsToTheMainWindowOpensOverItAndEscapeClosesIt)
{
    ShowAboutWindow();
    QWidget* about = Main()->aboutWindow;
    ASSERT_TRUE(about->isVisible());
    ASSERT_NE(about->windowHandle(), nullptr);
    EXPECT_EQ(about->windowHandle()->transientParent(), Main()->windowHandle());
    EXPECT_LE((about->frameGeometry().center() - Main()->frameGeometry().center()).manhattanLength(), 2);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(about, &escape);
    EXPECT_FALSE(about->isVisible());
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
    LoadPreferences();  // as the opening window does
    EXPECT_EQ(StoredPreferencesVersion(), 0);
    EXPECT_EQ(SheetWidgets().transferSize->text(), "64");
    EXPECT_EQ(Summaries(), (QStringList{"64 Megabytes", "1", "7", "Disabled", "Disabled", "Queue depth: 1"}));
    EXPECT_FALSE(gOverlayEnabled);
    EXPECT_FALSE(SheetWidgets().baselineSpeed->isEnabled());

    FillSheet("12", 20, true, "150", 3);
    SheetWidgets().cyclesPopup->setCurrentIndex(2);
    SheetWidgets().queueDepthPopup->setCurrentIndex(5);
    // The box enables its controls; the overlay itself waits for OK.
    EXPECT_TRUE(SheetWidgets().baselineSpeed->isEnabled() && SheetWidgets().safetyPopup->isEnabled());
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
    const Ui::OptionsSheet& sheet = SheetWidgets();
    EXPECT_EQ(sheet.transferSize->text(), "12");
    EXPECT_EQ(sheet.baselineSpeed->text(), "150");
    EXPECT_EQ((std::vector<int>{20, 3, 1, 3, 6}),
              (std::vector<int>{Value(sheet.zonesPopup), Value(sheet.cyclesPopup), sheet.overlayGroup->isChecked(),
                                Value(sheet.safetyPopup), Value(sheet.queueDepthPopup)}));
    EXPECT_TRUE(gOverlayEnabled);
    EXPECT_TRUE(sheet.safetyPopup->isEnabled());
    EXPECT_EQ(SheetQueueDepth(), 32u);
    EXPECT_EQ(Summaries(), (QStringList{"12 Megabytes", "3", "20", "150 MB/sec", "10 %", "Queue depth: 32"}));

    // No margin, then the overlay switched off.
    FillSheet("12", 20, true, "80", 1);
    Confirm();
    EXPECT_EQ(Summaries().mid(3, 2), (QStringList{"80 MB/sec", "none"}));
    FillSheet("12", 20, false, "80", 1);
    Confirm();
    EXPECT_EQ(Summaries().mid(3, 2), (QStringList{"Disabled", "Disabled"}));
    EXPECT_FALSE(StoredPreferenceBool("OverlayEnabled"));
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
        {"512", "", kOK, unsupported},
        {"0", "", kOK, unsupported},
        {"", "", kOK, unsupported},
        {"1a", "", kOK, notWhole},
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
        EXPECT_EQ(SheetWidgets().transferSize->text(), refused ? row.size : accepted);
        EXPECT_EQ(Summaries().first(), accepted + (accepted == "1" ? " Megabyte" : " Megabytes"));
        if (row.end != kOK) {
            EXPECT_EQ(Value(SheetWidgets().zonesPopup), 5);
            EXPECT_FALSE(SheetWidgets().overlayGroup->isChecked());
            EXPECT_FALSE(SheetWidgets().baselineSpeed->isEnabled());
        }
    }
}
TEST_F(WindowUse, SpanAndTimeLimitAreWholeNumbersKeptWithTheKindAcrossARestart)
{
    QComboBox* kind = Widgets().testKindPopup;
    ASSERT_EQ(kind->count(), 3);
    EXPECT_EQ(kind->itemText(2), "Surface Test");
    kind->setCurrentIndex(2);
    EXPECT_EQ(NextRunKind(), TestKind::Surface);
    EXPECT_TRUE(Widgets().standardPane->isVisibleTo(TheMainWindow()));  // the graph's pane

    const QString span = QString("Error: ") + kSheetSurfaceSpanNotWholeMessage + "|" + kSheetSurfaceSpanExplanation;
    const QString minutes = QString("Error: ") + kSheetSurfaceMinutesNotWholeMessage + "|" + kSheetSurfaceMinutesExplanation;
    const struct { const char* span; const char* minutes; QString alert; } rows[] = {
        {"100", "30", ""}, {"1.5", "30", span}, {"-2", "0", span}, {"100", "1h", minutes}, {"", "", ""}, {"250", "0", ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.span);
        alerts.clear();
        Widgets().optionsButton->click();
        SheetWidgets().surfaceSpan->setText(row.span);
        SheetWidgets().surfaceMinutes->setText(row.minutes);
        SheetWidgets().confirmButton->click();
        EXPECT_EQ(alerts, row.alert.isEmpty() ? QStringList{} : QStringList{row.alert});
        EXPECT_EQ(Sheet()->isVisible(), !row.alert.isEmpty());
    }
    EXPECT_EQ(WindowLaunch().SurfaceSpanBytes(), 250ull << 30);
    EXPECT_EQ(WindowLaunch().SurfaceMinutes(), 0u);

    Close();
    const QSettings stored(QSettings::IniFormat, QSettings::UserScope, "KestreliaWindowTests", "Kestrelia");
    EXPECT_EQ(stored.value("TestKindPopup").toString(), "3");
    EXPECT_EQ(stored.value("SurfaceSpan").toString(), "250");
    Open();
    EXPECT_EQ(Widgets().testKindPopup->currentIndex(), 2);
    EXPECT_EQ(NextRunKind(), TestKind::Surface);
    EXPECT_EQ(SheetWidgets().surfaceSpan->text(), "250");
    EXPECT_EQ(SheetWidgets().surfaceMinutes->text(), "0");
}

}  // namespace
