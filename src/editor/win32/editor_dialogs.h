// The editor's dialogs as the view and the frame open them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "editor/linelist.h"

namespace zv {

// Opens the dialog a line command asks for (a command's dialog, or the direct-edit
// dialog) with its line; the composed line on OK, nothing on cancel.
std::optional<std::string> RunLineDialog(const DialogRequest& request, HWND parent);

// The list of the open top-level windows; the chosen caption on "選択".
std::optional<std::string> ChooseOpenWindow(HWND parent);

// "RkEditor のバージョン情報".
void ShowEditorAbout(HWND parent);

// What a loaded document's notice says (lines that saving drops), in a message box owned
// by the frame; nothing when it is empty.
void ShowOpenNotice(HWND frame, const std::string& notice);

}  // namespace zv
