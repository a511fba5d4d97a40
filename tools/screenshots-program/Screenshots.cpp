#include "Screenshots.h"

#include "devices/DriveList.h"
#include "devices/DriveRecords.h"
#include "shell/WindowLaunch.h"
#include "format/Localization.h"
#include "reports/ReportFile.h"
#include "shell/MainWindow.h"
#include "shell/Preferences.h"
#include "shell/SaveDialog.h"
#include "shell/ShownRun.h"
#include "shell/Windows.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QPalette>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace {
MainWindow* Main()
{
    return TheMainWindow();
}

const Ui::MainWindow& Widgets()
{
    return TheMainWindow()->ui;
}

QString Status()
{
    return Widgets().statusLine->text();
}

// Steps run one after another; a step returning false is asked again later.
class Sequence final {
public:
    explicit Sequence(QString folder) : folder_(std::move(folder))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(10);
        clock_.start();
    }
    void Then(std::function<bool()> step) { steps_.push_back(std::move(step)); }
    void Grab(QWidget* window, const char* name)
    {
        const QString path = QDir(folder_).filePath(QString::fromLatin1(name));
        if (window == nullptr || !window->grab().save(path))
            std::fprintf(stderr, "kestrelia: could not write %s\n", qPrintable(path));
    }

private:
    void Tick()
    {
        if (busy_)
            return;  // a step is inside a modal dialog
        if (clock_.elapsed() > kGiveUpMilliseconds) {
            // A drive that never appears or a test that never ends.
            std::fprintf(stderr, "kestrelia: screenshots gave up after %d s with %zu steps left\n",
                         kGiveUpMilliseconds / 1000, steps_.size());
            timer_.stop();
            QApplication::exit(1);
            return;
        }
        busy_ = true;
        while (!steps_.empty() && steps_.front()()) steps_.pop_front();
        busy_ = false;
        if (steps_.empty()) {
            timer_.stop();
            QApplication::quit();
        }
    }
    static constexpr int kGiveUpMilliseconds = 300000;
    QString folder_;
    QTimer timer_;
    QElapsedTimer clock_;
    std::deque<std::function<bool()>> steps_;
    bool busy_ = false;
};

std::unique_ptr<Sequence> gSequence;

// An inactive window draws its graph pale; without a window manager it has
// to be made active. Give it a moment, then take it as it is.
void GrabMainWindow(Sequence& run, const char* name)
{
    auto asked = std::make_shared<QElapsedTimer>();
    run.Then([asked] {
        if (!asked->isValid()) {
            asked->start();
            Main()->raise();
            Main()->activateWindow();
        }
        return (Main()->isActiveWindow() && asked->elapsed() > 300) || asked->elapsed() > 2000;
    });
    run.Then([&run, name] {
        run.Grab(Main(), name);
        return true;
    });
}

// Until the test has ended and the window is given back.
void WaitUntilIdle(Sequence& run)
{
    // The status changes before the finished notice has given the window back.
    run.Then([] { return Status() == QString::fromStdString(LocalizedText(kTestCompleteStatus)) && !bTestRunning.load() && !TestLaunchInProgress(); });
    run.Then([] {
        return Widgets().startButton->isEnabled() && Widgets().driveVolumeTabs->isEnabled();
    });
}

void TestDrive(Sequence& run, const QString& device)
{
    run.Then([device] {
        const int slot = FindListedDrive(device.toLocal8Bit().constData());
        if (slot < 0)
            return false;  // not listed yet
        QComboBox* popup = Widgets().drivePopup;
        popup->setCurrentIndex(slot + 2);
        emit popup->activated(slot + 2);  // as a user's choice
        // Options as a user sets them: 32 MB transfers at 10 zones, 5 cycles.
        ShowSettingsSheet();
        const Ui::OptionsSheet& sheet = Main()->optionsSheet->ui;
        sheet.transferSize->setText(QStringLiteral("32"));
        sheet.zonesPopup->setCurrentIndex(9);
        sheet.cyclesPopup->setCurrentIndex(4);
        sheet.confirmButton->click();
        Widgets().startButton->click();
        return true;
    });
    run.Then([&run] {
        const ::Run& shown = ShownRun();
        if (!shown.ZoneMeasured(shown.settings.zones / 2))
            return Status() == QString::fromStdString(LocalizedText(kTestCompleteStatus));
        run.Grab(Main(), "running.png");
        return true;
    });
    WaitUntilIdle(run);
}
// The random test on the same drive, from its pane.
void RandomTest(Sequence& run)
{
    run.Then([] {
        QComboBox* popup = Widgets().testKindPopup;
        popup->setCurrentIndex(1);
        emit popup->activated(1);
        Widgets().startButton->click();
        return true;
    });
    WaitUntilIdle(run);
}

// KESTRELIA_SCREENSHOT_PALETTE=dark: the pictures on a dark desktop (Fusion, dark palette).
void UseDarkPaletteIfAsked()
{
    const char* palette = std::getenv("KESTRELIA_SCREENSHOT_PALETTE");
    if (palette == nullptr || std::string(palette) != "dark")
        return;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(58, 58, 62));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(58, 58, 62));
    dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    QApplication::setPalette(dark);
}

// KESTRELIA_SCREENSHOT_FONT=12: the pictures with a system font of that many points.
void UseFontSizeIfAsked()
{
    const char* size = std::getenv("KESTRELIA_SCREENSHOT_FONT");
    if (size == nullptr || std::atof(size) <= 0.0)
        return;
    QFont font = QApplication::font();
    font.setPointSizeF(std::atof(size));
    QApplication::setFont(font);
}
}  // namespace

void UseDesktopLookIfAsked()
{
    UseDarkPaletteIfAsked();
    UseFontSizeIfAsked();
}

bool StartScreenshotsIfAsked()
{
    const char* folder = std::getenv("KESTRELIA_SCREENSHOTS");
    if (folder == nullptr || *folder == '\0')
        return false;
    gSequence = std::make_unique<Sequence>(QString::fromLocal8Bit(folder));
    Sequence& run = *gSequence;
    run.Then([] { return Main()->isVisible(); });
    GrabMainWindow(run, "main.png");
    if (const char* device = std::getenv("KESTRELIA_SCREENSHOT_DRIVE"); device != nullptr && *device != '\0') {
        TestDrive(run, QString::fromLocal8Bit(device));
        GrabMainWindow(run, "finished.png");
        RandomTest(run);
        GrabMainWindow(run, "random.png");
    }
    run.Then([] {
        ShowSettingsSheet();
        return true;
    });
    run.Then([&run] {
        QDialog* sheet = Main()->optionsSheet;
        run.Grab(sheet, "options.png");
        sheet->reject();
        return true;
    });
    run.Then([&run] {
        QWidget* about = Main()->aboutWindow;
        about->show();
        run.Grab(about, "about.png");
        about->hide();
        return true;
    });
    run.Then([&run] {
        QTimer::singleShot(300, [&run] {
            if (gNavDialogRef == nullptr)
                return;
            run.Grab(gNavDialogRef, "save.png");
            gNavDialogRef->reject();
        });
        CurrentWindowSettings().reportFormat = kTextReportFormat;
        DoNavSaveFileForTestResults();
        return true;
    });
    return true;
}
