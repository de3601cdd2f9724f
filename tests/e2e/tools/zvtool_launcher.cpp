// zvtool commands for the launcher's e2e tests: keyboard input through SendInput, a
// window with a chosen caption in front, the foreground lock timeout, a hotkey held by
// another program, posted messages, folder listings, the command lines of started
// processes, the pop-up menu's place and the time from the hotkey to the menu on screen.
#include "zvtool.h"

#include <winternl.h>

#include <cstdio>
#include <set>

using namespace zvtool;

namespace {

UINT ParseUint(const std::wstring& s) {
    return static_cast<UINT>(wcstoul(s.c_str(), nullptr, 0));
}

// The command line of a process, read from its process parameters.
std::wstring CommandLineOf(DWORD pid) {
    using QueryFn = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll"), "NtQueryInformationProcess")));
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (h == nullptr || query == nullptr) {
        if (h)
            CloseHandle(h);
        return L"";
    }
    std::wstring result;
    PROCESS_BASIC_INFORMATION pbi{};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS params{};
    if (query(h, 0, &pbi, sizeof pbi, nullptr) == 0 &&
        ReadProcessMemory(h, pbi.PebBaseAddress, &peb, sizeof peb, nullptr) &&
        ReadProcessMemory(h, peb.ProcessParameters, &params, sizeof params, nullptr) &&
        params.CommandLine.Length > 0) {
        std::wstring text(params.CommandLine.Length / sizeof(wchar_t), L'\0');
        if (ReadProcessMemory(h, params.CommandLine.Buffer, text.data(), params.CommandLine.Length,
                              nullptr)) {
            result = text;
        }
    }
    CloseHandle(h);
    return result;
}

void PumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace

ZV_TOOL_COMMAND(
    CmdSendKeys, L"send-keys",
    "send-keys CHORD...: presses each chord through SendInput (e.g. alt+z down return ctrl+return "
    "esc f5 a); each is taken and handled by the window in front before the next") {
    for (const std::wstring& chord : args) {
        const std::vector<WORD> keys = Chord(chord);
        if (keys.empty())
            return 2;
        if (!PressChord(keys))
            return 3;
    }
    return 0;
}

ZV_TOOL_COMMAND(
    CmdTitleWindow, L"title-window",
    "title-window CAPTION MS: shows a window with CAPTION in front for MS milliseconds") {
    if (args.size() < 2)
        return 2;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ZvToolTitleWindow";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, args[0].c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             200, 150, 640, 400, nullptr, nullptr, wc.hInstance, nullptr);
    if (w == nullptr)
        return 1;
    Activate(w);
    PrintLine("shown");
    PumpFor(static_cast<DWORD>(ArgInt(args, 1, 10000)));
    DestroyWindow(w);
    return 0;
}

ZV_WINDOW_COMMAND(CmdActivate, L"activate", 1,
                  "activate CAPTION: brings a top-level window to the foreground") {
    return Activate(window) ? 0 : 1;
}

ZV_TOOL_COMMAND(
    CmdFgLock, L"fglock",
    "fglock [SET MS]: {registry, spi} of the foreground lock timeout; with SET MS sets it first") {
    if (args.size() >= 2 && args[0] == L"set") {
        const UINT ms = ParseUint(args[1]);
        if (!SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                   reinterpret_cast<void*>(static_cast<UINT_PTR>(ms)),
                                   SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
            return 1;
        }
    }
    std::string registry = "null";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        DWORD value = 0, size = sizeof value, type = 0;
        if (RegQueryValueExW(key, L"ForegroundLockTimeout", nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
            type == REG_DWORD) {
            registry = std::to_string(value);
        }
        RegCloseKey(key);
    }
    std::string spi = "null";
    DWORD value = 0;
    if (SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &value, 0))
        spi = std::to_string(value);
    PrintLine("{\"registry\":" + registry + ",\"spi\":" + spi + "}");
    return 0;
}

ZV_TOOL_COMMAND(CmdHoldHotkey, L"hold-hotkey",
                "hold-hotkey MOD VK MS: registers a hotkey, prints 'held' (or 'refused CODE'), "
                "keeps it MS ms") {
    if (args.size() < 3)
        return 2;
    if (!RegisterHotKey(nullptr, 1, ParseUint(args[0]), ParseUint(args[1]))) {
        PrintLine("refused " + std::to_string(GetLastError()));
        return 1;
    }
    PrintLine("held");
    PumpFor(ParseUint(args[2]));
    UnregisterHotKey(nullptr, 1);
    return 0;
}

ZV_WINDOW_COMMAND(CmdPostMsg, L"post-msg", 4,
                  "post-msg CAPTION MSG WPARAM LPARAM: posts a message to a top-level window "
                  "(numbers may be 0x..)") {
    return PostMessageW(window, ParseUint(args[1]), ParseUint(args[2]),
                        static_cast<LPARAM>(ParseUint(args[3])))
               ? 0
               : 1;
}

ZV_TOOL_COMMAND(
    CmdListDir, L"list-dir",
    "list-dir PATH: the entries of a folder in the system's order, folders ending in '\\'") {
    if (args.empty())
        return 2;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((args[0] + L"\\*.*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return 1;
    do {
        std::wstring name = data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            name += L"\\";
        PrintLine(Utf8(name));
    } while (FindNextFileW(h, &data));
    FindClose(h);
    return 0;
}

ZV_TOOL_COMMAND(
    CmdCmdlineWait, L"cmdline-wait",
    "cmdline-wait NAME TIMEOUT_MS [STOP_FILE]: waits for a process NAME that was not running "
    "when called and prints its command line as JSON; once STOP_FILE exists, looks a last time "
    "(the test knows by then that whatever was to start has started)") {
    if (args.size() < 2)
        return 2;
    std::set<DWORD> before;
    for (const auto& p : Processes(args[0]))
        before.insert(p.first);
    PrintLine("watching");
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ArgInt(args, 1, 10000));
    bool last = false;
    while (GetTickCount64() < end && !last) {
        last = args.size() > 2 && GetFileAttributesW(args[2].c_str()) != INVALID_FILE_ATTRIBUTES;
        for (const auto& p : Processes(args[0])) {
            if (before.count(p.first))
                continue;
            const std::wstring line = CommandLineOf(p.first);
            if (line.empty())
                continue;  // not started far enough yet
            PrintLine("{\"pid\":" + std::to_string(p.first) + ",\"cmdline\":" + JsonString(line) +
                      "}");
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

ZV_TOOL_COMMAND(CmdMouseClick, L"mouse-click",
                "mouse-click X Y [left|right]: moves the pointer to (X, Y) and clicks there "
                "through SendInput; the window there has taken and handled the click when it "
                "ends") {
    if (args.size() < 2)
        return 2;
    const bool right = args.size() > 2 && args[2] == L"right";
    const POINT at{ArgInt(args, 0, 0), ArgInt(args, 1, 0)};
    if (!PointerTo(at.x, at.y))
        return 3;
    const bool ok = right ? ClickButton(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, VK_RBUTTON)
                          : ClickButton(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, VK_LBUTTON);
    return ok ? 0 : 3;
}

ZV_TOOL_COMMAND(CmdCursorTo, L"cursor-to",
                "cursor-to X Y: moves the mouse pointer to (X, Y) without clicking") {
    if (args.size() < 2)
        return 2;
    return SetCursorPos(ArgInt(args, 0, 0), ArgInt(args, 1, 0)) ? 0 : 1;
}

namespace {

// The first visible pop-up menu window on the desktop, or null.
HWND VisiblePopupMenu() {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
        if (IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

// Lists folder and its subfolders down to depth through FindFirstFileW, opening no file.
void SearchTree(const std::wstring& folder, int depth) {
    WIN32_FIND_DATAW data;
    const HANDLE h = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> subfolders;
    do {
        if (data.cFileName[0] != L'.' && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            depth > 0) {
            subfolders.push_back(folder + L"\\" + data.cFileName);
        }
    } while (FindNextFileW(h, &data));
    FindClose(h);
    for (const std::wstring& sub : subfolders)
        SearchTree(sub, depth - 1);
}

std::string Figure(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ms);
    return text;
}

bool WaitPopupGone(int timeoutMs) {
    return WaitUntil(timeoutMs, 5, [] { return VisiblePopupMenu() == nullptr; });
}

}  // namespace

ZV_TOOL_COMMAND(
    CmdHotkeyMenuTimes, L"hotkey-menu-times",
    "hotkey-menu-times COUNT [FOLDER DEPTH]: presses Alt+Z COUNT times; each time measures the "
    "milliseconds from the Z going down to a visible pop-up menu, then closes it with Esc. With "
    "FOLDER, before each press also times listing FOLDER and its subfolders down to DEPTH "
    "without opening a file. Prints {\"ms\": [...], \"floor_ms\": [...]}, null for a press "
    "that showed no menu within 10 s") {
    const int count = ArgInt(args, 0, 7);
    const bool floor = args.size() >= 3;
    const HWND front = GetForegroundWindow();
    std::string presses, floors;
    for (int i = 0; i < count; ++i) {
        if (!WaitPopupGone(5000))
            return 1;
        // The launcher hands the keyboard back to the window in front after its menu.
        if (!WaitUntil(5000, 5, [&] { return GetForegroundWindow() == front; })) {
            PrintLine("the window in front did not get the keyboard back after press " +
                      std::to_string(i));
            return 1;
        }
        if (floor) {
            const double start = NowMs();
            SearchTree(args[1], ArgInt(args, 2, 2));
            if (i > 0)
                floors += ",";
            floors += Figure(NowMs() - start);
        }
        INPUT keys[4] = {};
        const WORD chord[4] = {VK_MENU, 'Z', 'Z', VK_MENU};
        for (int k = 0; k < 4; ++k) {
            keys[k].type = INPUT_KEYBOARD;
            keys[k].ki.wVk = chord[k];
            keys[k].ki.wScan = static_cast<WORD>(MapVirtualKeyW(chord[k], MAPVK_VK_TO_VSC));
            keys[k].ki.dwFlags = k >= 2 ? KEYEVENTF_KEYUP : 0;
        }
        const double start = NowMs();
        SendInput(4, keys, sizeof(INPUT));
        HWND menu = nullptr;
        while ((menu = VisiblePopupMenu()) == nullptr && NowMs() - start < 10000)
            Sleep(1);
        const double elapsed = NowMs() - start;
        if (i > 0)
            presses += ",";
        presses += menu != nullptr ? Figure(elapsed) : "null";
        if (!PressChord({VK_ESCAPE}))
            return 1;
    }
    if (!WaitPopupGone(5000))
        return 1;
    PrintLine("{\"ms\":[" + presses + "],\"floor_ms\":[" + floors + "]}");
    return 0;
}

ZV_TOOL_COMMAND(CmdPopupRect, L"popup-rect",
                "popup-rect: [left, top, right, bottom] of the visible pop-up menu (exit 1 when "
                "none)") {
    const HWND menu = VisiblePopupMenu();
    if (menu == nullptr)
        return 1;
    RECT r{};
    GetWindowRect(menu, &r);
    PrintLine(RectJson(r));
    return 0;
}
