#include "shell/MainWindow.h"

#include "format/Localization.h"

#include "shell/Toolkit.h"

#include <QKeyEvent>
#include <QMessageBox>

namespace {
MainWindow* gTheMainWindow = nullptr;

// The widgets of kind Widget marked with signature, by their control ID.
template <typename Widget>
std::map<int, Widget*> IndexByControlId(const QWidget* window, QLatin1String signature)
{
    std::map<int, Widget*> index;
    for (Widget* widget : window->findChildren<Widget*>())
        if (widget->property("controlSignature").toString() == signature)
            index.emplace(widget->property("controlId").toInt(), widget);
    return index;
}
}  // namespace

OptionsSheet::OptionsSheet(QWidget* parent) : QDialog(parent, Qt::Sheet)
{
    ui.setupUi(this);
    MakeSeparators(this);
    NameFieldsByTheirLabels(this);
    RoomForGroupTitles(this);
    setWindowModality(Qt::WindowModal);
}

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    ui.setupUi(this);
}

void AboutWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape closes it as it closes a dialog (closed, it is only hidden).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

MainWindow::MainWindow()
    : optionsSheet(new OptionsSheet(this)), aboutWindow(new AboutWindow(this))
{
    ui.setupUi(this);
    MakeSeparators(this);
    NameFieldsByTheirLabels(this);
    RoomForGroupTitles(this);
    numberedTexts_ = IndexByControlId<QLabel>(this, QLatin1String("stxt"));
    numberedBars_ = IndexByControlId<QProgressBar>(this, QLatin1String("prgb"));
    if (gTheMainWindow == nullptr)
        gTheMainWindow = this;
}

MainWindow::~MainWindow()
{
    if (gTheMainWindow == this)
        gTheMainWindow = nullptr;
}

void MainWindow::SetSaveMenuEnabled(bool enabled)
{
    ui.saveMenu->menuAction()->setEnabled(enabled);
    ui.saveMenu->setEnabled(enabled);
}

QLabel* MainWindow::NumberedText(int controlId) const
{
    const auto found = numberedTexts_.find(controlId);
    return found != numberedTexts_.end() ? found->second : nullptr;
}

QProgressBar* MainWindow::NumberedProgressBar(int controlId) const
{
    const auto found = numberedBars_.find(controlId);
    return found != numberedBars_.end() ? found->second : nullptr;
}

MainWindow* TheMainWindow()
{
    return gTheMainWindow;
}

void SetNumberedText(int controlId, const QString& text)
{
    if (MainWindow* window = TheMainWindow())
        if (QLabel* label = window->NumberedText(controlId))
            ShowText(label, QString::fromStdString(LocalizedText(text.toStdString().c_str())));
}
