#include "shell/RunHistoryWindow.h"

#include "devices/DriveIdentity.h"
#include "devices/DriveRecords.h"
#include "display/ControlLookup.h"
#include "display/EarlierRun.h"
#include "display/GraphKey.h"
#include "display/ResultPanes.h"
#include "engine/TestLaunch.h"
#include "engine/TestModel.h"
#include "engine/ZoneTests.h"
#include "format/ByteText.h"
#include "format/Utf8Text.h"
#include "reports/ActiveSubject.h"
#include "reports/RunHistory.h"
#include "shell/Alerts.h"
#include "shell/Preferences.h"
#include "shell/QtLaunch.h"
#include "shell/Selection.h"
#include "shell/Toolkit.h"
#include "shell/Windows.h"

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
// The run whose results are shown (saved or opened last), while they still are.
std::string gShownRunPath;
uint64_t gShownFingerprint = 0;

QWidget* MainWindow()
{
    return static_cast<QWidget*>(gMainWindowRef);
}

bool ResultsAreShownRun()
{
    return !gShownRunPath.empty() && gShownFingerprint == CurrentResultsFingerprint();
}

// The zone count the graph draws: that of the results shown, else the options'.
int32_t ShownZoneCount()
{
    if (ZoneIsMeasured(0))
        return gZoneTestCountS32;
    return GetThisWindowControlValue32(gSettingsSheetWindow, "popb", 3);
}

EarlierRun EarlierRunOf(const RunDocument& run)
{
    EarlierRun earlier;
    earlier.active = true;
    earlier.random = run.randomTest;
    const std::string summary = ShownText(RunSummary(run));
    earlier.label = summary.substr(0, summary.find(','));
    earlier.driveSectors = run.sizeBytes >> 9;
    for (const RunZone& zone : run.zoneResults) {
        EarlierZone entry{zone.firstSector, zone.read.min, zone.read.avg, zone.read.max, false, 0, 0, 0};
        if (zone.write) {
            entry.hasWrite = true;
            entry.writeMin = zone.write->min;
            entry.writeAvg = zone.write->avg;
            entry.writeMax = zone.write->max;
        }
        earlier.zones.push_back(entry);
    }
    earlier.randomRead = run.randomRead.value_or(0.0);
    earlier.randomWrite = run.randomWrite.value_or(0.0);
    earlier.queueDepth = static_cast<uint32_t>(run.queueDepth);
    return earlier;
}

void ShowRandomComparison()
{
    if (gRandomLine.isNull())
        return;
    const std::string text = EarlierRandomText(gSavedRandomReadSpeedDbl, gSavedRandomWriteSpeedDbl);
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
        gKeyCell->setVisible(gEarlierRun.active && !gEarlierRun.random);
    ShowRandomComparison();
    DrawTestResults();
}

void ShowRandomFigures()
{
    const auto show = [](double speed, int32_t valueId, int32_t unitId, int32_t rateId) {
        if (speed <= 0.0)
            return;
        const RandomSpeedTexts texts = FormatRandomSpeed(speed);
        SetStatTextControlWCStr(gMainWindowRef, valueId, texts.value, false);
        SetStatTextControlWCStr(gMainWindowRef, unitId, texts.unit, false);
        SetStatTextControlWCStr(gMainWindowRef, rateId, texts.perSecond, false);
    };
    show(gSavedRandomReadSpeedDbl, kReadSpeedText, kReadUnitText, kReadRateText);
    show(gSavedRandomWriteSpeedDbl, kWriteSpeedText, kWriteUnitText, kWriteRateText);
}

void ChooseOpenResultsFile()
{
    if (bTestRunning.load() || TestLaunchInProgress())
        return;
    const QString path = QFileDialog::getOpenFileName(MainWindow(), QString::fromUtf8(kOpenResultsTitle),
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
    auto* window = qobject_cast<QMainWindow*>(MainWindow());
    if (window == nullptr || window->menuBar() == nullptr)
        return;
    for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
        if (menu->property("menuId").toInt() != 1)
            continue;
        // After the save submenu, which stays the menu's first item.
        const QList<QAction*> actions = menu->actions();
        auto* open = new QAction(QString::fromUtf8(kOpenResultsTitle), menu);
        open->setShortcut(QKeySequence::Open);
        menu->insertAction(actions.size() > 1 ? actions[1] : nullptr, open);
        QObject::connect(open, &QAction::triggered, open, [] { ChooseOpenResultsFile(); });
        return;
    }
}
}  // namespace

std::optional<RunSubject> WindowRunSubject()
{
    RunSubject subject;
    if (gDVLastTabIndex == 2) {
        if (gActiveVolume == nullptr || gActiveVolume->rawDevicePathCStr[0] == '\0')
            return std::nullopt;
        subject.isVolume = true;
        subject.devicePath = gActiveVolume->rawDevicePathCStr;
        subject.description = gActiveVolume->volNameCStr;
        subject.sizeBytes = gActiveVolume->totalBytes64;
    } else {
        if (gActiveDrive == nullptr || gActiveDrive->devicePathCStr[0] == '\0')
            return std::nullopt;
        subject.devicePath = gActiveDrive->devicePathCStr;
        subject.description = gActiveDrive->driveNameCStr;
        subject.sizeBytes = static_cast<uint64_t>(gActiveDrive->sizeInBytes64);
    }
    subject.identity = DriveIdentityFor(subject.devicePath);
    if (subject.identity.empty())
        return std::nullopt;
    return subject;
}

void RecordFinishedRun()
{
    if (!LastTestCompleted())
        return;
    const bool measured = gCurrentSelectedTestType == 1 ? ZoneIsMeasured(0) : gSavedRandomReadSpeedDbl > 0.0;
    std::optional<RunSubject> subject = WindowRunSubject();
    if (!measured || !subject)
        return;
    // The size measured through the node, which a volume's record may round.
    subject->sizeBytes = static_cast<uint64_t>(gDriveSizeInBytes64);
    const int64_t now = NowMilliseconds();
    const RunDocument run = CaptureRunDocument(*subject, static_cast<std::time_t>(now / 1000));
    std::string error;
    const std::string path = SaveRunToHistory(HistoryRoot(), run, now, &error, std::cerr);
    if (path.empty()) {
        std::cerr << "kestrelia: the run could not be kept in the history: " << error << '\n';
        return;
    }
    gShownRunPath = path;
    gShownFingerprint = CurrentResultsFingerprint();
    RefreshComparePopup();
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
    gPopup->addItem(QString::fromUtf8(kCompareNoneItem));
    const std::optional<RunSubject> subject = WindowRunSubject();
    if (subject) {
        const bool randomPane = gCurrentSelectedTestType != 1;
        const int32_t zones = ShownZoneCount();
        auto* model = qobject_cast<QStandardItemModel*>(gPopup->model());
        for (const HistoryEntry& entry : ListDriveHistory(HistoryRoot(), subject->identity, std::cerr)) {
            if (ResultsAreShownRun() && entry.path == gShownRunPath)
                continue;  // the results on show are no earlier run
            const std::string why = RunComparabilityProblem(entry.run, randomPane, zones);
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
    QWidget* window = MainWindow();
    if (window == nullptr)
        return;
    // The status line gives the right part of its row to the popup.
    QWidget* status = display::FindControl(window, "stxt", kStatusText);
    QWidget* row = status != nullptr ? status->parentWidget() : window;
    QRect place = status != nullptr ? status->geometry() : QRect(12, 148, 776, 20);
    auto* title = new QLabel(QString::fromUtf8(kCompareWithTitle), row);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // As wide as the title needs in the user's font, never narrower than the layout's 90.
    const int popupWidth = 250, titleWidth = std::max(90, title->sizeHint().width());
    if (status != nullptr)
        status->setGeometry(place.adjusted(0, 0, -(popupWidth + titleWidth + 8), 0));
    // Below the settings box above it and above the graph key below it.
    const int top = place.top() + 5, height = 24;
    title->setGeometry(place.right() - popupWidth - titleWidth - 3, top, titleWidth, height);
    gPopup = new CompareCombo(row);
    gPopup->setObjectName(QStringLiteral("comparePopup"));
    gPopup->setGeometry(place.right() - popupWidth + 1, top, popupWidth, height);
    gPopup->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    gPopup->view()->setMinimumWidth(560);
    title->show();
    gPopup->show();
    QObject::connect(gPopup.data(), &QComboBox::currentIndexChanged, gPopup.data(), [] { CompareWithChosenRun(); });

    // The key's cell for the markers, right of the graph key.
    if (QWidget* key = gGraphicalDataBrowerCntl) {
        gKeyCell = new EarlierRunKeyCell(key->parentWidget());
        gKeyCell->setGeometry(key->geometry().right() + 1, key->geometry().top(), 90, key->geometry().height());
        gKeyCell->hide();
    }
    if (QWidget* randomPane = display::FindControl(window, "upan", 2)) {
        gRandomLine = new QLabel(randomPane);
        gRandomLine->setObjectName(QStringLiteral("earlierRandomRun"));
        gRandomLine->setGeometry(40, 250, 720, 20);
        gRandomLine->hide();
    }

    // What changes the drive shown or the kind of results lists the runs again.
    for (const int popupId : {1, 2})
        if (auto* popup = qobject_cast<QComboBox*>(display::FindControl(window, "popb", popupId)))
            QObject::connect(popup, &QComboBox::activated, gPopup.data(), [] { RefreshComparePopup(); });
    if (auto* tabs = qobject_cast<QTabWidget*>(display::FindControl(window, "tabs", 0)))
        QObject::connect(tabs, &QTabWidget::currentChanged, gPopup.data(), [] { RefreshComparePopup(); });
    if (QWidget* kind = display::FindControl(window, "pgrp", 1))
        if (auto* popup = kind->findChild<QComboBox*>())
            QObject::connect(popup, &QComboBox::currentIndexChanged, gPopup.data(), [] { RefreshComparePopup(); });
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
    ApplyRunDocument(*run);
    ReportSubject subject;
    subject.isVolume = run->isVolume;
    subject.name = ShownText(run->description);
    char size[256];
    BytesSInt64ToCStrWLabel(static_cast<int64_t>(run->sizeBytes), size, true);
    subject.sizeLabel = size;
    SetOpenedResultsSubject(subject, CurrentResultsFingerprint());
    gShownRunPath = path.toStdString();
    gShownFingerprint = CurrentResultsFingerprint();
    if (QWidget* kind = display::FindControl(MainWindow(), "pgrp", 1))
        if (auto* popup = kind->findChild<QComboBox*>())
            popup->setCurrentIndex(run->randomTest ? 1 : 0);  // shows the pane of the run
    ToggleTestPanes();
    InsertSizeIncrements();  // the positions along the run's drive
    ShowRandomFigures();
    WindowLaunch().SetSaveMenuEnabled(true);
    SetStatTextControlWCStr(gMainWindowRef, kStatusText, ("Results of " + ShownText(RunSummary(*run))).c_str(), false);
    RefreshComparePopup();
    DrawTestResults();
    return {};
}
