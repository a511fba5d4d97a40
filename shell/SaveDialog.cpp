#include "shell/SaveDialog.h"

#include "display/ResultPanes.h"
#include "reports/ReportFile.h"
#include "reports/ReportFileName.h"
#include "platform/CallingUser.h"
#include "shell/Alerts.h"
#include "shell/ShownRun.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>

#include <cstring>
#include <string>

QFileDialog* gNavDialogRef = nullptr;

namespace {
QLineEdit* NameField()
{
    return gNavDialogRef != nullptr ? gNavDialogRef->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
}

// The name the dialog proposes, from the drive or volume of the run shown.
std::string SuggestedName()
{
    return SuggestedReportFileName(ShownRun().target.name, gSavedRestulsFileFormatS32);
}

// Puts the format chooser below the dialog's own controls. Without its
// interface file the dialog has none and saves in the format the command chose.
void AddFormatChooser(QFileDialog& dialog)
{
    const std::unique_ptr<QWidget> custom = LoadInterface(QStringLiteral("CustomSave"));
    if (!custom)
        return;
    if (gSavedRestulsFileFormatS32 == kSpreadsheetReportFormat)
        SetThisWindowControlValue32(custom.get(), "rgrp", 1000, kSpreadsheetReportFormat);
    QWidget* pane = nullptr;
    if (GetThisWindowControlRef(custom.get(), "upan", 1000, &pane) != 0)
        return;
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr)
        return;
    // The layout takes the pane over; the window it came from goes with `custom`.
    grid->addWidget(pane, grid->rowCount(), 0, 1, grid->columnCount());
    for (QAbstractButton* radio : pane->findChildren<QAbstractButton*>()) {
        QObject::connect(radio, &QAbstractButton::toggled, &dialog, [&dialog](bool checked) {
            if (!checked)
                return;
            gSavedRestulsFileFormatS32 = GetThisWindowControlValue32(&dialog, "rgrp", 1000);
            ChangeFileNameSuffix();
        });
    }
}

void ReportFailure(const ReportSaveResult& result)
{
    if (result.failedStep == "create") {
        std::string why = std::strerror(result.errorNumber);
        if (!result.writtenAs.empty())
            why += " (" + result.writtenAs + ")";
        DoStandardLocalizedAlert(kReportCreateFailedMessage, why.c_str(), kAlertStopAlert);
        return;
    }
    const std::string text = ReportSaveFailureText(result);
    DoStandardLocalizedAlert(text.c_str(), nullptr, kAlertStopAlert);
}
}  // namespace

void ChangeFileNameSuffix()
{
    QLineEdit* field = NameField();
    if (field == nullptr)
        return;
    const std::string name = field->text().toStdString();
    const std::string changed = ChangeFileNameSuffix(name, gSavedRestulsFileFormatS32);
    // The field itself: the dialog's selectFile leaves a focused field alone.
    if (changed != name)
        field->setText(QString::fromStdString(changed));
}

void DoNavSaveFileForTestResults()
{
    const CallingUserInfo owner = CallingUser();
    QFileDialog dialog(static_cast<QWidget*>(gMainWindowRef), QObject::tr("Save Test Results"));
    // Qt's own dialog, so that the format chooser can live inside it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!owner.home.empty())
        dialog.setDirectory(QString::fromStdString(owner.home));
    gNavDialogRef = &dialog;
    AddFormatChooser(dialog);
    dialog.selectFile(QString::fromStdString(SuggestedName()));

    // Replacing an existing file is confirmed by the dialog itself.
    const int answer = dialog.exec();
    const QStringList chosen = dialog.selectedFiles();
    gNavDialogRef = nullptr;
    if (answer != QDialog::Accepted || chosen.isEmpty() || QFileInfo(chosen.first()).fileName().isEmpty())
        return;

    const std::string path = QFile::encodeName(chosen.first()).toStdString();
    const ReportSaveResult result = SaveReportFile(path, ShownRun(), gSavedRestulsFileFormatS32, ShownRunReportDate());
    if (!result.ok())
        ReportFailure(result);
}

void SaveResultsCommand(int32_t format)
{
    gSavedRestulsFileFormatS32 = format;
    DoNavSaveFileForTestResults();
    DrawTestResults();
}
