// Modal message boxes with an OK button and the program's name as caption.
#pragma once

#include <string>

namespace zv {

// The caption of every message box of this program ("RkEngine", "Zorvane", ...).
void SetMessageBoxCaption(const std::string& caption);
const std::string& MessageBoxCaption();

// Shows text (CP932) with an OK button; returns when the user has closed it.
void ShowMessageBox(const std::string& text, unsigned icon = 0);

}  // namespace zv
