// Building the windows at start-up: the main window with its menu bar, the
// about window and the options sheet (shell/MainWindow.h), their icons, the
// results display, the read-only question sheet, the loaded preferences and
// the initial state of the main window.
#pragma once

#include <QIcon>
#include <QString>

extern char gPathToAppIcon[1024];
extern char gPathToUnknownIcon[1024];

// The resources folder of a program at executable: <folder>/../share/kestrelia/
// (the same in the build tree and in an installed tree), ending in "/".
QString ResourcesDirectoryFor(const QString& executable);

// Builds the windows, with the icons of the resources folder gPathToAllIcons
// (which must be set), and shows the main window.
void CreateAllWindows();

// Destroys the windows (before the application object goes).
void DestroyAllWindows();

// An icon file, or an icon-theme name, falling back to the unknown-device icon.
QIcon IconForPath(const char* pathOrThemeName);

// Shows the options sheet over the main window.
void ShowSettingsSheet();

// Shows the about window centred over the main window and brings it to the front.
void ShowAboutWindow();
