// Small helpers over the window's widgets: texts that may be too long for
// their label, and the items of the drive and volume popups, which count
// from 1 (separators included) and carry a command ID as their data.
#pragma once

#include <QIcon>

class QComboBox;
class QLabel;
class QString;
class QWidget;

// Sets the label's text; a label marked "elide" that cannot show the whole
// text shows it in its tooltip.
void ShowText(QLabel* label, const QString& text);

// Every field of the window that a label names (its buddy) takes the label's
// text, without its mnemonic, as its accessible name, unless it has one.
void NameFieldsByTheirLabels(QWidget* window);

// Every group box of the window is at least as wide as its whole title, with
// room for the style's frame and check box.
void RoomForGroupTitles(QWidget* window);

// Every item "-" of the window's popups becomes a separator, which cannot be chosen.
void MakeSeparators(QWidget* window);

// The popup's item enabled with a check mark, or disabled without one.
void SetPopupItemEnabled(QComboBox* popup, int item, bool enabled);
// Chooses an item without it counting as the user's choice.
void SetPopupValue(QComboBox* popup, int item);
// Appends an item or a separator; building the list is no choice of the user's.
void AppendPopupItem(QComboBox* popup, const QString& text, int commandId, const QIcon& icon = QIcon());
void AppendPopupSeparator(QComboBox* popup);
// Removes the item, or every item from firstItem on.
void RemovePopupItem(QComboBox* popup, int item);
void RemovePopupItemsFrom(QComboBox* popup, int firstItem);
