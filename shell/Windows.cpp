#include "shell/Windows.h"

#include "devices/DriveRecords.h"
#include "display/GraphKey.h"
#include "display/OverlaySettings.h"
#include "display/ResultPanes.h"
#include "format/Localization.h"
#include "shell/WindowLaunch.h"
#include "shell/MainWindow.h"
#include "shell/Preferences.h"
#include "shell/Toolkit.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyle>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

char gPathToAppIcon[1024] = "";
char gPathToUnknownIcon[1024] = "";

namespace {
std::unique_ptr<MainWindow> gMainWindow;

// Copies a path into a 1024-byte buffer; a longer one leaves it empty.
void CopyPath(const std::string& path, char* buffer)
{
    if (path.size() >= 1024) {
        buffer[0] = '\0';
        return;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
}

// The gear drawn for the palette: on a dark one its shades are turned light
// (lightness mirrored, hue and transparency kept), so it reads on a dark button.
QIcon GearForPalette(const QIcon& gear, const QPalette& palette)
{
    if (gear.isNull() || palette.color(QPalette::Button).lightness() >= 128)
        return gear;
    QIcon adapted;
    for (const int size : {16, 20, 32, 40, 64}) {
        QImage image = gear.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                image.setPixelColor(x, y, QColor::fromHsl(c.hslHue(), c.hslSaturation(), 255 - c.lightness(), c.alpha()));
            }
        adapted.addPixmap(QPixmap::fromImage(image));
    }
    return adapted;
}

// Puts the gear into its button again whenever the palette changes.
class GearFollowsPalette final : public QObject {
public:
    GearFollowsPalette(MainWindow* window, QIcon gear) : window_(window), gear_(std::move(gear)) {}
    void Apply() const { window_->ui.optionsButton->setIcon(GearForPalette(gear_, window_->palette())); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::PaletteChange)
            Apply();
        return false;
    }

private:
    MainWindow* window_;
    QIcon gear_;
};
std::unique_ptr<GearFollowsPalette> gGearFollower;

// Draws the text of a label marked "elide" with "…" at its end when it does
// not fit; the label keeps its whole text (and Toolkit puts it in the tooltip).
class ElidingLabels final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* label = qobject_cast<QLabel*>(watched);
        if (label == nullptr || event->type() != QEvent::Paint)
            return false;
        const QRect room = label->contentsRect();
        const QString text = label->text();
        if (label->fontMetrics().horizontalAdvance(text) <= room.width())
            return false;
        QPainter painter(label);
        label->style()->drawItemText(&painter, room, static_cast<int>(label->alignment()), label->palette(),
                                     label->isEnabled(), label->fontMetrics().elidedText(text, Qt::ElideRight, room.width()),
                                     label->foregroundRole());
        return true;
    }
};
ElidingLabels gElidingLabels;

// The descriptions of the chosen drive and volume hold names and interface
// texts of any length, the status line the summary of a run opened.
void ElideLongTexts(const Ui::MainWindow& ui)
{
    for (QLabel* label : {ui.driveInterface, ui.driveSize, ui.volumeFormat, ui.volumeSize, ui.statusLine}) {
        label->setProperty("elide", true);
        label->installEventFilter(&gElidingLabels);
        // Its text, however long, asks for no room of the layout.
        label->setSizePolicy(QSizePolicy::Ignored, label->sizePolicy().verticalPolicy());
    }
}

// The longest texts the summaries and figures take, by control ID, in the
// user's language: each is a strings-table key with its %1 filled in.
struct LongestText {
    int id;
    const char* key;
    const char* fill;
};
constexpr LongestText kLongestTexts[] = {
    {6, "511 Megabytes", ""}, {7, "50", ""}, {8, "50", ""}, {9, "65535 MB/sec", ""}, {10, "50 %", ""},
    {130, "Queue depth: %1", "256"}, {100, "12345.678", ""}, {101, "12345.678", ""}, {102, "MB per Second", ""},
    {103, "MB per Second", ""}, {104, "1234567", ""}, {105, "1234567", ""}, {107, "%1 per transfer", "999.99 ms"},
    {108, "%1 per transfer", "999.99 ms"}, {110, "10000", ""}, {120, "10000", ""},
    {111, "59 minutes, 59 seconds ", ""}, {121, "59 minutes, 59 seconds ", ""}};

// The window takes the size its layouts ask for in the user's font and
// language with the longest summaries and figures (never less than the graph
// pane needs) and keeps it: the graph's rectangles are taken from where its
// pane then lies, and no later value is cut.
void FitWindowToItsLayout(MainWindow* main)
{
    std::vector<std::pair<QLabel*, QString>> shown;
    for (const auto& [id, key, fill] : kLongestTexts)
        if (QLabel* label = main->NumberedText(id)) {
            shown.emplace_back(label, label->text());
            SetNumberedText(id, QString::fromStdString(LocalizedText(key, fill)));
        }
    main->ensurePolished();
    main->setFixedSize(main->sizeHint().expandedTo(QSize(800, 600)));
    main->layout()->activate();
    main->centralWidget()->layout()->activate();
    for (const auto& [label, text] : shown)
        label->setText(text);
}

// The graph pane keeps its drawn geometry; the texts under the graph take the
// height of the user's font, the position labels one grid step of width.
void FitGraphPaneTexts(const Ui::MainWindow& ui)
{
    QLabel* const positionLabels[] = {ui.positionLabel0, ui.positionLabel1, ui.positionLabel2, ui.positionLabel3,
                                      ui.positionLabel4, ui.positionLabel5, ui.positionLabel6, ui.positionLabel7,
                                      ui.positionLabel8, ui.positionLabel9, ui.positionLabel10};
    const int height = ui.positionCaption->fontMetrics().height() + 2;
    const int step = ui.positionLabel1->geometry().center().x() - ui.positionLabel0->geometry().center().x();
    for (QLabel* label : positionLabels) {
        const QPoint centre = label->geometry().center();
        label->setGeometry(centre.x() - step / 2, label->y(), step, height);
    }
    ui.positionCaption->setGeometry(ui.positionCaption->x(), ui.positionLabel0->geometry().bottom() + 1,
                                    ui.positionCaption->width(), height);
}

// The graph's key and speed labels grow with the user's font: when the key
// needs more than its one row of kGraphKeyHeight, or the labels more than the
// interface file's 60 pixels for the longest value, everything in the graph's
// pane moves down or right by the difference and the pane grows by it (and
// back again for a smaller font).
void MakeRoomForGraphTexts(const Ui::MainWindow& ui)
{
    constexpr int kAboveKey = 10;                      // from the pane's top
    constexpr int kKeyToGraphPane = 19 - kChartInset;  // the key ends 19 pixels above the chart
    constexpr int kLabelsToGraphPane = 4;
    const int labels = std::max(60, ui.standardPane->fontMetrics().horizontalAdvance(QStringLiteral("00000.000")));
    const QPoint shift(labels + kLabelsToGraphPane - ui.graphArea->x(),
                       kAboveKey + GraphKeyHeightFor(ui.standardPane->font()) + kKeyToGraphPane - ui.graphArea->y());
    if (shift.isNull())
        return;
    for (QWidget* child : ui.standardPane->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->move(child->pos() + shift);
    ui.standardPane->setFixedSize(ui.standardPane->maximumSize() + QSize(shift.x(), shift.y()));
}

// Lays the main window out for its font (again, after the font changed): the
// group titles' room, the texts under the graph, the key's room, the window's
// size and the graph's geometry; the options sheet and about window fit it too.
void LayOutForFont(MainWindow* main)
{
    Ui::MainWindow& ui = main->ui;
    for (QWidget* window : {static_cast<QWidget*>(main), static_cast<QWidget*>(main->optionsSheet)})
        RoomForGroupTitles(window);
    FitGraphPaneTexts(ui);
    MakeRoomForGraphTexts(ui);
    // The layouts measure their widgets anew in the font they have now.
    for (QLayout* layout : main->findChildren<QLayout*>())
        layout->invalidate();
    FitWindowToItsLayout(main);
    InstallResultsDisplay(ResultWidgets{main, ui.standardPane, ui.randomPane, ui.graphArea, ui.testKindPopup,
                                        ui.zoneSettingsBox, ui.randomSettingsBox,
                                        {ui.speedLabel1, ui.speedLabel2, ui.speedLabel3, ui.speedLabel4,
                                         ui.speedLabel5, ui.speedLabel6, ui.speedLabel7, ui.speedLabel8,
                                         ui.speedLabel9, ui.speedLabel10},
                                        ui.surfaceSummary});
    for (QWidget* window : {static_cast<QWidget*>(main->optionsSheet), static_cast<QWidget*>(main->aboutWindow)})
        window->adjustSize();
}

// Lays the windows out again when the desktop's font changes while they are
// open: each of them learns of it once its widgets have the new font.
class LayoutFollowsFont final : public QObject {
public:
    explicit LayoutFollowsFont(MainWindow* window) : window_(window)
    {
        for (QWidget* watched : {static_cast<QWidget*>(window), static_cast<QWidget*>(window->optionsSheet),
                                 static_cast<QWidget*>(window->aboutWindow)})
            watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FontChange) {
            LayOutForFont(window_);
            DrawTestResults();
        }
        return false;
    }

private:
    MainWindow* window_;
};
std::unique_ptr<LayoutFollowsFont> gLayoutFollower;

void ShowIconIn(QLabel* label, const QIcon& icon)
{
    if (!icon.isNull())
        label->setPixmap(icon.pixmap(label->size()));
}

// Its answers are connected with the other commands (shell/Commands).
QMessageBox* BuildReadOnlyQuestion(QWidget* main)
{
    // A child of the main window: created once, shown again each time.
    auto* sheet = new QMessageBox(QMessageBox::Warning, QObject::tr("Caution"), kReadOnlySheetMessage,
                                  QMessageBox::Ok | QMessageBox::Cancel, main, Qt::Sheet);
    sheet->setInformativeText(kReadOnlySheetExplanation);
    sheet->setDefaultButton(QMessageBox::Ok);
    sheet->setWindowModality(Qt::WindowModal);
    return sheet;
}
}  // namespace

QString ResourcesDirectoryFor(const QString& executable)
{
    const QDir folder = QFileInfo(executable).absoluteDir();
    return QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("../share/kestrelia"))) + QLatin1Char('/');
}

QIcon IconForPath(const char* pathOrThemeName)
{
    const QString name = QString::fromUtf8(pathOrThemeName != nullptr ? pathOrThemeName : "");
    const QIcon unknown(QString::fromUtf8(gPathToUnknownIcon));
    if (!name.isEmpty() && QFileInfo::exists(name))
        return QIcon(name);
    if (!name.isEmpty() && !name.contains(QLatin1Char('/')))
        return QIcon::fromTheme(name, unknown);
    return unknown;
}

void CreateAllWindows()
{
    gMainWindow = std::make_unique<MainWindow>();
    MainWindow* main = gMainWindow.get();
    Ui::MainWindow& ui = main->ui;
    // The overlay reads its target rate and margin from the sheet.
    SetOverlaySettingsSheet(main->optionsSheet->ui.baselineSpeed, main->optionsSheet->ui.safetyPopup);

    // The save submenu waits for the first finished test.
    main->SetSaveMenuEnabled(false);

    if (gPathToAppIcon[0] == '\0')
        CopyPath(std::string(gPathToAllIcons) + "AppIcon.icns", gPathToAppIcon);
    CopyPath(std::string(gPathToAllIcons) + "unknownDevice.icns", gPathToUnknownIcon);
    const QIcon appIcon(QString::fromUtf8(gPathToAppIcon));
    main->setWindowIcon(appIcon);
    main->aboutWindow->setWindowIcon(appIcon);
    ShowIconIn(ui.appIcon, appIcon);
    ShowIconIn(main->aboutWindow->ui.aboutIcon, appIcon);
    ShowIconIn(ui.driveIcon, IconForPath(gPathToUnknownIcon));
    ShowIconIn(ui.volumeIcon, IconForPath(gPathToUnknownIcon));
    gGearFollower = std::make_unique<GearFollowsPalette>(
        main, IconForPath((std::string(gPathToAllIcons) + "Gear16.icns").c_str()));
    gGearFollower->Apply();
    main->installEventFilter(gGearFollower.get());

    ElideLongTexts(ui);
    // Drive and volume names, however long, ask for no more room than the layout has.
    for (QComboBox* popup : {ui.drivePopup, ui.volumePopup})
        popup->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ui.driveVolumeTabs->setCurrentIndex(0);
    ui.startButton->setEnabled(false);
    LayOutForFont(main);
    gLayoutFollower = std::make_unique<LayoutFollowsFont>(main);
    main->readOnlyQuestion = BuildReadOnlyQuestion(main);
    LoadPreferences();
    ShowText(ui.statusLine, QString::fromStdString(LocalizedText("- No Drive Selected for Testing -")));
    ui.spareTabPane->hide();
    ToggleTestPanes();
    main->show();
    DrawTestResults();
}

void DestroyAllWindows()
{
    gMainWindow.reset();  // its sheets, about window and question go with it
    gGearFollower.reset();
    gLayoutFollower.reset();
}

void ShowAboutWindow()
{
    MainWindow* main = TheMainWindow();
    if (main == nullptr)
        return;
    QWidget* about = main->aboutWindow;
    about->show();  // its frame is known once shown
    QRect frame = about->frameGeometry();
    frame.moveCenter(main->frameGeometry().center());
    about->move(frame.topLeft());
    about->raise();
    about->activateWindow();
}

void ShowSettingsSheet()
{
    if (MainWindow* main = TheMainWindow()) {
        main->optionsSheet->show();
        main->optionsSheet->raise();
        // Each time it opens, the keyboard starts at its first field.
        main->optionsSheet->ui.transferSize->setFocus(Qt::OtherFocusReason);
    }
}
