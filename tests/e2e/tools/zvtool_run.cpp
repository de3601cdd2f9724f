// zvtool commands for the runs started from the editor: the text of a window's status
// bar (read through memory of the editor's process, as the bar keeps it there).
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "zvtool.h"

using namespace zvtool;

ZV_WINDOW_COMMAND(CmdStatusText, L"status-text", 1,
                  "status-text CAPTION: the text of the first pane of the status bar of the "
                  "top-level window CAPTION") {
    HWND bar = FindWindowExW(window, nullptr, L"msctls_statusbar32", nullptr);
    if (bar == nullptr)
        return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr)
        return 1;
    constexpr SIZE_T kChars = 1024;
    void* remote =
        VirtualAllocEx(process, nullptr, kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE);
    int rc = 1;
    DWORD_PTR length = 0;
    if (remote != nullptr &&
        SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) &&
        LOWORD(length) < kChars &&
        SendMessageTimeoutW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                            5000, &length)) {
        std::wstring text(kChars, L'\0');
        SIZE_T got = 0;
        if (ReadProcessMemory(process, remote, text.data(), kChars * sizeof(wchar_t), &got)) {
            text.resize(wcsnlen(text.c_str(), kChars));
            PrintLine(Utf8(text));
            rc = 0;
        }
    }
    if (remote != nullptr)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return rc;
}

ZV_CONTROL_COMMAND(CmdRunMark, L"run-mark", 3,
                   "run-mark CAPTION ID INDEX: the run mark on item INDEX of list box ID, read "
                   "from the screen at the icon's corner: ran, failed or none") {
    HWND list = control;
    RECT r{};
    if (SendMessageTimeoutW(list, LB_GETITEMRECT, ArgInt(args, 2, 0), reinterpret_cast<LPARAM>(&r),
                            SMTO_ABORTIFHUNG, 5000, nullptr) == 0)
        return 1;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
    // The mark's centre: 31 pixels right of and below the item's corner at 96 DPI.
    const UINT dpi = GetDpiForWindow(list) != 0 ? GetDpiForWindow(list) : 96;
    const int at = MulDiv(31, static_cast<int>(dpi), 96);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.left + at, r.top + at);
    ReleaseDC(nullptr, screen);
    const int red = GetRValue(c), green = GetGValue(c), blue = GetBValue(c);
    if (green > 110 && red < 60 && blue < 110)
        PrintLine("ran");
    else if (red > 200 && green < 50 && blue < 50)
        PrintLine("failed");
    else
        PrintLine("none");
    return 0;
}
