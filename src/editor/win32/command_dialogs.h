// The six command dialogs (FOCUS, KEYIN, LAUNCH, MOUSE, TYPE, WAIT).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zv {

// Opens the dialog of commandType (0 LAUNCH ... 5 MOUSE) with line (empty for a new
// line); the composed line on OK, nothing on cancel.
std::optional<std::string> RunCommandDialog(int commandType, const std::string& line, HWND parent);

// Each command's dialog, one file each (focus_dlg.cpp ... wait_dlg.cpp).
std::optional<std::string> RunFocusDialog(const std::string& line, HWND parent);
std::optional<std::string> RunKeyinDialog(const std::string& line, HWND parent);
std::optional<std::string> RunLaunchDialog(const std::string& line, HWND parent);
std::optional<std::string> RunMouseDialog(const std::string& line, HWND parent);
std::optional<std::string> RunTypeDialog(const std::string& line, HWND parent);
std::optional<std::string> RunWaitDialog(const std::string& line, HWND parent);

}  // namespace zv
