#include "shell/Windows.h"

#include "devices/DriveRecords.h"
#include "display/OverlaySettings.h"
#include "display/ResultPanes.h"
#include "engine/TestLaunch.h"
#include "shell/Preferences.h"
#include "shell/Toolkit.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QPixmap>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QUiLoader>

#include <cstring>
#include <memory>
#include <string>

WindowRef gAboutWindowRef = nullptr;
QRect gTabPaneRect;
QRect gDragNDropBox;
QMessageBox* gMessageSheetWindow = nullptr;
char gPathToAppIcon[1024] = "";
char gPathToUnknownIcon[1024] = "";

namespace {
// An item "-" of a popup in an interface file is a separator, which cannot be chosen.
void MakeSeparators(QWidget* window)
{
    for (QComboBox* popup : window->findChildren<QComboBox*>()) {
        const QSignalBlocker quiet(popup);
        for (int i = 0; i < popup->count(); ++i) {
            if (popup->itemText(i) != QLatin1String("-"))
                continue;
            popup->removeItem(i);
            popup->insertSeparator(i);
        }
    }
}
}  // namespace

std::unique_ptr<QWidget> LoadInterface(const QString& name, QWidget* parent)
{
    QFile file(QString::fromUtf8(gPathToAllIcons) + QStringLiteral("ui/") + name + QStringLiteral(".ui"));
    if (!file.open(QFile::ReadOnly))
        return nullptr;
    QUiLoader loader;
    std::unique_ptr<QWidget> window(loader.load(&file, parent));
    if (window)
        MakeSeparators(window.get());
    return window;
}

namespace {
std::unique_ptr<QWidget> gMainWindow;

// Copies a path into a 1024-byte buffer; a longer one leaves it empty.
void CopyPath(const std::string& path, char* buffer)
{
    if (path.size() >= 1024) {
        buffer[0] = '\0';
        return;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
}
std::unique_ptr<QWidget> gAboutWindow;

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
    explicit GearFollowsPalette(QIcon gear) : gear_(std::move(gear)) {}
    void Apply() const
    {
        if (auto* main = static_cast<QWidget*>(gMainWindowRef))
            PutIconRefIntoBevelButton(main, 9, GearForPalette(gear_, main->palette()));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == gMainWindowRef && event->type() == QEvent::PaletteChange)
            Apply();
        return false;
    }

private:
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
// texts of any length.
void ElideLongTexts()
{
    for (const int id : {1, 2, 3, 4}) {
        QWidget* control = nullptr;
        if (GetMainWindowControlRef("stxt", id, &control) != 0)
            continue;
        control->setProperty("elide", true);
        control->installEventFilter(&gElidingLabels);
    }
}


void ShowIconIn(const char* signature, int id, const QIcon& icon)
{
    QWidget* control = nullptr;
    if (GetMainWindowControlRef(signature, id, &control) != 0 || icon.isNull())
        return;
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setPixmap(icon.pixmap(label->size()));
}

QMessageBox* BuildMessageSheet(QWidget* main, const MessageSheetAnswers& answers)
{
    // A child of the main window: created once, shown again each time.
    auto* sheet = new QMessageBox(QMessageBox::Warning, QObject::tr("Caution"), kReadOnlySheetMessage,
                                  QMessageBox::Ok | QMessageBox::Cancel, main, Qt::Sheet);
    sheet->setInformativeText(kReadOnlySheetExplanation);
    sheet->setDefaultButton(QMessageBox::Ok);
    sheet->setWindowModality(Qt::WindowModal);
    QObject::connect(sheet, &QMessageBox::finished, sheet, [answers](int result) {
        const auto& answer = result == QMessageBox::Ok ? answers.readOnly : answers.cancel;
        if (answer)
            answer();
    });
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

bool CreateAllWindows(MessageSheetAnswers answers)
{
    gMainWindow = LoadInterface(QStringLiteral("MainWindow"));
    gAboutWindow = LoadInterface(QStringLiteral("AboutWindow"));
    if (!gMainWindow || !gAboutWindow)
        return false;
    QWidget* main = gMainWindow.get();
    gMainWindowRef = main;
    gAboutWindowRef = gAboutWindow.get();
    // The sheet belongs to the main window and is shown over it, window-modal.
    std::unique_ptr<QWidget> sheet = LoadInterface(QStringLiteral("OptionsSheet"));
    if (!sheet)
        return false;
    sheet->setParent(main, Qt::Sheet);
    sheet->setWindowModality(Qt::WindowModal);
    gSettingsSheetWindow = sheet.release();
    // The overlay reads its target rate and margin from the sheet.
    SetOverlaySettingsSheet(static_cast<QWidget*>(gSettingsSheetWindow));
    // The about window belongs to the main window: transient for it, shown over it.
    gAboutWindow->setParent(main, Qt::Dialog);

    // The save submenu waits for the first finished test.
    TurnOffSubMenuItem(1, 1, 0);

    if (gPathToAppIcon[0] == '\0')
        CopyPath(std::string(gPathToAllIcons) + "AppIcon.icns", gPathToAppIcon);
    CopyPath(std::string(gPathToAllIcons) + "unknownDevice.icns", gPathToUnknownIcon);
    const QIcon appIcon(QString::fromUtf8(gPathToAppIcon));
    main->setWindowIcon(appIcon);
    gAboutWindow->setWindowIcon(appIcon);
    PutIconRefIntoImageWell(main, 1, appIcon);
    if (auto* aboutIcon = gAboutWindow->findChild<QLabel*>(QStringLiteral("aboutIcon")))
        aboutIcon->setPixmap(appIcon.pixmap(aboutIcon->size()));
    ShowIconIn("icon", 3, IconForPath(gPathToUnknownIcon));
    ShowIconIn("icon", 4, IconForPath(gPathToUnknownIcon));
    gGearFollower = std::make_unique<GearFollowsPalette>(
        IconForPath((std::string(gPathToAllIcons) + "Gear16.icns").c_str()));
    gGearFollower->Apply();
    main->installEventFilter(gGearFollower.get());

    GetWindowControlRect(main, "tabp", 1, &gTabPaneRect);
    gDragNDropBox = gTabPaneRect.adjusted(0, -10, 0, 0).adjusted(6, 6, -6, -6);

    ElideLongTexts();
    InitThisTabControl(0, 1, 2);
    TurnOffControl("push", 1);
    InstallResultsDisplay();
    gMessageSheetWindow = BuildMessageSheet(main, answers);
    GetApplicationPrefs();
    SetStatTextControlWCStr(main, 5, "- No Drive Selected for Testing -", false);
    HideThisWindowControl(main, "tabp", 12);
    ToggleTestPanes();
    main->show();
    DrawTestResults();
    return true;
}

void DestroyAllWindows()
{
    gMessageSheetWindow = nullptr;
    gSettingsSheetWindow = nullptr;
    gMainWindowRef = nullptr;
    gAboutWindowRef = nullptr;
    gAboutWindow.reset();  // a child of the main window: goes first
    gMainWindow.reset();
    gGearFollower.reset();
}

void ShowAboutWindow()
{
    auto* about = static_cast<QWidget*>(gAboutWindowRef);
    auto* main = static_cast<QWidget*>(gMainWindowRef);
    if (about == nullptr)
        return;
    about->show();  // its frame is known once shown
    if (main != nullptr) {
        QRect frame = about->frameGeometry();
        frame.moveCenter(main->frameGeometry().center());
        about->move(frame.topLeft());
    }
    about->raise();
    about->activateWindow();
}

void ShowSettingsSheet()
{
    if (auto* sheet = static_cast<QWidget*>(gSettingsSheetWindow)) {
        sheet->show();
        sheet->raise();
    }
}
