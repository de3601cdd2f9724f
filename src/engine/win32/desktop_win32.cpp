#include "engine/win32/desktop_win32.h"

#include "common/win32/fglock_read.h"

#include <windows.h>
#include <mmsystem.h>

#include "common/win32/globalblock.h"
#include "common/win32/text.h"

namespace zv {
namespace {

HWND ToHwnd(WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}
WindowHandle FromHwnd(HWND w) {
    return reinterpret_cast<WindowHandle>(w);
}

using SendInputFn = UINT(WINAPI*)(UINT, LPINPUT, int);

// Sends one input record through SendInput, looked up in user32 for this one event;
// false when the function is not there (the caller then uses the legacy call).
bool SendOneInput(INPUT& input) {
    const HMODULE user32 = LoadLibraryA("user32");
    if (user32 == nullptr)
        return false;
    const auto send =
        reinterpret_cast<SendInputFn>(reinterpret_cast<void*>(GetProcAddress(user32, "SendInput")));
    if (send != nullptr)
        send(1, &input, sizeof(INPUT));
    FreeLibrary(user32);
    return send != nullptr;
}

// Hands block to the clipboard as format; frees it when the clipboard refuses it.
bool PutClipboardBlock(UINT format, HGLOBAL block) {
    if (block == nullptr)
        return false;
    if (SetClipboardData(format, block) == nullptr) {
        GlobalFree(block);
        return false;
    }
    return true;
}

class Win32StartedProcess : public IStartedProcess {
public:
    explicit Win32StartedProcess(const PROCESS_INFORMATION& pi) : pi_(pi) {}
    ~Win32StartedProcess() override {
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Win32StartedProcess(const Win32StartedProcess&) = delete;
    Win32StartedProcess& operator=(const Win32StartedProcess&) = delete;

    bool WaitInputIdle(std::uint32_t timeoutMs) override {
        return WaitForInputIdle(pi_.hProcess, timeoutMs) == 0;
    }
    std::optional<std::uint32_t> ExitCode() override {
        DWORD code = 0;
        if (!GetExitCodeProcess(pi_.hProcess, &code))
            return std::nullopt;
        return code;
    }

private:
    PROCESS_INFORMATION pi_;
};

}  // namespace

// ---- time ----

void Win32EngineDesktop::Sleep(std::uint32_t ms) {
    ::Sleep(ms);
}

std::uint64_t Win32EngineDesktop::TickMs() {
    return GetTickCount64();
}

ScopedTimerResolution::ScopedTimerResolution() : active_(timeBeginPeriod(1) == TIMERR_NOERROR) {}

ScopedTimerResolution::~ScopedTimerResolution() {
    if (active_)
        timeEndPeriod(1);
}

// ---- keyboard and mouse ----

void Win32EngineDesktop::SendKeyEvent(std::uint32_t vk, std::uint32_t flags) {
    const BYTE code = static_cast<BYTE>(vk & 0xFF);
    if (osMajor_ < 5) {
        keybd_event(code, 0, flags, 0);
        return;
    }
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(code, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags | KEYEVENTF_EXTENDEDKEY;
    if (!SendOneInput(input))
        keybd_event(code, 0, flags, 0);
}

void Win32EngineDesktop::SendLegacyKeyEvent(std::uint32_t vk, std::uint32_t flags) {
    keybd_event(static_cast<BYTE>(vk & 0xFF), 0, flags, 0);
}

void Win32EngineDesktop::SendMouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                        std::int32_t data) {
    if (osMajor_ < 5) {
        mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data),
                    0);
        return;
    }
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.mouseData = static_cast<DWORD>(data);
    input.mi.dwFlags = flags;
    if (!SendOneInput(input)) {
        mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data),
                    0);
    }
}

Point Win32EngineDesktop::GetCursorPos() {
    POINT p{};
    ::GetCursorPos(&p);
    return {p.x, p.y};
}

std::optional<Point> Win32EngineDesktop::ClientToScreen(WindowHandle window, Point client) {
    POINT p{client.x, client.y};
    if (!::ClientToScreen(ToHwnd(window), &p))
        return std::nullopt;
    return Point{p.x, p.y};
}

MouseParams Win32EngineDesktop::GetMouseParams() {
    int values[3] = {0, 0, 0};
    SystemParametersInfoW(SPI_GETMOUSE, 0, values, 0);
    int speed = 10;
    SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0);
    MouseParams params;
    params.threshold1 = values[0];
    params.threshold2 = values[1];
    params.acceleration = values[2];
    params.speed = speed;
    return params;
}

void Win32EngineDesktop::SetMouseParams(const MouseParams& params) {
    int values[3] = {params.threshold1, params.threshold2, params.acceleration};
    SystemParametersInfoW(SPI_SETMOUSE, 0, values, SPIF_SENDCHANGE);
    // The speed travels in pvParam; Wine reads it from uiParam, Windows ignores uiParam.
    SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(params.speed),
                          reinterpret_cast<void*>(static_cast<INT_PTR>(params.speed)),
                          SPIF_SENDCHANGE);
}

// ---- windows ----

WindowHandle Win32EngineDesktop::GetForegroundWindow() {
    return FromHwnd(::GetForegroundWindow());
}

WindowHandle Win32EngineDesktop::GetForegroundFocusWindow() {
    const DWORD self = GetCurrentThreadId();
    const HWND foreground = ::GetForegroundWindow();
    const DWORD target = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    if (self == 0 || target == 0 || self == target)
        return 0;
    if (!AttachThreadInput(self, target, TRUE))
        return 0;
    const HWND focus = GetFocus();
    AttachThreadInput(self, target, FALSE);
    return FromHwnd(focus);
}

// A minimised window comes back through its own thread: ShowWindow on another thread's
// window waits until that thread has handled it, for ever when its program hangs.
static void RestoreWithoutWaiting(HWND w) {
    if (IsIconic(w))
        ShowWindowAsync(w, SW_RESTORE);
}

bool Win32EngineDesktop::ActivateWindow(WindowHandle window) {
    const HWND w = ToHwnd(window);
    if (!ntPlatform_) {
        RestoreWithoutWaiting(w);
        return SetForegroundWindow(w) != FALSE;
    }
    const DWORD self = GetCurrentThreadId();
    const DWORD target = GetWindowThreadProcessId(w, nullptr);
    if (self == 0 || target == 0 || self == target)
        return false;
    if (!AttachThreadInput(self, target, TRUE))
        return false;
    RestoreWithoutWaiting(w);
    const bool ok = SetForegroundWindow(w) != FALSE;
    AttachThreadInput(self, target, FALSE);
    return ok;
}

std::vector<TopLevelWindow> Win32EngineDesktop::TopLevelWindows() {
    // No message goes to the windows: a busy window of this process (the status window
    // while it waits for this worker) or a hung program would otherwise block the walk.
    std::vector<TopLevelWindow> windows;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
        windows.push_back({FromHwnd(w), ReadCaptionNonBlocking(w)});
    }
    return windows;
}

// ---- processes ----

ProcessId Win32EngineDesktop::ProcessIdOfWindow(WindowHandle window) {
    if (window == 0)
        return 0;
    DWORD pid = 0;
    GetWindowThreadProcessId(ToHwnd(window), &pid);
    return pid;
}

bool Win32EngineDesktop::WaitProcessIdle(ProcessId pid, std::uint32_t timeoutMs) {
    const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (process == nullptr)
        return false;
    const DWORD result = WaitForInputIdle(process, timeoutMs);
    CloseHandle(process);
    return result == 0;
}

std::unique_ptr<IStartedProcess> Win32EngineDesktop::StartProcess(const std::string& commandLine) {
    std::wstring line = ToWide(commandLine);
    line.push_back(L'\0');  // CreateProcessW may write into its command line
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWDEFAULT;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_PROCESS_GROUP,
                        nullptr, nullptr, &si, &pi)) {
        return nullptr;
    }
    return std::make_unique<Win32StartedProcess>(pi);
}

// ---- clipboard ----

bool Win32EngineDesktop::OpenClipboard() {
    if (::OpenClipboard(nullptr))
        return true;
    lastClipboardError_ = GetLastError();
    return false;
}

void Win32EngineDesktop::CloseClipboard() {
    ::CloseClipboard();
}

std::string Win32EngineDesktop::LastErrorText() {
    return SystemErrorText(lastClipboardError_);
}

std::optional<std::string> Win32EngineDesktop::GetClipboardText() {
    // The Unicode form converted to CP932 equals CF_TEXT on a Japanese system and stays
    // right where the system code page is another one.
    if (const HANDLE wide = GetClipboardData(CF_UNICODETEXT); wide != nullptr) {
        const SIZE_T size = GlobalSize(wide);
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(wide)); p != nullptr) {
            std::size_t n = 0;
            const std::size_t limit = size / sizeof(wchar_t);
            while (n < limit && p[n] != L'\0')
                ++n;
            std::string text = FromWide(std::wstring_view(p, n));
            GlobalUnlock(wide);
            return text;
        }
    }
    const HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr)
        return std::nullopt;
    const SIZE_T size = GlobalSize(data);
    const auto* p = static_cast<const char*>(GlobalLock(data));
    if (p == nullptr)
        return std::nullopt;
    std::size_t n = 0;
    while (n < size && p[n] != '\0')
        ++n;
    std::string text(p, n);
    GlobalUnlock(data);
    return text;
}

bool Win32EngineDesktop::SetClipboardText(const std::string& text) {
    EmptyClipboard();
    // CF_TEXT with the CP932 bytes, and the same text as CF_UNICODETEXT so that a
    // Unicode target pastes it right whatever the system code page is.
    const std::wstring wide = ToWide(text);
    const bool ok = PutClipboardBlock(CF_TEXT, NewGlobalBlock(text.c_str(), text.size() + 1));
    if (ok)
        PutClipboardBlock(CF_UNICODETEXT,
                          NewGlobalBlock(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
    return ok;
}

std::vector<std::uint32_t> Win32EngineDesktop::ClipboardFormats() {
    std::vector<std::uint32_t> formats;
    for (UINT format = EnumClipboardFormats(0); format != 0;
         format = EnumClipboardFormats(format)) {
        formats.push_back(format);
    }
    return formats;
}

ClipboardRead Win32EngineDesktop::ReadClipboardFormat(std::uint32_t format, std::size_t maxBytes) {
    ClipboardRead read;
    const HANDLE data = GetClipboardData(format);
    if (data == nullptr)
        return read;
    read.size = GlobalSize(data);
    if (read.size == 0)
        return read;  // not a global memory block
    if (read.size > maxBytes) {
        read.status = ClipboardRead::Status::TooLarge;
        return read;
    }
    const void* p = GlobalLock(data);
    if (p == nullptr)
        return read;
    read.bytes.assign(static_cast<const char*>(p), read.size);
    GlobalUnlock(data);
    read.status = ClipboardRead::Status::Read;
    return read;
}

bool Win32EngineDesktop::RestoreClipboardFormats(const std::vector<ClipboardFormatData>& formats) {
    if (!EmptyClipboard())
        return false;
    bool ok = true;
    for (const ClipboardFormatData& f : formats) {
        if (!PutClipboardBlock(f.format, NewGlobalBlock(f.bytes.data(), f.bytes.size())))
            ok = false;
    }
    return ok;
}

// ---- system settings ----

std::optional<std::uint32_t> Win32EngineDesktop::ReadForegroundLockTimeoutRegistry() {
    return zv::ReadForegroundLockTimeoutRegistry();
}

std::optional<std::uint32_t> Win32EngineDesktop::ReadForegroundLockTimeoutSystem() {
    return zv::ReadForegroundLockTimeoutSystem();
}

}  // namespace zv
