#include "shell/Alerts.h"

#include "format/Localization.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>

namespace {
QMessageBox::Icon IconForKind(int16_t kind)
{
    switch (kind) {
    case kAlertStopAlert: return QMessageBox::Critical;
    case kAlertNoteAlert: return QMessageBox::Information;
    case kAlertCautionAlert: return QMessageBox::Warning;
    default: return QMessageBox::NoIcon;
    }
}

void ShowModalBox(const AlertContent& content)
{
    // Without a display nobody could answer a box: the alert goes to standard error.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        std::fprintf(stderr, "kestrelia: %s: %s%s%s\n", qPrintable(content.title), qPrintable(content.message),
                     content.explanation.isEmpty() ? "" : " ", qPrintable(content.explanation));
        return;
    }
    QMessageBox box(IconForKind(content.kind), content.title, content.message, QMessageBox::Ok,
                    TheMainWindow());
    box.setInformativeText(content.explanation);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

AlertPresenter gPresenter = ShowModalBox;
}  // namespace

QString AlertTitleForKind(int16_t kind)
{
    switch (kind) {
    case kAlertStopAlert: return QString::fromStdString(LocalizedText("Error"));
    case kAlertNoteAlert: return QString::fromStdString(LocalizedText("Note"));
    case kAlertCautionAlert: return QString::fromStdString(LocalizedText("Caution"));
    default: return QString::fromStdString(LocalizedText("Message"));
    }
}

void DoStandardLocalizedAlert(const char* messageKey, const char* explanationKey, int16_t kind)
{
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    AlertContent content{kind, AlertTitleForKind(kind),
                         QString::fromStdString(LocalizedText(messageKey != nullptr ? messageKey : "")),
                         explanationKey != nullptr ? QString::fromStdString(LocalizedText(explanationKey))
                                                   : QString()};
    gPresenter(content);
}

void SetAlertPresenter(AlertPresenter presenter)
{
    gPresenter = presenter ? std::move(presenter) : AlertPresenter(ShowModalBox);
}
