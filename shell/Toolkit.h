// The thin layer through which the program touches its windows: controls
// are named by window and control ID ({signature, id}, the dynamic
// properties controlSignature and controlId), popups and menus by their
// 1-based item numbers. A missing control or menu is skipped quietly.
#pragma once

#include "engine/InterfaceHost.h"

#include <QIcon>
#include <QRect>

#include <cstdint>

class QWidget;
class QMenu;

// Looking up controls; 0 when found, -30584 (control not found) otherwise.
inline constexpr int32_t kControlNotFound = -30584;
int32_t GetMainWindowControlRef(const char* signature, int32_t id, QWidget** control);
int32_t GetThisWindowControlRef(WindowRef window, const char* signature, int32_t id, QWidget** control);

void SetThisWindowControlValue32(WindowRef window, const char* signature, int32_t id, int32_t value);
int32_t GetThisWindowControlValue32(WindowRef window, const char* signature, int32_t id);
int32_t GetThisWindowControlMax32(WindowRef window, const char* signature, int32_t id);
void SetThisWindowControlMax32(WindowRef window, const char* signature, int32_t id, int32_t maximum);
void HideThisWindowControl(WindowRef window, const char* signature, int32_t id);
void ShowThisWindowControl(WindowRef window, const char* signature, int32_t id);
void TurnOffControl(const char* signature, int32_t id);
void TurnOnControl(const char* signature, int32_t id);
void DrawThisControl(const char* signature, int32_t id);
// The control's bounds in the window's coordinates; empty when not found.
void GetWindowControlRect(WindowRef window, const char* signature, int32_t id, QRect* bounds);
void DisableAllEmbeddedControls(WindowRef window, const char* signature, int32_t id);
void EnableAllEmbeddedControls(WindowRef window, const char* signature, int32_t id);
// Sets {'tabs', tabId} of the main window to firstTab; returns it (or null).
QWidget* InitThisTabControl(int16_t tabId, int16_t firstTab, int16_t lastTab);
void ChangePushButtonDefault(int32_t id, bool isDefault);
// The title of {'push', id} becomes the localised text of titleKey.
void ChangePushButtonNameCFStr(int32_t id, const char* titleKey);
void PutIconRefIntoBevelButton(WindowRef window, int32_t id, const QIcon& icon);
void PutIconRefIntoImageWell(WindowRef window, int32_t id, const QIcon& icon);

void SetEditTextControlWCStr(WindowRef window, int32_t id, const char* text);
// Empties text (256 bytes) and copies at most 255 bytes of the field into it;
// the number of bytes stored, or the lookup status.
int32_t GetEditTextControlCStr(WindowRef window, int32_t id, char* text);
void GetEditTextControlPStr(WindowRef window, int32_t id, unsigned char* text);
void SetStatTextControlWCStr(WindowRef window, int32_t id, const char* text, bool truncate);
void SetStatTextControlWPStr(WindowRef window, int32_t id, const unsigned char* text, bool truncate);

// Menus of the main window's menu bar carry their number in the dynamic
// property menuId; items count from 1, separators included.
void TurnOffSubMenuItem(int16_t menuId, int16_t item, int16_t subItem);
int32_t TurnOnSubMenuItem(int16_t menuId, int16_t item, int16_t subItem);
void TurnOffWindowPopupMenuItem(WindowRef window, int32_t popupId, int32_t item);
void TurnOnWindowPopupMenuItem(WindowRef window, int32_t popupId, int32_t item);
// Deletes (item count - keep) items starting at firstItem.
void DeletePopupMenuRefItems(WindowRef window, int32_t popupId, int16_t firstItem, int16_t keep);
void DeletePopupMenuRefItem(WindowRef window, int32_t popupId, int32_t item);
// Appends an item (a separator for an empty text) with a command ID.
void AppendPopupItem(WindowRef window, int32_t popupId, const QString& text, int32_t commandId,
                     const QIcon& icon = QIcon());
void AddSeparatorToPopup(WindowRef window, int32_t popupId);

// Strings, in place.
void ConvertSlashesAndDashes(char* text);
void reverse(char* text);
void StripLeadingZeros(char* text);
void StripLeadingSpaces(char* text);
void StripAllSpaces(char* text);
void PStrCopy(const unsigned char* source, unsigned char* destination);
bool StringIsAllDigits(const char* text);

// The toolkit's version as major * 256 + minor * 16 + patch.
uint32_t GetHIToolboxVersion();
