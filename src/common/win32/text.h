// Conversion between the core's CP932 strings and the UTF-16 of the W functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zv {

inline constexpr unsigned kCodePage932 = 932;

std::wstring ToWide(std::string_view cp932);
std::string FromWide(std::wstring_view wide);

// Text of a window or control in CP932, of any length (WM_GETTEXT, so it also reads an
// edit control of another process).
std::string GetWindowTextMb(HWND window);
void SetWindowTextMb(HWND window, std::string_view cp932);

// A string of a module's string table (the program's own by default), of any length;
// empty when there is none.
std::wstring LoadResourceString(UINT id, HINSTANCE instance = nullptr);

// The system's text for an error code (FormatMessage, system table, default language).
std::string SystemErrorText(unsigned long error);

}  // namespace zv
