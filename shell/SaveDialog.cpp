#include "shell/SaveDialog.h"

#include "display/ResultPanes.h"
#include "reports/ReportFile.h"
#include "reports/ReportFileName.h"
#include "platform/CallingUser.h"
#include "shell/Alerts.h"
#include "shell/MainWindow.h"
#include "shell/Preferences.h"
#include "shell/ShownRun.h"
#include "ui_CustomSave.h"

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
    return SuggestedReportFileName(ShownRun().target.name, CurrentWindowSettings().reportFormat);
}

// Puts the format chooser {'upan', 1000} below the dialog's own controls.
// Without a grid layout (another dialog) there is none and the report is
// saved in the format the command chose.
void AddFormatChooser(QFileDialog& dialog)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr)
        return;
    QWidget custom;
    Ui::CustomSave chooser;
    chooser.setupUi(&custom);
    QRadioButton* spreadsheet = chooser.spreadsheetReport;
    if (CurrentWindowSettings().reportFormat == kSpreadsheetReportFormat)
        spreadsheet->setChecked(true);
    // The layout takes the pane over; the window it came from goes with `custom`.
    grid->addWidget(chooser.formatPane, grid->rowCount(), 0, 1, grid->columnCount());
    for (QRadioButton* radio : {chooser.textReport, spreadsheet}) {
        QObject::connect(radio, &QRadioButton::toggled, &dialog, [spreadsheet](bool checked) {
            if (!checked)
                return;
            CurrentWindowSettings().reportFormat =
                spreadsheet->isChecked() ? kSpreadsheetReportFormat : kTextReportFormat;
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
    const std::string changed = ChangeFileNameSuffix(name, CurrentWindowSettings().reportFormat);
    // The field itself: the dialog's selectFile leaves a focused field alone.
    if (changed != name)
        field->setText(QString::fromStdString(changed));
}

void DoNavSaveFileForTestResults()
{
    const CallingUserInfo owner = CallingUser();
    QFileDialog dialog(TheMainWindow(), QObject::tr("Save Test Results"));
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
    const ReportSaveResult result =
        SaveReportFile(path, ShownRun(), CurrentWindowSettings().reportFormat, ShownRunReportDate());
    if (!result.ok())
        ReportFailure(result);
}

void SaveResultsCommand(int32_t format)
{
    CurrentWindowSettings().reportFormat = format;
    DoNavSaveFileForTestResults();
    DrawTestResults();
}
