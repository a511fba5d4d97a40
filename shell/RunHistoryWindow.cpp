#include "shell/RunHistoryWindow.h"

#include "devices/DriveIdentity.h"
#include "devices/DriveRecords.h"
#include "display/EarlierRun.h"
#include "display/GraphKey.h"
#include "display/ResultPanes.h"
#include "shell/WindowLaunch.h"
#include "engine/ZoneTests.h"
#include "format/Localization.h"
#include "format/Utf8Text.h"
#include "reports/RunHistory.h"
#include "shell/Alerts.h"
#include "shell/MainWindow.h"
#include "shell/Preferences.h"
#include "shell/QtLaunch.h"
#include "shell/Selection.h"
#include "shell/ShownRun.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"
#include "shell/ResultPaneTexts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStandardItemModel>
#include <QTabWidget>

#include <algorithm>
#include <ctime>
#include <iostream>

namespace {
// The popup lists the runs again each time it opens, so that it follows
// drives chosen by any means.
class CompareCombo final : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override
    {
        RefreshComparePopup();
        QComboBox::showPopup();
    }
};

QPointer<CompareCombo> gPopup;
QPointer<EarlierRunKeyCell> gKeyCell;
QPointer<QLabel> gRandomLine;

// A history entry is the run on show, which is no earlier run.
bool IsShownRun(const HistoryEntry& entry)
{
    const Run& shown = ShownRun();
    return shown.HasResults() && RunDocumentTime(entry.run) == shown.ended;
}

// The zone count the graph draws: that of the run shown, else the options'.
int32_t ShownZoneCount()
{
    if (ShownRun().ZoneMeasured(0))
        return ShownRun().settings.zones;
    return TheMainWindow()->optionsSheet->ui.zonesPopup->currentIndex() + 1;
}

EarlierRun EarlierRunOf(const RunDocument& run)
{
    const std::string summary = ShownText(RunSummary(run));
    return EarlierRun{true, summary.substr(0, summary.find(',')), RunFromDocument(run)};
}

void ShowRandomComparison()
{
    if (gRandomLine.isNull())
        return;
    const std::string text = EarlierRandomText(ShownRun().random);
    gRandomLine->setText(QString::fromUtf8(text.c_str()));
    gRandomLine->setVisible(!text.empty());
}

// The item chosen in the popup becomes the run compared with.
void CompareWithChosenRun()
{
    gEarlierRun = EarlierRun{};
    if (!gPopup.isNull() && gPopup->currentIndex() > 0) {
        std::string why;
        const std::string path = gPopup->currentData().toString().toStdString();
        if (const auto run = ReadRunDocumentAsUser(path, &why))
            gEarlierRun = EarlierRunOf(*run);
        else
            std::cerr << "kestrelia: skipping " << path << ": " << why << '\n';
    }
    if (!gKeyCell.isNull())
        gKeyCell->setVisible(gEarlierRun.active && gEarlierRun.run.settings.kind == TestKind::Standard);
    ShowRandomComparison();
    DrawTestResults();
}

void ShowRandomFigures()
{
    const auto show = [](double speed, int32_t valueId, int32_t unitId, int32_t rateId) {
        if (speed <= 0.0)
            return;
        const RandomSpeedTexts texts = FormatRandomSpeed(speed);
        SetNumberedText(valueId, QString::fromUtf8(texts.value));
        SetNumberedText(unitId, QString::fromUtf8(texts.unit));
        SetNumberedText(rateId, QString::fromUtf8(texts.perSecond));
    };
    show(ShownRun().random.readSpeed, kReadSpeedText, kReadUnitText, kReadRateText);
    show(ShownRun().random.writeSpeed, kWriteSpeedText, kWriteUnitText, kWriteRateText);
}

void ChooseOpenResultsFile()
{
    if (bTestRunning.load() || TestLaunchInProgress())
        return;
    const QString path = QFileDialog::getOpenFileName(TheMainWindow(), QString::fromStdString(LocalizedText(kOpenResultsTitle)),
                                                      QString::fromStdString(HistoryRoot()),
                                                      QStringLiteral("Kestrelia results (*.json)"));
    if (path.isEmpty())
        return;
    const QString problem = OpenResultsFile(path);
    if (!problem.isEmpty())
        DoStandardLocalizedAlert("Sorry, these results cannot be opened.", problem.toUtf8().constData(),
                                 kAlertStopAlert);
}

void AddOpenResultsCommand()
{
    QMenu* menu = TheMainWindow()->ui.fileMenu;
    // After the save submenu, which stays the menu's first item.
    const QList<QAction*> actions = menu->actions();
    auto* open = new QAction(QString::fromStdString(LocalizedText(kOpenResultsTitle)), menu);
    open->setObjectName(QStringLiteral("actionOpenResults"));
    open->setShortcut(QKeySequence::Open);
    menu->insertAction(actions.size() > 1 ? actions[1] : nullptr, open);
    QObject::connect(open, &QAction::triggered, open, [] { ChooseOpenResultsFile(); });
}
}  // namespace

void RecordFinishedRun(const Run& run)
{
    if (run.end != RunEnd::Completed || !run.HasResults() || run.target.identity.empty())
        return;
    std::string error;
    const std::string path = SaveRunToHistory(HistoryRoot(), CaptureRunDocument(run), NowMilliseconds(), &error,
                                              std::cerr);
    if (path.empty())
        std::cerr << "kestrelia: the run could not be kept in the history: " << error << '\n';
    RefreshComparePopup();
}

void SetOpenResultsEnabled(bool enabled)
{
    if (MainWindow* window = TheMainWindow())
        if (auto* open = window->ui.fileMenu->findChild<QAction*>(QStringLiteral("actionOpenResults")))
            open->setEnabled(enabled);
}

QComboBox* ComparePopup()
{
    return gPopup.data();
}

void RefreshComparePopup()
{
    if (gPopup.isNull())
        return;
    const QString chosen = gPopup->currentData().toString();
    const QSignalBlocker quiet(gPopup.data());
    gPopup->clear();
    gPopup->addItem(QString::fromStdString(LocalizedText(kCompareNoneItem)));
    // The drive of the run shown, else the one chosen.
    const std::optional<RunTarget> subject =
        ShownRun().HasResults() ? std::optional<RunTarget>(ShownRun().target) : ChosenRunTarget();
    if (subject && !subject->identity.empty()) {
        const TestKind kind = NextRunKind();
        const int32_t zones = ShownZoneCount();
        auto* model = qobject_cast<QStandardItemModel*>(gPopup->model());
        for (const HistoryEntry& entry : ListDriveHistory(HistoryRoot(), subject->identity, std::cerr)) {
            if (IsShownRun(entry))
                continue;  // the results on show are no earlier run
            const std::string why = RunComparabilityProblem(entry.run, kind, zones);
            QString text = QString::fromStdString(ShownText(RunSummary(entry.run)));
            if (!why.empty())
                text += QStringLiteral(" — cannot be compared: ") + QString::fromUtf8(why.c_str());
            gPopup->addItem(text, QString::fromStdString(entry.path));
            if (!why.empty() && model != nullptr)
                model->item(gPopup->count() - 1)->setEnabled(false);
        }
    }
    int index = chosen.isEmpty() ? 0 : gPopup->findData(chosen);
    if (index < 0 || (index > 0 && !(gPopup->model()->flags(gPopup->model()->index(index, 0)) & Qt::ItemIsEnabled)))
        index = 0;
    gPopup->setCurrentIndex(index);
    if (gPopup->currentData().toString() != chosen || (index == 0 && gEarlierRun.active))
        CompareWithChosenRun();
    else
        ShowRandomComparison();
}

void InstallRunHistoryControls()
{
    MainWindow* window = TheMainWindow();
    if (window == nullptr)
        return;
    const Ui::MainWindow& ui = window->ui;
    // The status line gives the right part of its row to the popup.
    QWidget* status = ui.statusLine;
    QWidget* row = status->parentWidget();
    auto* title = new QLabel(QString::fromStdString(LocalizedText(kCompareWithTitle)), row);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gPopup = new CompareCombo(row);
    gPopup->setObjectName(QStringLiteral("comparePopup"));
    gPopup->setMinimumWidth(250);
    gPopup->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    gPopup->view()->setMinimumWidth(560);
    title->setBuddy(gPopup);
    gPopup->setAccessibleName(title->text());
    ui.statusRow->addWidget(title);
    ui.statusRow->addWidget(gPopup);
    QObject::connect(gPopup.data(), &QComboBox::currentIndexChanged, gPopup.data(), [] { CompareWithChosenRun(); });

    // The key's cell for the markers, right of the graph key.
    if (QWidget* key = gGraphKey) {
        gKeyCell = new EarlierRunKeyCell(key);  // owned by the key's parent
        gKeyCell->hide();
    }
    if (QWidget* randomPane = ui.randomPane) {
        gRandomLine = new QLabel(randomPane);
        gRandomLine->setObjectName(QStringLiteral("earlierRandomRun"));
        ui.randomFiguresLayout->addWidget(gRandomLine, ui.randomFiguresLayout->rowCount(), 0, 1, -1);
        gRandomLine->hide();
    }

    // What changes the drive shown or the kind of results lists the runs again.
    for (QComboBox* popup : {ui.drivePopup, ui.volumePopup})
        QObject::connect(popup, &QComboBox::activated, gPopup.data(), [] { RefreshComparePopup(); });
    QObject::connect(ui.driveVolumeTabs, &QTabWidget::currentChanged, gPopup.data(), [] { RefreshComparePopup(); });
    QObject::connect(ui.testKindPopup, &QComboBox::currentIndexChanged, gPopup.data(), [] { RefreshComparePopup(); });
    AddOpenResultsCommand();
    RefreshComparePopup();
}

QString OpenResultsFile(const QString& path)
{
    if (bTestRunning.load() || TestLaunchInProgress())
        return QStringLiteral("A test is running.");
    std::string why;
    const std::optional<RunDocument> run = ReadRunDocumentAsUser(path.toStdString(), &why);
    if (!run)
        return QString::fromStdString(path.toStdString() + ": " + why);
    ShowOpenedRun(RunFromDocument(*run));
    TheMainWindow()->ui.testKindPopup->setCurrentIndex(run->surfaceTest ? 2 : run->randomTest ? 1 : 0);  // shows the pane of the run
    ToggleTestPanes();
    ShowRunTarget(ShownRun().target);
    ShowRandomFigures();
    WindowLaunch().SetSaveMenuEnabled(true);
    ShowText(TheMainWindow()->ui.statusLine, QString::fromStdString("Results of " + ShownText(RunSummary(*run))));
    RefreshComparePopup();
    DrawTestResults();
    return {};
}
