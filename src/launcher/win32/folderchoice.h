// The shell's folder browser for the macro folder: it starts at a given folder and
// returns the chosen one. It writes nothing; its callers decide what the choice changes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zv {

// Shows the browser owned by owner, rooted at the desktop, titled with string
// IDS_SELECT_MACRO_FOLDER, with start (cut to the path buffer) selected. The chosen
// file-system folder, or nothing when cancelled or when the item has no path.
std::optional<std::string> ChooseMacroFolder(HWND owner, HINSTANCE instance,
                                             const std::string& start);

}  // namespace zv
