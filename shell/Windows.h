// Building the windows from the interface files at start-up: the main
// window with its menu bar, the about window and the options sheet, their
// icons, the geometry the graph and the drop box use, the read-only question
// sheet, the loaded preferences and the initial state of the main window.
#pragma once

#include "engine/InterfaceHost.h"

#include <QIcon>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

extern WindowRef gAboutWindowRef;
extern QRect gTabPaneRect;      // bounds of {'tabp', 1} in the main window
extern QRect gDragNDropBox;     // where a volume may be dropped
extern QMessageBox* gMessageSheetWindow;  // the read-only question, built once
extern char gPathToAppIcon[1024];
extern char gPathToUnknownIcon[1024];

// The resources folder of a program at executable: <folder>/../share/kestrelia/
// (the same in the build tree and in an installed tree), ending in "/".
QString ResourcesDirectoryFor(const QString& executable);

// The answers of the read-only question sheet.
struct MessageSheetAnswers {
    std::function<void()> readOnly;  // OK: test reads only
    std::function<void()> cancel;
};

// Builds everything from the interface files in gPathToAllIcons (which must
// be set) and shows the main window. False when an interface file is missing.
bool CreateAllWindows(MessageSheetAnswers answers);

// Builds the window of the interface file ui/<name>.ui in gPathToAllIcons;
// null when the file is missing or unreadable.
std::unique_ptr<QWidget> LoadInterface(const QString& name, QWidget* parent = nullptr);

// Destroys the windows (before the application object goes).
void DestroyAllWindows();

// An icon file, or an icon-theme name, falling back to the unknown-device icon.
QIcon IconForPath(const char* pathOrThemeName);

// Shows the options sheet over the main window.
void ShowSettingsSheet();

// Shows the about window centred over the main window and brings it to the front.
void ShowAboutWindow();
