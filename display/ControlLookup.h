// Finding the main window's controls by their {signature, id} pair, as the
// display needs them. Each control widget carries the dynamic properties
// "controlSignature" (four characters) and "controlId" (int). Kept in its own
// namespace so that it sits beside the shell's toolkit helpers without a clash.
#pragma once

#include <QString>

class QObject;
class QWidget;

namespace display {

// The control of root (root itself included) with that signature and id, or null.
QWidget* FindControl(QObject* root, const char* signature, int id);

// The control's value as the toolkit numbers it: the 1-based item of a popup
// (also of a popup or radio buttons inside a group box) or a tab, 1 or 0 for a
// check box or a checkable group box; 0 for no control.
int ControlValue(const QWidget* control);

// The text a static text, edit text or button shows, and setting it.
void SetControlText(QWidget* control, const QString& text);
QString ControlText(const QWidget* control);

}  // namespace display
