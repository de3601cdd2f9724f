// zvtool commands for the engine's run tests: the clipboard, the pointer settings, the
// status window's style, system menu and edit selection, and posted keys and commands.
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "zvtool.h"

using namespace zvtool;

namespace {

std::string HexBytes(const unsigned char* p, size_t n) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", p[i]);
        out += buf;
    }
    return out;
}

// Opens the clipboard once the program that has it open closes it (up to 5 s).
bool OpenClipboardRetrying() {
    if (WaitUntil(5000, 20, [] { return OpenClipboard(nullptr) != FALSE; }))
        return true;
    PrintLine("the clipboard stayed open by another program for 5000 ms");
    return false;
}

bool PutBlock(UINT format, const void* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        return false;
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return SetClipboardData(format, block) != nullptr;
}

}  // namespace

ZV_TOOL_COMMAND(CmdClipSet, L"clip-set",
                "clip-set TEXT [FORMAT HEX]: the clipboard holds TEXT (Unicode) and, when given, "
                "the registered "
                "format FORMAT with the bytes HEX") {
    if (args.empty())
        return 2;
    if (!OpenClipboardRetrying())
        return 1;
    EmptyClipboard();
    bool ok = PutBlock(CF_UNICODETEXT, args[0].c_str(), (args[0].size() + 1) * sizeof(wchar_t));
    if (args.size() >= 3) {
        const std::string bytes = HexToBytes(args[2]);
        ok = ok && PutBlock(RegisterClipboardFormatW(args[1].c_str()), bytes.data(), bytes.size());
    }
    CloseClipboard();
    return ok ? 0 : 1;
}

ZV_TOOL_COMMAND(
    CmdClipGet, L"clip-get",
    "clip-get [FORMAT]: {text, custom (hex of FORMAT's data or null), count} of the clipboard") {
    if (!OpenClipboardRetrying())
        return 1;
    std::string json = "{\"text\":";
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT); h != nullptr) {
        json += JsonString(static_cast<const wchar_t*>(GlobalLock(h)));
        GlobalUnlock(h);
    } else {
        json += "null";
    }
    json += ",\"custom\":";
    HANDLE custom =
        args.empty() ? nullptr : GetClipboardData(RegisterClipboardFormatW(args[0].c_str()));
    if (custom != nullptr) {
        json += '"';
        json += HexBytes(static_cast<const unsigned char*>(GlobalLock(custom)), GlobalSize(custom));
        json += '"';
        GlobalUnlock(custom);
    } else {
        json += "null";
    }
    json += ",\"count\":" + std::to_string(CountClipboardFormats()) + "}";
    CloseClipboard();
    PrintLine(json);
    return 0;
}

ZV_TOOL_COMMAND(CmdClipEmpty, L"clip-empty", "clip-empty: empties the clipboard") {
    if (!OpenClipboardRetrying())
        return 1;
    const bool ok = EmptyClipboard() != FALSE;
    CloseClipboard();
    return ok ? 0 : 1;
}

namespace {

// The formats on the clipboard, in the system's order, as a JSON array: a registered one by
// its name, a predefined one by its number. Read without opening the clipboard, so that
// the viewer never keeps a program from pasting.
std::string ListClipboardFormats() {
    UINT formats[256] = {};
    UINT count = 0;
    if (!GetUpdatedClipboardFormats(formats, 256, &count))
        return "null";
    std::string out = "[";
    for (UINT i = 0; i < count; ++i) {
        wchar_t name[256] = {};
        if (i > 0)
            out += ",";
        if (GetClipboardFormatNameW(formats[i], name, 256) > 0) {
            out += JsonString(name);
        } else {
            out += std::to_string(formats[i]);
        }
    }
    return out + "]";
}

}  // namespace

ZV_TOOL_COMMAND(CmdClipWatch, L"clip-watch",
                "clip-watch OUT MS: a clipboard viewer for MS milliseconds or until the file "
                "OUT.stop exists; writes \"ready\" to OUT, then the formats on the clipboard "
                "(a JSON array) for every change of it") {
    if (args.size() < 2)
        return 2;
    FILE* out = _wfopen(args[0].c_str(), L"wb");
    if (out == nullptr)
        return 1;
    HWND viewer =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (viewer == nullptr || !AddClipboardFormatListener(viewer)) {
        std::fclose(out);
        return 1;
    }
    std::fputs("ready\n", out);
    std::fflush(out);
    const std::wstring stop = args[0] + L".stop";
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(ArgInt(args, 1, 10000));
    SetTimer(viewer, 1, 100, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == viewer && msg.message == WM_TIMER) {
            if (GetTickCount64() >= until ||
                GetFileAttributesW(stop.c_str()) != INVALID_FILE_ATTRIBUTES)
                break;
            continue;
        }
        if (msg.hwnd == viewer && msg.message == WM_CLIPBOARDUPDATE) {
            std::fputs((ListClipboardFormats() + "\n").c_str(), out);
            std::fflush(out);
            continue;
        }
        DispatchMessageW(&msg);
    }
    RemoveClipboardFormatListener(viewer);
    DestroyWindow(viewer);
    std::fclose(out);
    return 0;
}

ZV_TOOL_COMMAND(CmdMouseGet, L"mouse-get",
                "mouse-get: {t1, t2, accel, speed} of the pointer settings") {
    int v[3] = {};
    int speed = 0;
    SystemParametersInfoW(SPI_GETMOUSE, 0, v, 0);
    SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0);
    PrintLine("{\"t1\":" + std::to_string(v[0]) + ",\"t2\":" + std::to_string(v[1]) +
              ",\"accel\":" + std::to_string(v[2]) + ",\"speed\":" + std::to_string(speed) + "}");
    return 0;
}

ZV_TOOL_COMMAND(
    CmdMouseSet, L"mouse-set",
    "mouse-set T1 T2 ACCEL SPEED: sets the pointer settings as the control panel does") {
    if (args.size() < 4)
        return 2;
    int v[3] = {ArgInt(args, 0, 6), ArgInt(args, 1, 10), ArgInt(args, 2, 1)};
    const int speed = ArgInt(args, 3, 10);
    const UINT flags = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;
    const bool ok =
        SystemParametersInfoW(SPI_SETMOUSE, 0, v, flags) &&
        SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                              reinterpret_cast<void*>(static_cast<INT_PTR>(speed)), flags);
    return ok ? 0 : 1;
}

ZV_WINDOW_COMMAND(CmdWinInfo, L"win-info", 1,
                  "win-info CAPTION: {style, exstyle, sysmenu (item texts), client [w, h]} of a "
                  "top-level window") {
    char buf[64];
    std::snprintf(buf, sizeof buf, "{\"style\":%lu,\"exstyle\":%lu,\"sysmenu\":[",
                  static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
    std::string json = buf;
    HMENU menu = GetSystemMenu(window, FALSE);
    const int n = menu != nullptr ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        if (i > 0)
            json += ",";
        json += "{\"id\":" + std::to_string(id) + ",\"text\":" + JsonString(text) + "}";
    }
    RECT rc{};
    GetClientRect(window, &rc);
    json += "],\"client\":[" + std::to_string(rc.right) + "," + std::to_string(rc.bottom) + "]}";
    PrintLine(json);
    return 0;
}

ZV_CONTROL_COMMAND(CmdEditSel, L"edit-sel", 2,
                   "edit-sel CAPTION ID: {start, end} of an edit control's selection") {
    DWORD start = 0, end = 0;
    SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    PrintLine("{\"start\":" + std::to_string(start) + ",\"end\":" + std::to_string(end) + "}");
    return 0;
}

ZV_WINDOW_COMMAND(
    CmdPostKey, L"post-key", 2,
    "post-key CAPTION VK: posts a key-down and key-up of VK (decimal) to a top-level window") {
    const WPARAM vk = static_cast<WPARAM>(ArgInt(args, 1, 0));
    PostMessageW(window, WM_KEYDOWN, vk, 1);
    PostMessageW(window, WM_KEYUP, vk, 0xC0000001);
    return 0;
}

ZV_WINDOW_COMMAND(
    CmdSysCommand, L"syscommand", 2,
    "syscommand CAPTION VALUE [LPARAM]: posts WM_SYSCOMMAND with VALUE (decimal) and LPARAM "
    "(decimal, default 0) to a top-level window") {
    PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(ArgInt(args, 1, 0)),
                 static_cast<LPARAM>(ArgInt(args, 2, 0)));
    return 0;
}

ZV_TOOL_COMMAND(CmdKill, L"kill", "kill NAME: ends every process whose program file is NAME") {
    if (args.empty())
        return 2;
    for (const auto& process : Processes(args[0])) {
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, process.first); h != nullptr) {
            TerminateProcess(h, 1);
            CloseHandle(h);
        }
    }
    return 0;
}

ZV_TOOL_COMMAND(CmdResString, L"res-string",
                "res-string EXE ID: a string resource of a program file") {
    if (args.size() < 2)
        return 2;
    HMODULE module = LoadLibraryExW(args[0].c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
        return 1;
    wchar_t text[512] = {};
    const int n = LoadStringW(module, static_cast<UINT>(ArgInt(args, 1, 0)), text, 512);
    FreeLibrary(module);
    if (n <= 0)
        return 1;
    PrintLine(JsonString(text));
    return 0;
}
