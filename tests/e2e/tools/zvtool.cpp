#include "zvtool.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <iterator>
#include <map>

namespace zvtool {
namespace {

struct Entry {
    CommandFn fn;
    const char* usage;
};

std::map<std::wstring, Entry>& Commands() {
    static std::map<std::wstring, Entry> commands;
    return commands;
}

}  // namespace

Registrar::Registrar(const wchar_t* name, CommandFn fn, const char* usage) {
    Commands()[name] = {fn, usage};
}

namespace {
bool atLineStart = true;  // what was printed last ended a line (or nothing was printed)
}  // namespace

void Print(const std::string& s) {
    if (!s.empty())
        atLineStart = s.back() == '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &written,
              nullptr);
}

void PrintLine(const std::string& s) {
    Print(s + "\n");
}

std::string JsonString(const std::wstring& w) {
    std::string out = "\"";
    for (unsigned char c : Utf8(w)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string HexToBytes(const std::wstring& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::wcstoul(hex.substr(i, 2).c_str(), nullptr, 16));
    return out;
}

int ArgInt(const Args& args, size_t index, int def) {
    return index < args.size() ? _wtoi(args[index].c_str()) : def;
}

std::wstring WindowText(HWND w) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len))
        return {};
    std::wstring text(len + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &got);
    text.resize(got);
    return text;
}

std::wstring ClassNameOf(HWND w) {
    wchar_t cls[256] = {};
    GetClassNameW(w, cls, 256);
    return cls;
}

bool Activate(HWND w) {
    HWND front = GetForegroundWindow();
    const DWORD self = GetCurrentThreadId();
    const DWORD other = front ? GetWindowThreadProcessId(front, nullptr) : 0;
    const bool attached = other != 0 && other != self && AttachThreadInput(self, other, TRUE);
    SetForegroundWindow(w);
    if (attached)
        AttachThreadInput(self, other, FALSE);
    return GetForegroundWindow() == w;
}

HWND FindTopLevel(const std::wstring& caption, bool partial, const std::wstring& cls) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t title[1024] = {};
        GetWindowTextW(w, title, 1024);
        const std::wstring t = title;
        const bool match = partial ? t.find(caption) != std::wstring::npos : t == caption;
        if (match && (cls.empty() || ClassNameOf(w) == cls))
            return w;
    }
    return nullptr;
}

HWND WaitTopLevel(const std::wstring& caption, bool partial, int timeoutMs,
                  const std::wstring& cls) {
    HWND w = nullptr;
    WaitUntil(timeoutMs, 50, [&] { return (w = FindTopLevel(caption, partial, cls)) != nullptr; });
    return w;
}

HWND DialogItem(const std::wstring& caption, int id, int timeoutMs, HWND* dialog) {
    *dialog = WaitTopLevel(caption, false, timeoutMs, L"#32770");
    return *dialog != nullptr ? GetDlgItem(*dialog, id) : nullptr;
}

HWND ControlOf(HWND top, int id) {
    if (top == nullptr)
        return nullptr;
    HWND form = FindWindowExW(top, nullptr, L"#32770", nullptr);
    return GetDlgItem(form != nullptr ? form : top, id);
}

int OnWindow(const Args& args, size_t minArgs, bool control, WindowFn fn) {
    if (args.size() < std::max<size_t>(minArgs, 1))
        return 2;
    HWND w = FindTopLevel(args[0], false);
    if (control)
        w = ControlOf(w, ArgInt(args, 1, 0));
    return w != nullptr ? fn(w, args) : 1;
}

std::string RectJson(const RECT& r) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return buf;
}

std::string RectObjectJson(const RECT& r) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "{\"left\":%ld,\"top\":%ld,\"right\":%ld,\"bottom\":%ld}",
                  r.left, r.top, r.right, r.bottom);
    return buf;
}

std::string PointJson(POINT p) {
    return "{\"x\":" + std::to_string(p.x) + ",\"y\":" + std::to_string(p.y) + "}";
}

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

WORD KeyCode(std::wstring name) {
    for (auto& c : name)
        c = static_cast<wchar_t>(towlower(c));
    static const std::map<std::wstring, WORD> keys{
        {L"down", VK_DOWN},
        {L"up", VK_UP},
        {L"left", VK_LEFT},
        {L"right", VK_RIGHT},
        {L"return", VK_RETURN},
        {L"enter", VK_RETURN},
        {L"esc", VK_ESCAPE},
        {L"escape", VK_ESCAPE},
        {L"tab", VK_TAB},
        {L"space", VK_SPACE},
        {L"home", VK_HOME},
        {L"end", VK_END},
        {L"back", VK_BACK},
        {L"delete", VK_DELETE},
        {L"pause", VK_PAUSE},
        {L"alt", VK_MENU},
        {L"ctrl", VK_CONTROL},
        {L"shift", VK_SHIFT},
        {L"win", VK_LWIN},
        {L"convert", VK_CONVERT},
        {L"processkey", VK_PROCESSKEY},  // a key the input method took
    };
    auto it = keys.find(name);
    if (it != keys.end())
        return it->second;
    if (name.size() == 1 && iswalnum(name[0]))
        return static_cast<WORD>(towupper(name[0]));
    if (name.size() >= 2 && name[0] == L'f') {
        const int n = _wtoi(name.c_str() + 1);
        if (n >= 1 && n <= 24)
            return static_cast<WORD>(VK_F1 + n - 1);
    }
    return 0;
}

std::vector<WORD> Chord(const std::wstring& chord) {
    std::vector<WORD> keys;
    size_t start = 0;
    while (start <= chord.size()) {
        size_t plus = chord.find(L'+', start);
        if (plus == std::wstring::npos)
            plus = chord.size();
        const WORD vk = KeyCode(chord.substr(start, plus - start));
        if (vk == 0)
            return {};
        keys.push_back(vk);
        start = plus + 1;
    }
    return keys;
}

std::vector<std::pair<DWORD, std::wstring>> Processes(const std::wstring& name) {
    std::vector<std::pair<DWORD, std::wstring>> out;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return out;
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
        if (name.empty() || _wcsicmp(pe.szExeFile, name.c_str()) == 0)
            out.emplace_back(pe.th32ProcessID, pe.szExeFile);
    }
    CloseHandle(snap);
    return out;
}

Receiver::Receiver(HWND window) : window_(window) {
    const DWORD thread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    attached_ = thread != 0 && thread != GetCurrentThreadId() &&
                AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
}

Receiver::~Receiver() {
    if (attached_)
        AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(window_, nullptr), FALSE);
}

bool Receiver::SameThread(HWND other) const {
    return other != nullptr && window_ != nullptr &&
           GetWindowThreadProcessId(other, nullptr) == GetWindowThreadProcessId(window_, nullptr);
}

bool Receiver::WaitKey(int vk, bool down, int timeoutMs, bool keyboard) const {
    if (!attached_)
        return true;
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (((GetKeyState(vk) & 0x8000) != 0) == down)
            return true;
        if (!IsWindow(window_))
            return true;  // the receiver is gone with what it took
        // A key the receiver took may have brought another thread's window in front; the
        // display then reports every key up to that window's program, which releases this
        // one, and the receiver's key state may follow before it was seen down here.
        if (keyboard && down &&
            (!SameThread(GetForegroundWindow()) || (GetAsyncKeyState(vk) & 0x8000) == 0))
            return true;
        if (GetTickCount64() >= end)
            break;
        Sleep(2);
    }
    char code[16];
    std::snprintf(code, sizeof code, "%02X", vk);
    const HWND front = GetForegroundWindow();
    PrintLine(std::string("not taken: the ") + (down ? "press" : "release") + " of key " + code +
              " by " + JsonString(WindowText(window_)) + " (" + Utf8(ClassNameOf(window_)) +
              ") within " + std::to_string(timeoutMs) + " ms; in front now: " +
              JsonString(WindowText(front)) + " (" + Utf8(ClassNameOf(front)) + ")" +
              (GetAsyncKeyState(vk) & 0x8000 ? ", the key is down" : ", the key is up"));
    return false;
}

HWND KeyboardReceiver() {
    return GetForegroundWindow();
}

HWND MouseReceiver(POINT p) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(0, &gui) && gui.hwndCapture != nullptr)
        return gui.hwndCapture;
    return WindowFromPoint(p);
}

bool WaitIdle(HWND w, int timeoutMs) {
    DWORD_PTR result = 0;
    if (w == nullptr ||
        SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs), &result) ||
        !IsWindow(w)) {
        return true;
    }
    PrintLine("not idle: " + JsonString(WindowText(w)) + " (" + Utf8(ClassNameOf(w)) +
              ") did not handle a message within " + std::to_string(timeoutMs) + " ms");
    return false;
}

void SendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (vk) {
        case VK_DOWN:
        case VK_UP:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
            in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            break;
        default:
            break;
    }
    SendInput(1, &in, sizeof in);
}

bool PressChord(const std::vector<WORD>& keys) {
    if (keys.empty())
        return true;
    const Receiver receiver(KeyboardReceiver());
    // Under Wine the display makes the program in front match Shift, Ctrl and Alt to the
    // real keyboard when a window of it gains the keyboard or the pointer: it does that
    // first, so that it cannot let go of a modifier of this chord.
    if (!WaitIdle(receiver.Window()) || !WaitIdle(receiver.Window()))
        return false;
    // The first key goes down and is taken; the others follow and all go up, the first
    // last: once the receiver has taken that release, it has taken the whole chord.
    SendKey(keys[0], false);
    const bool seen = (GetAsyncKeyState(keys[0]) & 0x8000) != 0;  // not taken by a hook
    if (seen && !receiver.WaitKey(keys[0], true, kInputTimeoutMs, true))
        return false;
    // The press may have brought another thread's window in front: the rest goes there.
    const HWND front = KeyboardReceiver();
    const bool same = receiver.SameThread(front);
    for (size_t i = 1; i < keys.size(); ++i)
        SendKey(keys[i], false);
    for (size_t i = keys.size(); i-- > 0;)
        SendKey(keys[i], true);
    if (!seen)
        return true;
    if (!same)
        return WaitIdle(front) && WaitIdle(receiver.Window());
    return receiver.WaitKey(keys[0], false) && WaitIdle(receiver.Window());
}

namespace {

// Under Wine each move of the pointer on the display comes back to the program whose
// window is under it, which hands it to the system again when it next waits for messages.
// The program under the pointer is made to do that now, so that no such late event of
// an earlier move moves the pointer back while the next input is under way.
bool FlushPointerEvents() {
    POINT at{};
    GetCursorPos(&at);
    const HWND under = WindowFromPoint(at);
    return WaitIdle(under) && WaitIdle(under);
}

}  // namespace

bool PointerTo(int x, int y) {
    if (!FlushPointerEvents())
        return false;
    const ULONGLONG end = GetTickCount64() + kInputTimeoutMs;
    POINT at{};
    while (GetTickCount64() < end) {
        SetCursorPos(x, y);
        while (GetCursorPos(&at) && (at.x != x || at.y != y) && GetTickCount64() < end)
            Sleep(5);
        if (!FlushPointerEvents())
            return false;
        if (GetCursorPos(&at) && at.x == x && at.y == y)
            return true;
    }
    PrintLine("the pointer did not stay at " + std::to_string(x) + "," + std::to_string(y) +
              " (it is at " + std::to_string(at.x) + "," + std::to_string(at.y) + ")");
    return false;
}

void SendMouseAt(POINT at, DWORD flags, DWORD data) {
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((at.x * 65536LL + width - 1) / width);
    in.mi.dy = static_cast<LONG>((at.y * 65536LL + height - 1) / height);
    in.mi.mouseData = data;
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

ButtonHold::ButtonHold(POINT at, DWORD down, DWORD up, int vk)
    : down_(down), up_(up), vk_(vk), at_(at), receiver_(MouseReceiver(at)) {}

bool ButtonHold::Press() {
    if (!FlushPointerEvents())
        return false;
    SendMouseAt(at_, down_);
    seen_ = (GetAsyncKeyState(vk_) & 0x8000) != 0;  // not taken by a hook
    return !seen_ || receiver_.WaitKey(vk_, true);
}

bool ButtonHold::Release(POINT at) {
    at_ = at;
    // The release goes to the window holding the capture now (the press may have set it).
    const HWND release = MouseReceiver(at_);
    if (!FlushPointerEvents())
        return false;
    SendMouseAt(at_, up_);
    if (seen_ && receiver_.SameThread(release) && !receiver_.WaitKey(vk_, false))
        return false;
    return WaitIdle(release) && WaitIdle(receiver_.Window());
}

bool ClickButton(POINT at, DWORD down, DWORD up, int vk, int count, DWORD gapMs) {
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            Sleep(gapMs);  // the pause between the clicks of a double click
        ButtonHold click(at, down, up, vk);
        if (!click.Press() || !click.Release(at))
            return false;
    }
    return true;
}

}  // namespace zvtool

using namespace zvtool;

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM lp) {
    auto* out = reinterpret_cast<std::string*>(lp);
    if (out->back() != '[')
        *out += ",";
    *out += "{\"id\":" + std::to_string(GetDlgCtrlID(child)) +
            ",\"class\":" + JsonString(ClassNameOf(child)) +
            ",\"text\":" + JsonString(WindowText(child)) +
            ",\"enabled\":" + (IsWindowEnabled(child) ? "true" : "false") + "}";
    return TRUE;
}

// A window as JSON: process, caption, class, visibility and, with controls, whether
// it is minimized and its controls.
std::string WindowJson(HWND w, bool controls = true) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    std::string json = "{\"pid\":" + std::to_string(pid) +
                       ",\"caption\":" + JsonString(WindowText(w)) +
                       ",\"class\":" + JsonString(ClassNameOf(w)) +
                       ",\"visible\":" + (IsWindowVisible(w) ? "true" : "false");
    if (!controls)
        return json + "}";
    json += std::string(",\"iconic\":") + (IsIconic(w) ? "true" : "false") + ",\"controls\":[";
    EnumChildWindows(w, CollectChild, reinterpret_cast<LPARAM>(&json));
    return json + "]}";
}

bool HasFlag(const Args& args, const wchar_t* flag) {
    return std::find(args.begin(), args.end(), flag) != args.end();
}

Args Positional(const Args& args) {
    Args out;
    std::copy_if(args.begin(), args.end(), std::back_inserter(out),
                 [](const std::wstring& a) { return a.rfind(L"--", 0) != 0; });
    return out;
}

}  // namespace

ZV_TOOL_COMMAND(CmdWindows, L"windows",
                "windows: the top-level windows in Z order, one JSON object a line") {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
        PrintLine(WindowJson(w, false));
    }
    return 0;
}

ZV_TOOL_COMMAND(
    CmdWait, L"wait-window",
    "wait-window CAPTION [TIMEOUT_MS] [--partial] [--class=CLS]: waits for a top-level window, "
    "prints it as JSON with its controls") {
    const Args pos = Positional(args);
    if (pos.empty())
        return 2;
    std::wstring cls;
    for (const auto& a : args) {
        if (a.rfind(L"--class=", 0) == 0)
            cls = a.substr(8);
    }
    HWND w = WaitTopLevel(pos[0], HasFlag(args, L"--partial"), ArgInt(pos, 1, 10000), cls);
    if (w == nullptr)
        return 1;
    PrintLine(WindowJson(w));
    return 0;
}

ZV_TOOL_COMMAND(CmdWaitGone, L"wait-gone",
                "wait-gone CAPTION [TIMEOUT_MS]: waits until no such top-level window exists") {
    if (args.empty())
        return 2;
    const bool gone =
        WaitUntil(ArgInt(args, 1, 10000), 50, [&] { return !FindTopLevel(args[0], false); });
    return gone ? 0 : 1;
}

ZV_TOOL_COMMAND(CmdPress, L"press",
                "press CAPTION CONTROL_ID [TIMEOUT_MS]: clicks a button of a dialog (a message "
                "box's OK is 1 or 2)") {
    if (args.size() < 2)
        return 2;
    HWND w = nullptr;
    const int id = _wtoi(args[1].c_str());
    HWND button = DialogItem(args[0], id, ArgInt(args, 2, 10000), &w);
    if (button == nullptr)
        return 1;
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return 0;
}

ZV_TOOL_COMMAND(CmdClose, L"close",
                "close CAPTION [--partial]: posts WM_CLOSE to a top-level window") {
    const Args pos = Positional(args);
    if (pos.empty())
        return 2;
    HWND w = FindTopLevel(pos[0], HasFlag(args, L"--partial"));
    if (w == nullptr)
        return 1;
    PostMessageW(w, WM_CLOSE, 0, 0);
    return 0;
}

ZV_WINDOW_COMMAND(CmdShow, L"show", 2, "show CAPTION restore: restores a top-level window") {
    if (args[1] != L"restore")
        return 2;
    ShowWindowAsync(window, SW_RESTORE);
    return 0;
}

ZV_TOOL_COMMAND(CmdExec, L"exec",
                "exec [--wait] EXE RAW_ARGS: starts EXE with exactly \"EXE\" RAW_ARGS as its "
                "command line; with --wait waits for it and returns its exit code") {
    const Args pos = Positional(args);
    if (pos.empty())
        return 2;
    std::wstring cmdline = L"\"" + pos[0] + L"\"";
    if (pos.size() > 1)
        cmdline += L" " + pos[1];
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmdline.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        PrintLine("CreateProcess failed " + std::to_string(GetLastError()));
        return 125;
    }
    PrintLine(std::to_string(pi.dwProcessId));
    DWORD code = 0;
    if (HasFlag(args, L"--wait")) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        GetExitCodeProcess(pi.hProcess, &code);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

ZV_TOOL_COMMAND(CmdProcesses, L"processes",
                "processes [NAME]: running processes (pid and exe), or only NAME's") {
    const auto found = Processes(args.empty() ? L"" : args[0]);
    for (const auto& [pid, exe] : found)
        PrintLine(std::to_string(pid) + "\t" + Utf8(exe));
    return args.empty() || !found.empty() ? 0 : 1;
}

ZV_TOOL_COMMAND(CmdForeground, L"foreground", "foreground: the foreground window as JSON") {
    HWND w = GetForegroundWindow();
    if (w == nullptr)
        return 1;
    PrintLine(WindowJson(w));
    return 0;
}

namespace {

struct Call {
    CommandFn fn;
    Args args;
    int rc = 2;
};

DWORD WINAPI RunCall(void* param) {
    auto* call = static_cast<Call*>(param);
    call->rc = call->fn(call->args);
    return 0;
}

// One argument as the test harness sends it: 'x' and its UTF-8 in hexadecimal, so that no
// text (spaces, line breaks, an empty argument) needs quoting.
std::wstring FromHex(const std::string& field) {
    return Wide(HexToBytes(Wide(field.substr(std::min<size_t>(1, field.size())))));
}

// Runs commands read from standard input, one a line, each on a thread of its own (so that
// nothing a command attached or left in its thread's input state reaches the next). After
// each, prints a line of \x1e and the command's exit code. Ends at the end of the input.
// A harness that runs many commands saves a process start for each one.
int Serve() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    std::string buffer;
    for (;;) {
        size_t end;
        while ((end = buffer.find('\n')) == std::string::npos) {
            char chunk[4096];
            DWORD got = 0;
            if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr) || got == 0)
                return 0;
            buffer.append(chunk, got);
        }
        std::vector<std::wstring> fields;
        size_t at = 0;
        while (at < end) {
            const size_t space = std::min(buffer.find(' ', at), end);
            fields.push_back(FromHex(buffer.substr(at, space - at)));
            at = space + 1;
        }
        buffer.erase(0, end + 1);
        Call call{nullptr, {}};
        if (!fields.empty() && Commands().count(fields[0]) != 0) {
            call.fn = Commands()[fields[0]].fn;
            call.args.assign(fields.begin() + 1, fields.end());
            HANDLE thread = CreateThread(nullptr, 0, RunCall, &call, 0, nullptr);
            if (thread != nullptr) {
                WaitForSingleObject(thread, INFINITE);  // the harness bounds each command
                CloseHandle(thread);
            }
        }
        if (!atLineStart)
            Print("\n");
        std::string done(1, '\x1e');
        PrintLine(done.append(std::to_string(call.rc)));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"serve")
        return Serve();
    if (argc < 2 || Commands().count(argv[1]) == 0) {
        for (const auto& [name, entry] : Commands())
            PrintLine(entry.usage);
        return 2;
    }
    Args args(argv + 2, argv + argc);
    return Commands()[argv[1]].fn(args);
}

ZV_TOOL_COMMAND(
    CmdHoldFile, L"hold-file",
    "hold-file PATH MS: opens PATH without sharing, prints 'held', keeps it open MS milliseconds") {
    if (args.size() < 2)
        return 2;
    HANDLE h = CreateFileW(args[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 1;
    PrintLine("held");
    Sleep(static_cast<DWORD>(ArgInt(args, 1, 1000)));  // the hold asked for
    CloseHandle(h);
    return 0;
}

ZV_TOOL_COMMAND(CmdErrText, L"errtext",
                "errtext CODE: the system's text for an error code (FormatMessage)") {
    if (args.empty())
        return 2;
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(_wtoi(args[0].c_str())),
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (n == 0)
        return 1;
    PrintLine(JsonString(std::wstring(buffer, n)));
    LocalFree(buffer);
    return 0;
}

namespace {

// Stops at the first child that has a part still to draw, setting *lp.
BOOL CALLBACK FindUndrawnChild(HWND child, LPARAM lp) {
    if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE))
        return TRUE;
    *reinterpret_cast<bool*>(lp) = true;
    return FALSE;
}

// A visible top-level window that still has a part to draw, or one whose thread does not
// handle messages; null when every one is drawn.
HWND Undrawn(int timeoutMs) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsWindowVisible(w))
            continue;
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId())
            continue;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs),
                                 &result) &&
            IsWindow(w)) {
            return w;
        }
        bool undrawn = GetUpdateRect(w, nullptr, FALSE) != FALSE;
        if (!undrawn)
            EnumChildWindows(w, FindUndrawnChild, reinterpret_cast<LPARAM>(&undrawn));
        if (undrawn)
            return w;
    }
    return nullptr;
}

}  // namespace

ZV_TOOL_COMMAND(CmdSettle, L"settle",
                "settle [TIMEOUT_MS]: waits until every visible window has handled its "
                "messages and has nothing left to draw (before a screenshot)") {
    const int timeout = ArgInt(args, 0, 10000);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout);
    for (;;) {
        const HWND w = Undrawn(timeout);
        if (w == nullptr) {
            // Once more: what a window drew is handed to the display when its thread is
            // back in its message loop.
            Undrawn(timeout);
            return 0;
        }
        if (GetTickCount64() >= end) {
            PrintLine("not drawn: " + JsonString(WindowText(w)) + " (" + Utf8(ClassNameOf(w)) +
                      ") within " + std::to_string(timeout) + " ms");
            return 1;
        }
        Sleep(20);
    }
}

ZV_TOOL_COMMAND(CmdIdle, L"idle",
                "idle CAPTION [TIMEOUT_MS]: waits until the thread of a top-level window has "
                "handled what it was sent and is back in its message loop") {
    if (args.empty())
        return 2;
    HWND w = WaitTopLevel(args[0], false, ArgInt(args, 1, 10000));
    if (w == nullptr) {
        PrintLine("no window " + JsonString(args[0]));
        return 1;
    }
    return WaitIdle(w, ArgInt(args, 1, 10000)) ? 0 : 1;
}

ZV_WINDOW_COMMAND(CmdSendMsg, L"send-msg", 4,
                  "send-msg CAPTION MSG WPARAM LPARAM [TIMEOUT_MS]: sends a message to a "
                  "top-level window and waits (bounded) until it was handled; prints the result") {
    auto number = [](const std::wstring& t) { return wcstoul(t.c_str(), nullptr, 0); };
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, static_cast<UINT>(number(args[1])), number(args[2]),
                             static_cast<LPARAM>(number(args[3])), SMTO_NORMAL,
                             static_cast<UINT>(ArgInt(args, 4, 10000)), &result)) {
        PrintLine("not handled within " + std::to_string(ArgInt(args, 4, 10000)) + " ms");
        return 1;
    }
    PrintLine(std::to_string(result));
    return 0;
}
