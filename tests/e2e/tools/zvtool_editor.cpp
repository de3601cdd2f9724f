// zvtool commands for RkEditor's tests: the state of a list box in another process, the
// time until an editor shows a filled list or a dialog, the session-end query the system
// sends at log-off, and what a run started from the editor shows: the text of the status
// bar (read through memory of the editor's process, as the bar keeps it there) and the run
// marks of the list.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "zvtool.h"

using namespace zvtool;

namespace {

int PrintWindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    PrintLine(RectObjectJson(r));
    return 0;
}

}  // namespace

ZV_CONTROL_COMMAND(CmdListBox, L"listbox", 2,
                   "listbox CAPTION ID: {count, sel, top, rect} of list box ID in the form of the "
                   "top-level window CAPTION (rect in screen coordinates)") {
    RECT r{};
    GetWindowRect(control, &r);
    PrintLine("{\"count\":" + std::to_string(SendMessageW(control, LB_GETCOUNT, 0, 0)) +
              ",\"sel\":" + std::to_string(SendMessageW(control, LB_GETCURSEL, 0, 0)) +
              ",\"top\":" + std::to_string(SendMessageW(control, LB_GETTOPINDEX, 0, 0)) +
              ",\"rect\":" + RectObjectJson(r) + "}");
    return 0;
}

ZV_CONTROL_COMMAND(CmdItemRect, L"item-rect", 3,
                   "item-rect CAPTION ID INDEX: screen rectangle of item INDEX of list box ID") {
    RECT r{};
    if (SendMessageW(control, LB_GETITEMRECT, ArgInt(args, 2, 0), reinterpret_cast<LPARAM>(&r)) ==
        LB_ERR)
        return 1;
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
    PrintLine(RectObjectJson(r));
    return 0;
}

ZV_TOOL_COMMAND(CmdTimeFilledList, L"time-filled-list",
                "time-filled-list CAPTION ID COUNT TIMEOUT_MS -- EXE ARGS: starts EXE with the "
                "command line ARGS and prints the milliseconds until its window CAPTION shows a "
                "list box ID holding COUNT items") {
    const size_t split =
        static_cast<size_t>(std::find(args.begin(), args.end(), L"--") - args.begin());
    if (split < 4 || split + 1 >= args.size())
        return 2;
    std::wstring cmd = L"\"" + args[split + 1] + L"\"";
    for (size_t i = split + 2; i < args.size(); ++i)
        cmd += L" " + args[i];
    const LRESULT want = ArgInt(args, 2, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = NowMs();
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return 1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    const bool filled = PrintTimeUntil(start, ArgInt(args, 3, 10000), [&] {
        HWND list = ControlOf(FindTopLevel(args[0], false), ArgInt(args, 1, 0));
        return list != nullptr && IsWindowVisible(list) &&
               SendMessageW(list, LB_GETCOUNT, 0, 0) == want;
    });
    return filled ? 0 : 1;
}

ZV_WINDOW_COMMAND(CmdMoveWindow, L"move-window", 5,
                  "move-window CAPTION X Y W H: moves and sizes a top-level window, then prints "
                  "its outer rectangle as the system left it (as window-rect)") {
    SetWindowPos(window, nullptr, ArgInt(args, 1, 0), ArgInt(args, 2, 0), ArgInt(args, 3, 0),
                 ArgInt(args, 4, 0), SWP_NOZORDER | SWP_NOACTIVATE);
    return PrintWindowRect(window);
}

ZV_WINDOW_COMMAND(CmdHasProp, L"has-prop", 2,
                  "has-prop CAPTION NAME: exit 0 when the top-level window CAPTION carries the "
                  "window property NAME") {
    return GetPropW(window, args[1].c_str()) != nullptr ? 0 : 1;
}

ZV_WINDOW_COMMAND(CmdWindowRect, L"window-rect", 1,
                  "window-rect CAPTION: the outer rectangle of a top-level window") {
    return PrintWindowRect(window);
}

ZV_TOOL_COMMAND(CmdKeyState, L"key-state",
                "key-state VK: prints whether the key VK (decimal) is down for the system "
                "(GetAsyncKeyState) and for this thread (GetKeyState)") {
    if (args.empty())
        return 2;
    const int vk = ArgInt(args, 0, 0);
    PrintLine(std::string("{\"async\":") + ((GetAsyncKeyState(vk) & 0x8000) ? "true" : "false") +
              ",\"thread\":" + ((GetKeyState(vk) & 0x8000) ? "true" : "false") + "}");
    return 0;
}

namespace {

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindChildById(HWND child, LPARAM lp) {
    auto* search = reinterpret_cast<ChildSearch*>(lp);
    if (GetDlgCtrlID(child) != search->id)
        return TRUE;
    search->found = child;
    return FALSE;
}

}  // namespace

ZV_WINDOW_COMMAND(CmdSetText, L"set-text", 3,
                  "set-text CAPTION ID TEXT: sets the text of the first control ID found among "
                  "the descendants of the top-level window CAPTION") {
    ChildSearch search{ArgInt(args, 1, 0), nullptr};
    EnumChildWindows(window, FindChildById, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr)
        return 1;
    return SendMessageW(search.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str())) ? 0
                                                                                                : 1;
}

ZV_TOOL_COMMAND(CmdPressTimed, L"press-timed",
                "press-timed DIALOG ID SHOWN [TIMEOUT_MS]: clicks button ID of the dialog DIALOG "
                "and prints the milliseconds until a dialog SHOWN is on screen and takes input") {
    if (args.size() < 3)
        return 2;
    HWND dialog = nullptr;
    HWND button = DialogItem(args[0], ArgInt(args, 1, 0), 10000, &dialog);
    if (button == nullptr)
        return 1;
    const double start = NowMs();
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    const bool shown = PrintTimeUntil(start, ArgInt(args, 3, 10000), [&] {
        HWND w = FindTopLevel(args[2], false, L"#32770");
        return w != nullptr && IsWindowVisible(w) && IsWindowEnabled(w);
    });
    return shown ? 0 : 1;
}

ZV_WINDOW_COMMAND(CmdEndSession, L"end-session", 2,
                  "end-session CAPTION TIMEOUT_MS: sends WM_QUERYENDSESSION to a top-level "
                  "window (a log-off), waiting at most TIMEOUT_MS; prints 'ends' and sends "
                  "WM_ENDSESSION when it agreed, 'refused' when it did not, 'timeout' when it did "
                  "not answer") {
    const UINT timeout = static_cast<UINT>(ArgInt(args, 1, 10000));
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, timeout,
                             &answer)) {
        PrintLine("timeout");
        return 1;
    }
    PrintLine(answer != 0 ? "ends" : "refused");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_ENDSESSION, answer != 0 ? TRUE : FALSE, ENDSESSION_LOGOFF,
                        SMTO_NORMAL, timeout, &ignored);
    return 0;
}

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
