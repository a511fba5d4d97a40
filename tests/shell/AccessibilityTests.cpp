// The windows for screen-reader and keyboard users, through Qt's accessibility
// interfaces as a screen reader reads them: every control has a name, the
// graph tells its results in words, mnemonics do not clash, Escape closes the
// about window, the sheet opens at its first field, Open Results… waits for
// the end of a test, and the status line elides with the whole in its tooltip.
#include "devices/DriveRecords.h"
#include "display/GraphText.h"
#include "display/GraphView.h"
#include "display/ResultPanes.h"
#include "format/Localization.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "shell/QtLaunch.h"
#include "shell/ShownRun.h"
#include "shell/StringsTable.h"
#include "shell/Toolkit.h"
#include "shell/UserLanguage.h"
#include "shell/Windows.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstring>

namespace {
class Accessibility : public ::testing::Test {
protected:
  void SetUp() override {
    std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
    ASSERT_TRUE(
        InstallStringsTable(KESTRELIA_SHARE_DIR "/Localizable.strings"));
    CreateAllWindows();
    InstallCommandHandlers({});
  }
  void TearDown() override {
    ShutDownCommands();
    DestroyAllWindows();
    ClearShownRun();
  }
  static MainWindow *Main() { return TheMainWindow(); }
  static QString Read(QObject *object, QAccessible::Text what) {
    QAccessibleInterface *accessible =
        QAccessible::queryAccessibleInterface(object);
    return accessible != nullptr ? accessible->text(what) : QString();
  }
  // The letter after a single "&", lower case; none for a text without one.
  static QChar Mnemonic(const QString &text) {
    const int at = QString(text)
                       .replace(QLatin1String("&&"), QLatin1String("__"))
                       .indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
  }
  // "letter: text" of the mnemonics of one window or menu used more than once.
  static QStringList Clashes(const QStringList &texts) {
    QMap<QChar, QStringList> byLetter;
    for (const QString &text : texts)
      if (const QChar letter = Mnemonic(text); !letter.isNull())
        byLetter[letter] << text;
    QStringList clashes;
    for (auto found = byLetter.cbegin(); found != byLetter.cend(); ++found)
      if (found.value().size() > 1)
        clashes << QString(found.key()) + ": " +
                       found.value().join(QLatin1String(", "));
    return clashes;
  }
  // The texts of a window that take a mnemonic: labels of a field, buttons and
  // check boxes.
  static QStringList MnemonicTexts(const QWidget *window) {
    QStringList texts;
    for (const QWidget *control : window->findChildren<QWidget *>()) {
      if (control->window() != window)
        continue; // the main window's sheet and about window are windows of
                  // their own
      if (const auto *label = qobject_cast<const QLabel *>(control);
          label != nullptr && label->buddy() != nullptr)
        texts << label->text();
      else if (const auto *button =
                   qobject_cast<const QAbstractButton *>(control))
        texts << button->text();
      else if (const auto *box = qobject_cast<const QGroupBox *>(control);
               box != nullptr && box->isCheckable())
        texts << box->title();
    }
    return texts;
  }
};

TEST_F(Accessibility, EveryControlHasANameAndTheGearADescription) {
  for (const QString &language :
       QStringList{QString()} +
           ShippedLanguages(KESTRELIA_SHARE_DIR "/translations")) {
    SCOPED_TRACE(language.toStdString());
    InterfaceLanguage shown;
    ASSERT_TRUE(language.isEmpty() ||
                shown.Install(QStringLiteral(KESTRELIA_SHARE_DIR), language));
    ShutDownCommands();
    DestroyAllWindows();
    CreateAllWindows();
    InstallCommandHandlers({});
    for (QWidget *window : {static_cast<QWidget *>(Main()),
                            static_cast<QWidget *>(Main()->optionsSheet)}) {
      for (QWidget *control : window->findChildren<QWidget *>()) {
        const bool interactive =
            qobject_cast<QAbstractButton *>(control) ||
            qobject_cast<QComboBox *>(control) ||
            qobject_cast<QLineEdit *>(control) ||
            qobject_cast<QTabBar *>(control) ||
            qobject_cast<GraphView *>(control) ||
            (qobject_cast<QGroupBox *>(control) &&
             qobject_cast<QGroupBox *>(control)->isCheckable());
        if (interactive && control->focusPolicy() != Qt::NoFocus) {
          EXPECT_FALSE(Read(control, QAccessible::Name).trimmed().isEmpty())
              << control->objectName().toStdString();
        }
      }
      EXPECT_EQ(Clashes(MnemonicTexts(window)).join(" | ").toStdString(), "")
          << window->objectName().toStdString();
    }
    QStringList menuTitles;
    for (QAction *menu : Main()->menuBar()->actions()) {
      menuTitles << menu->text();
      if (menu->menu() != nullptr) {
        QStringList items;
        for (const QAction *item : menu->menu()->actions())
          items << item->text();
        EXPECT_EQ(Clashes(items).join(" | ").toStdString(), "")
            << menu->text().toStdString();
      }
    }
    EXPECT_EQ(
        Clashes(menuTitles + MnemonicTexts(Main())).join(" | ").toStdString(),
        "");
    // A screen reader finds the popups' labels through their relations.
    for (auto [popup, caption] :
         {std::pair(Main()->ui.drivePopup, Main()->ui.driveListCaption),
          std::pair(Main()->ui.volumePopup, Main()->ui.volumeListCaption)}) {
      const auto labels =
          QAccessible::queryAccessibleInterface(popup)->relations(
              QAccessible::Label);
      ASSERT_FALSE(labels.empty());
      EXPECT_EQ(labels.front().first->object(), caption);
    }
    EXPECT_FALSE(
        Read(Main()->ui.optionsButton, QAccessible::Description).isEmpty());
    SetLocalizationLookup(nullptr);
    ASSERT_TRUE(
        InstallStringsTable(KESTRELIA_SHARE_DIR "/Localizable.strings"));
  }
}

// What the graph tells is what its bars show, and follows the run shown.
TEST_F(Accessibility, TheGraphTellsTheResultsOfTheRunShown) {
  GraphView *graph = CurrentGraphView();
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(
      Read(graph, QAccessible::Description).toStdString(),
      "No results to show: no test has been run yet, or it measured nothing.");
  ::Run run;
  run.target.sizeBytes = uint64_t{4} << 30;
  run.settings.zones = 2;
  run.settings.writes = true;
  run.end = RunEnd::Completed;
  run.zones.resize(2);
  const double speeds[2][6] = {{100.04, 120.5, 140.96, 80.0, 90.25, 99.0},
                               {60.0, 70.0, 80.0, 0.0, 0.0, 0.0}};
  for (int z = 0; z < 2; ++z) {
    ZoneResult &zone = run.zones[size_t(z)];
    zone.firstSector = uint64_t(z) * (uint64_t{4} << 21);
    zone.lastSector = zone.firstSector + 2047;
    zone.read.cycles[0] = speeds[z][1];
    std::tie(zone.read.minimum, zone.read.average, zone.read.maximum) =
        std::tuple(speeds[z][0], speeds[z][1], speeds[z][2]);
    zone.write.cycles[0] = speeds[z][4];
    std::tie(zone.write.minimum, zone.write.average, zone.write.maximum) =
        std::tuple(speeds[z][3], speeds[z][4], speeds[z][5]);
  }
  run.maxSpeed = 140.96;
  ShowOpenedRun(run);
  InstallShownRun();
  DrawTestResults();
  EXPECT_EQ(Read(graph, QAccessible::Description).toStdString(),
            "Zone 1 of 2, 0.00 to 0.00 GB: reads lowest 100.0, average 120.5, "
            "highest 141.0 MB per second. "
            "Writes lowest 80.0, average 90.3, highest 99.0 MB per second.\n"
            "Zone 2 of 2, 4.00 to 4.00 GB: reads lowest 60.0, average 70.0, "
            "highest 80.0 MB per second.");
  EXPECT_FALSE(Read(graph, QAccessible::Name).isEmpty());

  ::Run random;
  random.settings.kind = TestKind::Random;
  random.random.readSpeed = 1.0;
  random.random.writeSpeed = 0.5;
  EXPECT_EQ(GraphTextEquivalent(random).toStdString(),
            "Random test reads: 1.0 MB per second, 256 transfers per second.\n"
            "Random test writes: 0.5 MB per second, 128 transfers per second.");
}

TEST_F(Accessibility, KeyboardUse) {
  // Escape closes the about window.
  ShowAboutWindow();
  QWidget *about = Main()->aboutWindow;
  ASSERT_TRUE(about->isVisible());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(about, &escape);
  EXPECT_FALSE(about->isVisible());

  // The sheet opens again at its first field, wherever the focus was when it
  // closed.
  OptionsSheet *sheet = Main()->optionsSheet;
  for (int time = 0; time < 2; ++time) {
    Main()->ui.optionsButton->click();
    ASSERT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->focusWidget(), sheet->ui.transferSize) << time;
    sheet->ui.cyclesPopup->setFocus();
    sheet->ui.confirmButton->click();
    ASSERT_FALSE(sheet->isVisible());
  }

  // Open Results… waits while a test runs.
  QAction *open = Main()->ui.fileMenu->findChild<QAction *>(
      QStringLiteral("actionOpenResults"));
  ASSERT_NE(open, nullptr);
  EXPECT_TRUE(open->isEnabled());
  WindowLaunch().ShowTestRunning(true);
  EXPECT_FALSE(open->isEnabled());
  WindowLaunch().ShowTestRunning(false);
  EXPECT_TRUE(open->isEnabled());
}

// A status line longer than its room ends in "…" and has the whole as its
// tooltip.
TEST_F(Accessibility, TheStatusLineElidesWithTheWholeInItsTooltip) {
  QLabel *status = Main()->ui.statusLine;
  const QString summary =
      QStringLiteral("Results of 2026-12-08 03:04 UTC, Standard test, 3 zones "
                     "× 1 cycles, 1 MB, ") +
      QString(300, QLatin1Char('x')) + QStringLiteral(", the end");
  ShowText(status, summary);
  EXPECT_EQ(status->toolTip(), summary);
  ShowText(status, QStringLiteral("Ready To Begin"));
  EXPECT_TRUE(status->toolTip().isEmpty());
}
} // namespace
