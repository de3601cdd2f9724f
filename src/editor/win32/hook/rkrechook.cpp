// RkRecHook.dll: runs inside every program while RkEditor records, and passes on what
// that program receives: key presses (as the program gets them: a key the input method
// took arrives as VK_PROCESSKEY), the characters after the input method, and the input
// method's results. Nothing passes while the hook is not armed, for the editor's own
// windows, or once the recorder window is gone; in a password field no character and no
// key that types one leaves the program.
#include <windows.h>
#include <imm.h>

#include <string>

#include "editor/recorder_keys.h"
#include "editor/win32/hook/rkrechook.h"

namespace {

// One copy for every process that maps this module: the editor writes it, the hooks in
// the other programs read it.
#define ZV_SHARED __attribute__((section(".rkshare"), shared))
volatile LONG g_armed ZV_SHARED = 0;
volatile LONGLONG g_recorder ZV_SHARED = 0;  // HWND
volatile LONG g_recorderPid ZV_SHARED = 0;

// Per thread of the hooked program: the input method's last result, passed on as text
// when it came. What the program then gets of it once more (WM_IME_CHAR from
// DefWindowProc, then WM_CHAR from that) is matched against it and not passed on again.
struct ImeEcho {
    bool unicode = true;      // the window takes UTF-16 units (else bytes, A functions)
    std::wstring text;        // the result as the window gets it: units, or bytes widened
    std::size_t imePos = 0;   // how far WM_IME_CHAR has repeated it
    std::size_t charPos = 0;  // how far WM_CHAR has repeated it
};
thread_local ImeEcho t_echo;
// A procedure of this module is running on the thread. An editor that was killed can
// leave its installation behind (Wine removes only low-level hooks with their thread);
// its procedure then runs inside the next one's CallNextHookEx for the same message and
// must not pass the message on a second time.
thread_local int t_depth = 0;

LRESULT CallNext(int code, WPARAM wp, LPARAM lp) {
    ++t_depth;
    const LRESULT result = CallNextHookEx(nullptr, code, wp, lp);
    --t_depth;
    return result;
}

HWND ArmedRecorder() {
    if (InterlockedCompareExchange(&g_armed, 0, 0) == 0)
        return nullptr;
    HWND recorder = reinterpret_cast<HWND>(static_cast<LONG_PTR>(g_recorder));
    DWORD owner = 0;
    if (recorder == nullptr || !IsWindow(recorder) ||
        GetWindowThreadProcessId(recorder, &owner) == 0 ||
        owner != static_cast<DWORD>(g_recorderPid)) {
        return nullptr;  // the editor ended (or crashed) without disarming
    }
    return recorder;
}

unsigned HeldModifiers() {
    unsigned mods = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000)
        mods |= zv::kRecShift;
    if (GetKeyState(VK_CONTROL) & 0x8000)
        mods |= zv::kRecControl;
    if (GetKeyState(VK_MENU) & 0x8000)
        mods |= zv::kRecAlt;
    if ((GetKeyState(VK_LWIN) | GetKeyState(VK_RWIN)) & 0x8000)
        mods |= zv::kRecWin;
    return mods;
}

bool InMenu(HWND window) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &gui) &&
           (gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0;
}

// An edit control (of any kind: Edit, RichEdit, a framework's wrapper) with the
// password style.
bool IsPasswordField(HWND window) {
    if ((GetWindowLongW(window, GWL_STYLE) & ES_PASSWORD) == 0)
        return false;
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    CharLowerW(cls);
    return wcsstr(cls, L"edit") != nullptr;
}

struct Target {
    HWND recorder = nullptr;
    HWND root = nullptr;
};

// Where a message for window goes: nowhere while disarmed, for windows of the editor,
// and for messages that name no window.
Target TargetOf(HWND window) {
    Target t;
    if (window == nullptr)
        return t;
    HWND recorder = ArmedRecorder();
    if (recorder == nullptr)
        return t;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == static_cast<DWORD>(g_recorderPid))
        return t;
    t.recorder = recorder;
    t.root = GetAncestor(window, GA_ROOT);
    return t;
}

void Post(const Target& t, zv::HookEventKind kind, std::uint8_t flags, std::uint16_t code,
          DWORD time) {
    zv::HookEvent e;
    e.kind = kind;
    e.flags = flags;
    e.code = code;
    e.time = time;
    PostMessageW(t.recorder, zv::kRecHookMessage, static_cast<WPARAM>(zv::PackHookEvent(e)),
                 reinterpret_cast<LPARAM>(t.root));
}

void OnKey(const MSG& msg, bool down) {
    const Target t = TargetOf(msg.hwnd);
    if (t.recorder == nullptr)
        return;
    const auto vk = static_cast<std::uint32_t>(msg.wParam & 0xFF);
    if (down && vk != VK_PROCESSKEY && vk != VK_PACKET)
        t_echo = ImeEcho{};  // a key of its own: what follows is typed, not converted
    const unsigned mods = HeldModifiers();
    const bool menu = InMenu(msg.hwnd);
    const zv::HookEventKind kind = down ? zv::HookEventKind::KeyDown : zv::HookEventKind::KeyUp;
    if (!zv::HookForwardsKey(kind, vk, mods, menu, IsPasswordField(msg.hwnd)))
        return;
    Post(t, kind, static_cast<std::uint8_t>(mods | (menu ? zv::kHookMenuMode : 0)),
         static_cast<std::uint16_t>(vk), msg.time);
}

// The first byte of a double-byte character an A window got; its second follows.
thread_local char t_leadByte = 0;

// A character the window got: a UTF-16 unit, or one byte for a window of the A functions
// (in the system's code page, passed on as UTF-16 once the character is whole).
void PostChar(const Target& t, HWND window, bool unicode, WPARAM code, DWORD time) {
    if (IsPasswordField(window)) {
        Post(t, zv::HookEventKind::PasswordChar, 0, 0, time);
        return;
    }
    const std::uint8_t menu = InMenu(window) ? zv::kHookMenuMode : 0;
    if (unicode) {
        Post(t, zv::HookEventKind::Char, menu, static_cast<std::uint16_t>(code), time);
        return;
    }
    const char byte = static_cast<char>(code & 0xFF);
    if (t_leadByte == 0 && IsDBCSLeadByte(static_cast<BYTE>(byte))) {
        t_leadByte = byte;
        return;
    }
    const char bytes[2] = {t_leadByte != 0 ? t_leadByte : byte, byte};
    const int count = t_leadByte != 0 ? 2 : 1;
    t_leadByte = 0;
    wchar_t units[2] = {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes, count, units, 2);
    for (int i = 0; i < n; ++i)
        Post(t, zv::HookEventKind::Char, menu, static_cast<std::uint16_t>(units[i]), time);
}

// Advances pos over what the echo expects next: one unit, or the one or two bytes of a
// double-byte code (lead byte high). False when code is not what comes next.
bool Echoes(std::size_t& pos, WPARAM code, bool twoBytes) {
    const std::wstring& text = t_echo.text;
    if (twoBytes) {
        if (pos + 1 < text.size() && text[pos] == ((code >> 8) & 0xFF) &&
            text[pos + 1] == (code & 0xFF)) {
            pos += 2;
            return true;
        }
        return false;
    }
    if (pos < text.size() && text[pos] == static_cast<wchar_t>(code & 0xFFFF)) {
        ++pos;
        return true;
    }
    return false;
}

void OnChar(const MSG& msg) {
    const Target t = TargetOf(msg.hwnd);
    if (t.recorder == nullptr)
        return;
    if (Echoes(t_echo.charPos, msg.wParam, false))
        return;
    t_echo.charPos = t_echo.text.size();  // the echo is over
    PostChar(t, msg.hwnd, IsWindowUnicode(msg.hwnd) != FALSE, msg.wParam, msg.time);
}

// The input method finished a conversion in the focus window: its result is what the
// program gets. (The input method's own windows get these messages too.)
void OnComposition(HWND window, LPARAM flags) {
    if ((flags & GCS_RESULTSTR) == 0 || window != GetFocus())
        return;
    const Target t = TargetOf(window);
    if (t.recorder == nullptr)
        return;
    HIMC context = ImmGetContext(window);
    if (context == nullptr)
        return;
    const LONG size = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    std::wstring result(size > 0 ? static_cast<std::size_t>(size) / sizeof(wchar_t) : 0, L'\0');
    const LONG bytes =
        result.empty() ? 0 : ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), size);
    ImmReleaseContext(window, context);
    if (bytes <= 0)
        return;
    result.resize(static_cast<std::size_t>(bytes) / sizeof(wchar_t));
    const DWORD now = GetTickCount();
    for (wchar_t unit : result)
        PostChar(t, window, true, unit, now);
    t_echo = ImeEcho{};
    t_echo.unicode = IsWindowUnicode(window) != FALSE;
    if (t_echo.unicode) {
        t_echo.text = result;
    } else {
        const int n = WideCharToMultiByte(CP_ACP, 0, result.data(), static_cast<int>(result.size()),
                                          nullptr, 0, nullptr, nullptr);
        std::string ansi(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
        WideCharToMultiByte(CP_ACP, 0, result.data(), static_cast<int>(result.size()), ansi.data(),
                            n, nullptr, nullptr);
        for (char byte : ansi)
            t_echo.text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    }
}

// A character of a result the program takes one by one. Passed on when the result was
// not (its text could not be read); DefWindowProc's WM_CHAR of it is not passed on again.
void OnImeChar(HWND window, WPARAM code, DWORD time) {
    if (window != GetFocus())
        return;
    const Target t = TargetOf(window);
    if (t.recorder == nullptr)
        return;
    const bool unicode = IsWindowUnicode(window) != FALSE;
    const bool twoBytes = !unicode && (code & 0xFF00) != 0;
    if (t_echo.unicode == unicode && Echoes(t_echo.imePos, code, twoBytes))
        return;
    if (t_echo.imePos < t_echo.text.size() || t_echo.unicode != unicode) {
        t_echo = ImeEcho{};
        t_echo.unicode = unicode;
    }
    if (unicode) {
        PostChar(t, window, true, code, time);
        t_echo.text += static_cast<wchar_t>(code & 0xFFFF);
    } else {
        if (twoBytes) {
            PostChar(t, window, false, (code >> 8) & 0xFF, time);
            t_echo.text += static_cast<wchar_t>((code >> 8) & 0xFF);
        }
        PostChar(t, window, false, code & 0xFF, time);
        t_echo.text += static_cast<wchar_t>(code & 0xFF);
    }
    t_echo.imePos = t_echo.text.size();
}

}  // namespace

extern "C" {

__declspec(dllexport) LRESULT CALLBACK RkRecGetMessageProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE && g_armed != 0 && t_depth == 0) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lp);
        switch (msg.message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                OnKey(msg, true);
                break;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                OnKey(msg, false);
                break;
            case WM_CHAR:
                OnChar(msg);
                break;
            case WM_IME_COMPOSITION:
                OnComposition(msg.hwnd, msg.lParam);
                break;
            case WM_IME_CHAR:
                OnImeChar(msg.hwnd, msg.wParam, msg.time);
                break;
            default:
                break;
        }
    }
    return CallNext(code, wp, lp);
}

// The input method's messages are mostly sent, not posted.
__declspec(dllexport) LRESULT CALLBACK RkRecCallWndProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && g_armed != 0 && t_depth == 0) {
        const CWPSTRUCT& cwp = *reinterpret_cast<const CWPSTRUCT*>(lp);
        switch (cwp.message) {
            case WM_IME_COMPOSITION:
                OnComposition(cwp.hwnd, cwp.lParam);
                break;
            case WM_IME_CHAR:
                OnImeChar(cwp.hwnd, cwp.wParam, GetTickCount());
                break;
            default:
                break;
        }
    }
    return CallNext(code, wp, lp);
}

__declspec(dllexport) void RkRecArm(HWND recorder) {
    DWORD pid = 0;
    GetWindowThreadProcessId(recorder, &pid);
    InterlockedExchange(&g_armed, 0);
    InterlockedExchange64(&g_recorder, static_cast<LONGLONG>(reinterpret_cast<LONG_PTR>(recorder)));
    InterlockedExchange(&g_recorderPid, static_cast<LONG>(pid));
    InterlockedExchange(&g_armed, recorder != nullptr ? 1 : 0);
}

__declspec(dllexport) void RkRecDisarm() {
    InterlockedExchange(&g_armed, 0);
    InterlockedExchange64(&g_recorder, 0);
    InterlockedExchange(&g_recorderPid, 0);
}

__declspec(dllexport) BOOL RkRecIsArmed() {
    return ArmedRecorder() != nullptr;
}

}  // extern "C"
