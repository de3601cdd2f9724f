// Modal message boxes with the program's name as caption.
#pragma once

#include <windows.h>

#include <string>

namespace zv {

// The caption of every message box of this program ("RkEngine", "Zorvane", ...).
void SetMessageBoxCaption(const std::string& caption);

// Shows text (CP932) over owner with MessageBoxW's buttons and icon (type); the button
// the user chose.
int MessageBoxOver(HWND owner, const std::string& text, UINT type);
// Shows text with an OK button over the active window; returns when it was closed.
void ShowMessageBox(const std::string& text, unsigned icon = 0);

}  // namespace zv
