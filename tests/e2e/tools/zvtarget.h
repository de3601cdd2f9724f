// What the windows of zvtarget.exe share (zvtarget.cpp, zvtarget_recording.cpp): the record
// they write what they receive to, their edit fields and their main window.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "utf8.h"

namespace zvtarget {

inline FILE* g_out = nullptr;  // the record; null when it could not be opened

// One UTF-8 line, flushed at once.
inline void Record(const std::string& line) {
    if (g_out == nullptr)
        return;
    std::fputs(line.c_str(), g_out);
    std::fputc('\n', g_out);
    std::fflush(g_out);
}

// "WORD CODE", the code in hexadecimal with digits digits.
inline void RecordCode(const char* word, WPARAM code, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %0*lX", word, digits, static_cast<unsigned long>(code));
    Record(buf);
}

inline std::wstring TextOf(HWND w) {
    const int n = GetWindowTextLengthW(w);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(w, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

// A single-line edit field 460 x 26 at (10, y), with the extra styles.
inline HWND Edit(HWND parent, int id, int y, DWORD style = 0) {
    return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | style, 10, y, 460, 26, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

// Shows a main window of the class (registered here, with double clicks) with a client
// area of 480 x 320; RunMessages runs its messages until it ends, then closes the record.
inline HWND ShowMain(HINSTANCE instance, const wchar_t* cls, WNDPROC proc, const wchar_t* caption,
                     int show) {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = cls;
    RegisterClassW(&wc);
    RECT r{0, 0, 480, 320};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND w = CreateWindowExW(0, cls, caption, WS_OVERLAPPEDWINDOW, 60, 60, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(w, show);
    UpdateWindow(w);
    return w;
}

inline int RunMessages() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (g_out != nullptr)
        std::fclose(g_out);
    return 0;
}

}  // namespace zvtarget
