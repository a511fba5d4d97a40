// The windows at the desktop font sizes people use (10 to 16 pt) and in the
// shipped languages, as a screen reader and a keyboard user meet them: no
// label, button, popup or group title is cut or crossed, every control has an
// accessible name, mnemonics do not clash, and the graph tells its results in
// words. The fit is checked at screen scales 1.5 and 2 as well (CMakeLists.txt).
#include "devices/DriveRecords.h"
#include "display/GraphKey.h"
#include "display/GraphView.h"
#include "display/ResultPanes.h"
#include "format/Localization.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "shell/Preferences.h"
#include "shell/QtLaunch.h"
#include "shell/ShownRun.h"
#include "shell/WindowLaunch.h"
#include "shell/StringsTable.h"
#include "shell/UserLanguage.h"
#include "shell/Windows.h"
#include "ui_CustomSave.h"

#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QSettings>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {
// "name: text (needed in width x height)" of a control of window whose text is cut.
void CheckFits(QWidget* control, QStringList& cut)
{
    const QFontMetrics metrics = control->fontMetrics();
    QString text;
    QRect room;
    int needed = 0;
    if (auto* label = qobject_cast<QLabel*>(control);
        label && !label->wordWrap() && !label->property("elide").toBool()) {
        text = label->text().remove(QLatin1Char('&'));
        room = label->contentsRect();
        needed = metrics.horizontalAdvance(text);
    } else if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control)) {
        text = control->objectName();  // cut when smaller than its style needs for its text
        room = QRect(QPoint(), control->size());
        needed = control->minimumSizeHint().width();
    } else if (auto* box = qobject_cast<QGroupBox*>(control); box && !box->title().isEmpty()) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxCheckBox;
        room = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        needed = metrics.boundingRect(text).width();  // as the style measures it
        for (const QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisibleTo(box) && child->y() < room.bottom())
                cut << text + " crossed by " + child->objectName();
    }
    if (!text.trimmed().isEmpty() &&
        (needed > room.width() || (qobject_cast<QLabel*>(control) && metrics.height() > room.height())))
        cut << QStringLiteral("%1: %2 (%3 in %4x%5)")
                   .arg(control->objectName(), text)
                   .arg(needed)
                   .arg(room.width())
                   .arg(room.height());
}

// The graph key's titles fit their columns, in the rows the key is tall enough for.
void CheckGraphKey(QStringList& cut)
{
    const QFont font = GraphKeyFont(gGraphKey->font());
    const GraphKeyLayout layout = LayOutGraphKey(font, gColumnWidth * kGraphKeyColumns);
    EXPECT_GE(gGraphKey->height(), layout.Height());
    // Inside its pane and above the graph.
    EXPECT_TRUE(gGraphKey->y() >= 0 && gGraphKey->geometry().bottom() < CurrentGraphView()->y());
    for (int column = 0; column < kGraphKeyColumns; ++column)
        if (const QString title = QString::fromStdString(LocalizedText(GraphKeyTitle(column)));
            QFontMetrics(font).horizontalAdvance(title) + (column > 0 ? 19 : 0) >
            gColumnWidth * kGraphKeyColumns / layout.columnsPerRow)
            cut << "graph key: " + title;
}

// The letter after a single "&" of each text used more than once, with the texts.
QStringList Clashes(const QStringList& texts)
{
    QMap<QChar, QStringList> byLetter;
    for (const QString& text : texts)
        if (const int at = QString(text).replace("&&", "__").indexOf('&'); at >= 0 && at + 1 < text.size())
            byLetter[text[at + 1].toLower()] << text;
    QStringList clashes;
    for (const QStringList& same : byLetter)
        if (same.size() > 1)
            clashes << same.join(" and ");
    return clashes;
}

// The names, mnemonics and fit of one window's own controls (not those of its sheets).
void CheckWindow(QWidget* window, const QStringList& menuTitles = {})
{
    QStringList cut, unnamed, mnemonics = menuTitles;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window || !control->isVisibleTo(window))
            continue;
        CheckFits(control, cut);
        const auto* box = qobject_cast<QGroupBox*>(control);
        if ((qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
             qobject_cast<QLineEdit*>(control) || (box && box->isCheckable())) &&
            QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << control->objectName();
        if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy())
            mnemonics << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            mnemonics << button->text();
        else if (box && box->isCheckable())
            mnemonics << box->title();
    }
    if (window == TheMainWindow())
        CheckGraphKey(cut);
    EXPECT_EQ(cut.join(" | ").toStdString(), "") << window->objectName().toStdString();
    EXPECT_EQ(unnamed.join(" ").toStdString(), "") << window->objectName().toStdString();
    EXPECT_EQ(Clashes(mnemonics).join(" | ").toStdString(), "") << window->objectName().toStdString();
}

// Point size, language ("" for English).
class WindowForEveryone : public ::testing::TestWithParam<std::tuple<int, const char*>> {
protected:
    void SetUp() override
    {
        // The window keeps its settings here, never in the user's own.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
        SetPreferencesLocation("KestreliaEveryoneTests", "Kestrelia");
        QFont font = systemFont_;
        font.setPointSize(std::get<0>(GetParam()));
        QApplication::setFont(font);
        std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
        ASSERT_TRUE(InstallStringsTable(KESTRELIA_SHARE_DIR "/Localizable.strings"));
        const QString language = QString::fromLatin1(std::get<1>(GetParam()));
        ASSERT_TRUE(language.isEmpty() || language_.Install(QStringLiteral(KESTRELIA_SHARE_DIR), language));
        CreateAllWindows();
        InstallCommandHandlers({});
    }
    void TearDown() override
    {
        ShutDownCommands();
        DestroyAllWindows();
        ClearShownRun();
        SetLocalizationLookup(nullptr);
        QApplication::setFont(systemFont_);
    }
    QTemporaryDir settings_;
    const QFont systemFont_ = QApplication::font();
    InterfaceLanguage language_;
};

TEST_P(WindowForEveryone, NothingIsCutEveryControlIsNamedAndMnemonicsDoNotClash)
{
    MainWindow* main = TheMainWindow();
    EXPECT_EQ(main->ui.statusLine->text().toStdString(), LocalizedText("- No Drive Selected for Testing -"));
    // The longest texts the summaries and figures take.
    const std::pair<int, const char*> longest[] = {
        {6, "511 Megabytes"},   {9, "65535 MB/sec"}, {10, "50 %"},     {102, "MB per Second"},
        {103, "MB per Second"}, {100, "12345.678"},  {104, "1234567"}, {111, "59 minutes, 59 seconds "},
        {1, "Loop:  File = /dev/shm/a-backing-file-with-a-long-name-indeed-and-more-and-more"}};
    for (const auto& [id, text] : longest)
        SetNumberedText(id, text);
    QStringList menuTitles;
    for (const QAction* menu : main->menuBar()->actions()) {
        menuTitles << menu->text();
        QStringList items;
        for (const QAction* item : menu->menu()->actions())
            items << item->text();
        EXPECT_EQ(Clashes(items).join(" | ").toStdString(), "");
    }
    QWidget customSave;
    Ui::CustomSave saveChoices;
    saveChoices.setupUi(&customSave);
    for (QWidget* window : {static_cast<QWidget*>(main), static_cast<QWidget*>(main->optionsSheet),
                            static_cast<QWidget*>(main->aboutWindow), &customSave}) {
        window->show();
        QApplication::processEvents();
        CheckWindow(window, window == main ? menuTitles : QStringList());
    }
    // While a test runs, Stop stands in Start's place with a mnemonic of its own.
    WindowLaunch().ShowTestRunning(true);
    CheckWindow(main, menuTitles);
    WindowLaunch().ShowTestRunning(false);
    WindowLaunch().SetStatusText(kTestCompleteStatus);
    EXPECT_EQ(main->ui.statusLine->text().toStdString(), LocalizedText(kTestCompleteStatus));
    main->ui.testKindPopup->setCurrentIndex(1);  // the random pane and its settings
    QApplication::processEvents();
    CheckWindow(main, menuTitles);
    EXPECT_FALSE(
        QAccessible::queryAccessibleInterface(main->ui.optionsButton)->text(QAccessible::Description).isEmpty());
    // A screen reader finds a popup's label through its relations.
    const auto labels = QAccessible::queryAccessibleInterface(main->ui.drivePopup)->relations(QAccessible::Label);
    EXPECT_TRUE(!labels.empty() && labels.front().first->object() == main->ui.driveListCaption);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WindowForEveryone,
                         ::testing::Combine(::testing::Values(10, 12, 14, 16), ::testing::Values("", "de", "ja")));
INSTANTIATE_TEST_SUITE_P(Languages, WindowForEveryone,
                         ::testing::Combine(::testing::Values(12),
                                            ::testing::Values("fr", "es", "it", "pt_BR", "pl", "ru", "zh_CN")));

// The desktop's font grows while the windows are open: they lay themselves out anew.
class FontChange : public WindowForEveryone {};
INSTANTIATE_TEST_SUITE_P(German, FontChange, ::testing::Values(std::tuple(10, "de")));
TEST_P(FontChange, TheWindowsFollowTheDesktopFont)
{
    MainWindow* main = TheMainWindow();
    const QSize window = main->size();
    const int key = gGraphKey->height();
    QFont font = QApplication::font();
    font.setPointSize(16);
    QApplication::setFont(font);
    QApplication::processEvents();
    EXPECT_GT(main->width(), window.width());
    EXPECT_GT(gGraphKey->height(), key);
    for (QWidget* shown : {static_cast<QWidget*>(main), static_cast<QWidget*>(main->optionsSheet),
                           static_cast<QWidget*>(main->aboutWindow)}) {
        shown->show();
        QApplication::processEvents();
        CheckWindow(shown);
    }
}

// What a screen reader tells of the graph is what its bars show, zone by zone.
class GraphInWords : public WindowForEveryone {};
INSTANTIATE_TEST_SUITE_P(English, GraphInWords, ::testing::Values(std::tuple(12, "")));
TEST_P(GraphInWords, TheGraphTellsTheResultsOfTheRunShown)
{
    const auto told = [] {
        return QAccessible::queryAccessibleInterface(CurrentGraphView())->text(QAccessible::Description).toStdString();
    };
    EXPECT_EQ(told(), "No results to show: no test has been run yet, or it measured nothing.");
    ::Run run;
    run.settings.zones = 2;
    run.settings.writes = true;
    run.end = RunEnd::Completed;
    run.zones.resize(2);
    for (const int z : {0, 1}) {
        run.zones[z].firstSector = uint64_t(z) << 23;  // 4 GiB apart
        run.zones[z].lastSector = run.zones[z].firstSector + 2047;
        run.zones[z].read = {{120.5}, 120.5, 100.04, 140.96};
        run.zones[z].write = {{z == 0 ? 90.25 : 0.0}, 90.25, 80.0, 99.0};
    }
    run.maxSpeed = 140.96;
    ShowOpenedRun(run);
    InstallShownRun();
    DrawTestResults();
    EXPECT_EQ(told(),
              "Zone 1 of 2, 0.00 to 0.00 GB: reads lowest 100.0, average 120.5, highest 141.0 MB per second. "
              "Writes lowest 80.0, average 90.3, highest 99.0 MB per second.\n"
              "Zone 2 of 2, 4.00 to 4.00 GB: reads lowest 100.0, average 120.5, highest 141.0 MB per second.");
}
}  // namespace
