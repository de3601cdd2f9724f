// Conversion between the core's CP932 strings and the UTF-16 of the W functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zv {

inline constexpr unsigned kCodePage932 = 932;

std::wstring ToWide(std::string_view cp932);
std::string FromWide(std::wstring_view wide);
// UTF-8, for addresses and command lines that must keep every character.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// Text of a window or control in CP932, of any length (WM_GETTEXT, so it also reads an
// edit control of another process). It sends messages and waits for the answer: use it
// on the program's own windows only, never on a window another program may hang.
std::string GetWindowTextMb(HWND window);

// The caption of a window of any process or thread in CP932, of any length, read from
// what the system stores (InternalGetWindowText): no message goes to the window, so it
// returns at once even when the window's program has stopped pumping its messages.
// Every caption of another program's window is read through this.
std::string ReadCaptionNonBlocking(HWND window);
void SetWindowTextMb(HWND window, std::string_view cp932);

// A string of a module's string table (the program's own by default), of any length;
// empty when there is none.
std::wstring LoadResourceString(UINT id, HINSTANCE instance = nullptr);

// The system's text for an error code (FormatMessage, system table, default language).
std::string SystemErrorText(unsigned long error);

}  // namespace zv
