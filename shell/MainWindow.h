// The program's windows as classes over the interface files, which uic
// compiles into Ui::MainWindow, Ui::OptionsSheet and Ui::AboutWindow: every
// widget is a typed member of ui. The control IDs the window's behaviour is
// described by stay in the .ui files as the dynamic properties
// controlSignature and controlId.
#pragma once

#include "ui_AboutWindow.h"
#include "ui_MainWindow.h"
#include "ui_OptionsSheet.h"

#include <QDialog>
#include <QMainWindow>

#include <map>

class QMessageBox;

// The options sheet: window-modal over the main window.
class OptionsSheet final : public QDialog {
public:
    explicit OptionsSheet(QWidget* parent);
    Ui::OptionsSheet ui;
};

// The about window: transient for the main window; Escape closes it.
class AboutWindow final : public QWidget {
public:
    explicit AboutWindow(QWidget* parent);
    Ui::AboutWindow ui;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class MainWindow final : public QMainWindow {
public:
    // The first main window alive is the program's (TheMainWindow()).
    MainWindow();
    ~MainWindow() override;

    Ui::MainWindow ui;
    OptionsSheet* const optionsSheet;  // both owned by the main window
    AboutWindow* const aboutWindow;
    QMessageBox* readOnlyQuestion = nullptr;  // asked when a drive cannot be written; built once

    // The save submenu of the File menu, whole.
    void SetSaveMenuEnabled(bool enabled);
    // The static texts and progress bars by their control ID, for requests that
    // name them by number (the worker's status and random-test figures); null
    // for an ID the window does not have.
    QLabel* NumberedText(int controlId) const;
    QProgressBar* NumberedProgressBar(int controlId) const;

private:
    std::map<int, QLabel*> numberedTexts_;
    std::map<int, QProgressBar*> numberedBars_;
};

// The program's main window while it exists, else null.
MainWindow* TheMainWindow();

// Sets the text of a numbered static text of the main window (see NumberedText).
void SetNumberedText(int controlId, const QString& text);
