// Every text of the windows fits its control at the desktop font sizes people
// use (10 to 16 pt), in English, German (the longest texts) and Japanese, with
// the longest values the summaries and figures take. The same tests run at
// screen scales 1.5 and 2 (QT_SCALE_FACTOR, see CMakeLists.txt).
#include "devices/DriveRecords.h"
#include "format/Localization.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "shell/StringsTable.h"
#include "shell/UserLanguage.h"
#include "shell/Windows.h"
#include "ui_CustomSave.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionGroupBox>

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace {
// What a control shows, and the room it has for it; an empty text needs none.
struct Shown {
  QString text;
  QRect room;
};

Shown ShownBy(QWidget *widget) {
  const QFontMetrics metrics = widget->fontMetrics();
  if (auto *label = qobject_cast<QLabel *>(widget);
      label != nullptr && !label->wordWrap() &&
      !label->property("elide").toBool() && label->pixmap().isNull())
    return {label->text().remove(QLatin1Char('&')), label->contentsRect()};
  if (auto *button = qobject_cast<QAbstractButton *>(widget);
      button != nullptr && !button->text().isEmpty()) {
    // The label's room: the button less its frame, indicator and margins, as
    // its style sizes it.
    const QSize needed = button->sizeHint();
    return {QString(), QRect(QPoint(), button->size() - needed + QSize(1, 1))};
  }
  if (auto *popup = qobject_cast<QComboBox *>(widget);
      popup != nullptr && popup->count() > 0) {
    const QSize needed = popup->minimumSizeHint();
    return {QString(), QRect(QPoint(), popup->size() - needed + QSize(1, 1))};
  }
  if (auto *box = qobject_cast<QGroupBox *>(widget);
      box != nullptr && !box->title().isEmpty()) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls =
        QStyle::SC_GroupBoxLabel |
        (box->isCheckable() ? QStyle::SC_GroupBoxCheckBox : QStyle::SC_None);
    option.features =
        box->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
    const QRect title = box->style()->subControlRect(
        QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    // Its first row starts below its title, not across it.
    for (const QWidget *child :
         box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
      if (child->isVisibleTo(box) && child->y() < title.bottom())
        return {box->title() + " under " + child->objectName(), QRect()};
    return {box->title().remove(QLatin1Char('&')), title};
  }
  return {};
}

// The controls of window whose text does not fit, as "name: text".
QStringList Cut(QWidget *window) {
  QStringList cut;
  for (QWidget *widget : window->findChildren<QWidget *>()) {
    if (!widget->isVisibleTo(window))
      continue;
    const Shown shown = ShownBy(widget);
    if (shown.room.isNull() && shown.text.isEmpty())
      continue;
    const QFontMetrics metrics = widget->fontMetrics();
    // A group title's place is measured by the style as the text's bounds.
    const int width = qobject_cast<QGroupBox *>(widget) != nullptr
                          ? metrics.boundingRect(shown.text).width()
                          : metrics.horizontalAdvance(shown.text);
    const bool fits = shown.text.isEmpty()
                          ? shown.room.width() > 0 && shown.room.height() > 0
                          : width <= shown.room.width() &&
                                metrics.height() <= shown.room.height();
    if (!fits)
      cut << QStringLiteral("%1: %2 (%3 in %4x%5)")
                 .arg(widget->objectName(), shown.text)
                 .arg(width)
                 .arg(shown.room.width())
                 .arg(shown.room.height());
  }
  return cut;
}

// Point size, language ("" for English).
class TextFit : public ::testing::TestWithParam<std::tuple<int, const char *>> {
protected:
  void SetUp() override {
    systemFont_ = QApplication::font();
    QFont font = systemFont_;
    font.setPointSize(std::get<0>(GetParam()));
    QApplication::setFont(font);
    std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
    ASSERT_TRUE(
        InstallStringsTable(KESTRELIA_SHARE_DIR "/Localizable.strings"));
    const QString language = QString::fromLatin1(std::get<1>(GetParam()));
    ASSERT_TRUE(
        language.isEmpty() ||
        language_.Install(QStringLiteral(KESTRELIA_SHARE_DIR), language));
    CreateAllWindows();
    InstallCommandHandlers({});
  }
  void TearDown() override {
    ShutDownCommands();
    DestroyAllWindows();
    SetLocalizationLookup(nullptr);
    QApplication::setFont(systemFont_);
  }
  QFont systemFont_;
  InterfaceLanguage language_;
};

TEST_P(TextFit, EveryLabelButtonPopupAndGroupTitleShowsItsWholeText) {
  MainWindow *main = TheMainWindow();
  // The longest texts the summaries and figures take.
  const std::pair<int, const char *> longest[] = {
      {6, "511 Megabytes"},   {9, "65535 MB/sec"},
      {10, "50 %"},           {102, "MB per Second"},
      {103, "MB per Second"}, {100, "12345.678"},
      {104, "1234567"},       {111, "59 minutes, 59 seconds "}};
  for (const auto &[id, text] : longest)
    SetNumberedText(id, text);
  main->show();
  QWidget customSave;
  Ui::CustomSave saveChoices;
  saveChoices.setupUi(&customSave);
  customSave.show();
  for (QWidget *window :
       {static_cast<QWidget *>(main),
        static_cast<QWidget *>(main->optionsSheet),
        static_cast<QWidget *>(main->aboutWindow), &customSave}) {
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(Cut(window).join(" | ").toStdString(), "")
        << window->objectName().toStdString();
  }
  // Both test panes and both settings boxes.
  main->ui.testKindPopup->setCurrentIndex(1);
  QApplication::processEvents();
  EXPECT_EQ(Cut(main).join(" | ").toStdString(), "") << "random test";
}

INSTANTIATE_TEST_SUITE_P(Sizes, TextFit,
                         ::testing::Combine(::testing::Values(10, 12, 14, 16),
                                            ::testing::Values("", "de", "ja")));
} // namespace
