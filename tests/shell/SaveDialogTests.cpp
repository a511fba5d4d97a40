// Saving through the real save dialog, offscreen, driven as a user would:
// the proposed names, the format chooser and its suffix rules, replacing a
// file only after agreeing, each failure with its alert and the earlier file
// left as it was. Refusals of names that are no files are the report layer's
// (tests/reports); the rights a file is written with, the CLI's (tests/cli).
#include <gtest/gtest.h>

#include "devices/DriveRecords.h"
#include "reports/ReportFile.h"
#include "shell/Alerts.h"
#include "shell/Preferences.h"
#include "shell/QtInterfaceHost.h"
#include "shell/SaveDialog.h"
#include "shell/ShownRun.h"
#include "shell/Windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs action on the next modal widget of type T once it is shown.
template <typename T>
void WhenShown(std::function<void(T*)> action, int triesLeft = 200)
{
    QTimer::singleShot(10, [action, triesLeft] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget()); widget && widget->isVisible())
            action(widget);
        else if (triesLeft > 0)
            WhenShown<T>(action, triesLeft - 1);
    });
}

QLineEdit* NameEdit(QFileDialog* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

QRadioButton* FormatButton(QFileDialog* dialog, const char* name)
{
    return dialog->findChild<QRadioButton*>(QString::fromLatin1(name));
}


class SaveDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid() && folder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        SetPreferencesLocation("KestreliaSaveTests", "Kestrelia");
        std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
        CreateAllWindows();
        SetInterfaceHost(&host);  // the report's own alerts come through it
        SetAlertPresenter([this](const AlertContent& alert) { alerts.push_back(alert); });

        ShowRunOf("Data Disk", false);
        unsetenv("PKEXEC_UID");
        unsetenv("SUDO_UID");
        unsetenv("SUDO_GID");
    }
    void TearDown() override
    {
        if (!mounted.empty()) {
            EXPECT_EQ(std::system(("umount " + mounted).c_str()), 0) << mounted;
        }
        SetAlertPresenter(nullptr);
        SetInterfaceHost(nullptr);
        ClearShownRun();
        DestroyAllWindows();
    }

    // The window shows a run of one zone of one cycle at 25 MB/s on the drive or volume name.
    static void ShowRunOf(const std::string& name, bool isVolume)
    {
        ::Run run;
        run.target.name = name;
        run.target.isVolume = isVolume;
        run.settings.transferMegabytes = 1;
        run.zones.resize(1);
        run.zones[0].read.cycles[0] = run.zones[0].read.average = 25.0;
        ShowOpenedRun(run);
    }
    // Opens the dialog in format, lets act work on it and waits until it has closed.
    void Save(int32_t format, std::function<void(QFileDialog*)> act)
    {
        CurrentWindowSettings().reportFormat = format;
        WhenShown<QFileDialog>([this, act](QFileDialog* dialog) {
            proposed = NameEdit(dialog)->text();
            dialog->setDirectory(target);
            act(dialog);
        });
        DoNavSaveFileForTestResults();
    }
    // Types name into the dialog and presses its Save button.
    static void TypeAndSave(QFileDialog* dialog, const QString& name)
    {
        NameEdit(dialog)->setText(name);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        QPushButton* save = buttons->button(QDialogButtonBox::Save);
        ASSERT_NE(save, nullptr);
        ASSERT_TRUE(save->isEnabled());
        save->click();
    }
    QTemporaryDir settings;
    QTemporaryDir folder;
    QString target = folder.path();
    QtInterfaceHost host{[] {}};
    std::vector<AlertContent> alerts;
    QString proposed;
    std::string mounted;
};

// The name proposed follows the tested item and the format chosen before; the
// suffix follows the format chooser; the report is saved in the format chosen
// last, which stays chosen, and both formats get mode 0666 less the umask.
TEST_F(SaveDialog, TheSuffixFollowsTheFormatChooserAndBothFormatsAreWritten)
{
    ShowRunOf("Backup", true);
    std::vector<QString> names;
    const mode_t previous = umask(077);
    Save(2, [&names](QFileDialog* dialog) {
        EXPECT_TRUE(FormatButton(dialog, "spreadsheetReport")->isChecked());
        FormatButton(dialog, "textReport")->click();
        names.push_back(NameEdit(dialog)->text());
        NameEdit(dialog)->setText(QStringLiteral("report"));
        FormatButton(dialog, "spreadsheetReport")->click();
        names.push_back(NameEdit(dialog)->text());
        TypeAndSave(dialog, NameEdit(dialog)->text());
    });
    EXPECT_EQ(proposed, "Backup Results.xls");
    EXPECT_EQ(names, (std::vector<QString>{"Backup Results.txt", "report.xls"}));
    EXPECT_EQ(CurrentWindowSettings().reportFormat, 2);
    const fs::path base = folder.path().toStdString();
    const std::string sheet = ReadFile(base / "report.xls");
    EXPECT_EQ(sheet, CurrentReport());
    EXPECT_NE(sheet.find("Backup\r"), std::string::npos);
    Save(1, [](QFileDialog* dialog) { TypeAndSave(dialog, QStringLiteral("text.txt")); });
    umask(previous);
    EXPECT_EQ(proposed, "Backup Results.txt");
    EXPECT_EQ(ReadFile(base / "text.txt"), CurrentReport());
    for (const char* name : {"text.txt", "report.xls"}) {
        struct stat info {};
        ASSERT_EQ(stat((base / name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(base), fs::directory_iterator()), 2);
    EXPECT_TRUE(alerts.empty());
}

// Declining to replace and then cancelling saves nothing.
TEST_F(SaveDialog, AnExistingFileIsReplacedOnlyAfterTheUserAgreed)
{
    const fs::path existing = fs::path(folder.path().toStdString()) / "old.txt";
    const std::string earlier(100000, 'x');
    std::ofstream(existing, std::ios::binary) << earlier;

    int questions = 0;
    Save(1, [&questions](QFileDialog* dialog) {
        WhenShown<QMessageBox>([&questions, dialog](QMessageBox* question) {
            ++questions;
            question->button(QMessageBox::No)->click();
            // The dialog stays open for another name; give up.
            QTimer::singleShot(0, dialog, &QDialog::reject);
        });
        TypeAndSave(dialog, QStringLiteral("old.txt"));
    });
    EXPECT_EQ(proposed, "Data Disk Results.txt");
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(ReadFile(existing), earlier);
    EXPECT_EQ(std::distance(fs::directory_iterator(existing.parent_path()), fs::directory_iterator()), 1);

    Save(1, [&questions](QFileDialog* dialog) {
        WhenShown<QMessageBox>([&questions](QMessageBox* question) {
            ++questions;
            question->button(QMessageBox::Yes)->click();
        });
        TypeAndSave(dialog, QStringLiteral("old.txt"));
    });
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(ReadFile(existing), CurrentReport());
    EXPECT_TRUE(alerts.empty());
}

// A full disk while replacing, a link to a FIFO, then the file system
// read-only: each an alert, the earlier file as it was and nothing
// half-written beside it.
TEST_F(SaveDialog, EachFailureAlertsAndLeavesTheEarlierFile)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to mount a tmpfs";
    mounted = (fs::path(folder.path().toStdString()) / "mnt").string();
    fs::create_directory(mounted);
    ASSERT_EQ(std::system(("mount -t tmpfs -o size=64k kestrelia-save " + mounted).c_str()), 0);
    target = QString::fromStdString(mounted);
    const fs::path existing = fs::path(mounted) / "kept.txt", fifo = fs::path(mounted) / "pipe";
    std::ofstream(existing, std::ios::binary) << "earlier report";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, fs::path(mounted) / "to-pipe.txt");
    EXPECT_NE(std::system(("dd if=/dev/zero of=" + mounted + "/filler bs=4k 2>/dev/null").c_str()), 0)
        << "dd fills the volume up";
    for (const char* name : {"kept.txt", "to-pipe.txt"})
        Save(1, [name](QFileDialog* dialog) {
            WhenShown<QMessageBox>([](QMessageBox* question) { question->button(QMessageBox::Yes)->click(); });
            TypeAndSave(dialog, QString::fromLatin1(name));
        });
    ASSERT_EQ(std::system(("mount -o remount,ro " + mounted).c_str()), 0);
    Save(1, [](QFileDialog* dialog) { TypeAndSave(dialog, QStringLiteral("new.txt")); });

    std::string shown;
    for (const AlertContent& alert : alerts)
        shown += (alert.title + ": " + alert.message + "|" + alert.explanation + "\n").toStdString();
    EXPECT_EQ(shown, "Error: Error: Unable to save test results file (write): " + std::string(std::strerror(ENOSPC)) + ".|\n" +
                         "Error: Error: Unable to save test results file: " + mounted + "/to-pipe.txt (" +
                         fifo.string() + ") is a FIFO, not a file.|\nError: " + kReportCreateFailedMessage + "|" + std::strerror(EROFS) + "\n");
    EXPECT_EQ(ReadFile(existing), "earlier report");
    EXPECT_EQ(std::distance(fs::directory_iterator(mounted), fs::directory_iterator()), 4);
}

}  // namespace
