// The system's open and save dialogs for the document's file commands.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "editor/document.h"

namespace zv {

// The chosen file, or nothing when the user cancelled.
std::optional<std::string> ShowOpenFileDialog(HWND owner, const FileDialogModel& model);
std::optional<std::string> ShowSaveFileDialog(HWND owner, const FileDialogModel& model);

}  // namespace zv
