// Finding the window's controls by their {signature, id} pair and reading or
// setting them. Each control widget carries the dynamic properties
// "controlSignature" (four characters) and "controlId" (int).
#pragma once

#include <QString>

class QObject;
class QWidget;

// The control of root (root itself included) with that signature and id, or null.
QWidget* FindControl(QObject* root, const char* signature, int id);

// The control's value as the toolkit numbers it: popup and tab values are
// 1-based item numbers, check boxes 0 or 1, sliders and progress bars their value.
int ControlValue(const QWidget* control);

// Sets the text a control shows (static text, edit text, button title).
void SetControlText(QWidget* control, const QString& text);
QString ControlText(const QWidget* control);
