// RkRecHook.dll: runs inside every program while RkEditor records, and passes on what
// that program receives: key presses (as the program gets them: a key the input method
// took arrives as VK_PROCESSKEY), the characters after the input method, the input
// method's results and that it composes, each with the kind of control that has the
// focus. Nothing passes while no editor has armed the recording state, for the editor's
// own windows, or for a window of another process (the system runs a 64-bit hook for a
// 32-bit program on the editor's own thread, where every read here would describe the
// editor). In a secret field (a password edit, a control that reports itself protected
// through accessibility, a framework's field whose kind cannot be read) no character and
// no key that types one leaves the program.
#include <windows.h>
#include <imm.h>
#include <oleacc.h>

#include <string>

#include "editor/recorder_keys.h"
#include "editor/win32/hook/recstate.h"
#include "editor/win32/hook/rkrechook.h"

namespace {

// IID_IAccessible, without linking the accessibility library into every program.
constexpr IID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

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
// The window the input method last composed in on this thread: it commits there, also
// once the focus has moved on.
thread_local HWND t_composing = nullptr;
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

// ---- the focus control's kind ----

template <class F>
F Proc(const wchar_t* module, const char* name, bool load) {
    HMODULE m = load ? LoadLibraryW(module) : GetModuleHandleW(module);
    return m != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)))
                        : nullptr;
}

// COM runs on this thread: only then can its windows serve accessible objects of their own.
bool ComOnThread() {
    using Fn = HRESULT(WINAPI*)(APTTYPE*, APTTYPEQUALIFIER*);
    const auto getType = Proc<Fn>(L"ole32.dll", "CoGetApartmentType", false);
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    return getType != nullptr && getType(&type, &qualifier) == S_OK;
}

void ClearVariant(VARIANT& v) {
    using Fn = HRESULT(WINAPI*)(VARIANT*);
    if (v.vt == VT_I4 || v.vt == VT_EMPTY)
        return;
    static const auto clear = Proc<Fn>(L"oleaut32.dll", "VariantClear", true);
    if (clear != nullptr)
        clear(&v);
}

// The accessible state and role of the element that has the focus inside window, when
// the window serves an accessible object of its own (browsers, frameworks, custom
// controls). Its own window procedure answers, on this thread.
void ReadAccessible(HWND window, zv::FieldFacts& facts) {
    if (!ComOnThread())
        return;
    const LRESULT answer = SendMessageW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    if (answer <= 0)
        return;
    facts.access = zv::FieldFacts::Access::Unreadable;
    using FromLresultFn = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);
    static const auto fromLresult = Proc<FromLresultFn>(L"oleacc.dll", "ObjectFromLresult", true);
    IAccessible* object = nullptr;
    if (fromLresult == nullptr ||
        FAILED(fromLresult(answer, kIidAccessible, 0, reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return;
    }
    IAccessible* element = object;
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = CHILDID_SELF;
    VARIANT focus{};
    if (SUCCEEDED(object->get_accFocus(&focus))) {
        if (focus.vt == VT_I4) {
            child.lVal = focus.lVal;
        } else if (focus.vt == VT_DISPATCH && focus.pdispVal != nullptr) {
            IAccessible* inner = nullptr;
            if (SUCCEEDED(focus.pdispVal->QueryInterface(kIidAccessible,
                                                         reinterpret_cast<void**>(&inner))) &&
                inner != nullptr)
                element = inner;
        }
    }
    VARIANT state{};
    if (SUCCEEDED(element->get_accState(child, &state)) && state.vt == VT_I4) {
        facts.access = zv::FieldFacts::Access::Read;
        facts.state = static_cast<std::uint32_t>(state.lVal);
        VARIANT role{};
        if (SUCCEEDED(element->get_accRole(child, &role)) && role.vt == VT_I4)
            facts.role = static_cast<std::uint32_t>(role.lVal);
        ClearVariant(role);
    }
    ClearVariant(state);
    ClearVariant(focus);
    if (element != object)
        element->Release();
    object->Release();
}

zv::RecField FieldOf(HWND window) {
    zv::FieldFacts facts;
    wchar_t cls[128] = {};
    const int n = GetClassNameW(window, cls, 128);
    for (int i = 0; i < n; ++i)
        facts.className += cls[i] < 0x80 ? static_cast<char>(cls[i]) : '?';
    facts.passwordStyle = (GetWindowLongW(window, GWL_STYLE) & ES_PASSWORD) != 0;
    // The window is the thread's own (the focus, or the input method's target): these
    // calls go straight to its window procedure.
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        facts.dialogCode = static_cast<std::uint32_t>(SendMessageW(window, WM_GETDLGCODE, 0, 0));
        ReadAccessible(window, facts);
    }
    return zv::ClassifyField(facts);
}

// ---- passing on ----

struct Target {
    HWND recorder = nullptr;
    HWND root = nullptr;
    HWND field = nullptr;
};

// Where a message for window goes: nowhere while disarmed, for windows of the editor,
// for windows of other processes, and for messages that name no window.
Target TargetOf(HWND window) {
    Target t;
    if (window == nullptr)
        return t;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId())
        return t;
    DWORD recorderPid = 0;
    HWND recorder = zv::ArmedRecorderWindow(&recorderPid);
    if (recorder == nullptr || pid == recorderPid)
        return t;
    t.recorder = recorder;
    t.root = GetAncestor(window, GA_ROOT);
    t.field = window;
    return t;
}

std::uint32_t Handle32(HWND w) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(w));
}

void Post(const Target& t, zv::HookEventKind kind, std::uint8_t flags, std::uint16_t code,
          DWORD time) {
    zv::HookEvent e;
    e.kind = kind;
    e.flags = flags;
    e.code = code;
    e.time = time;
    const zv::HookWindows windows{Handle32(t.root), Handle32(t.field)};
    PostMessageW(t.recorder, zv::kRecHookMessage, static_cast<WPARAM>(zv::PackHookEvent(e)),
                 static_cast<LPARAM>(zv::PackHookWindows(windows)));
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
    // A key-up's fate does not depend on the field.
    const zv::RecField field = down ? FieldOf(msg.hwnd) : zv::RecField::Text;
    const zv::HookKeyAction action = zv::HookActionForKey(kind, vk, mods, menu, field);
    if (action == zv::HookKeyAction::Drop)
        return;
    Post(t, kind, zv::HookFlags(mods, menu, field),
         static_cast<std::uint16_t>(action == zv::HookKeyAction::Forward ? vk : 0), msg.time);
}

// The first byte of a double-byte character an A window got; its second follows.
thread_local char t_leadByte = 0;

// A character the window got: a UTF-16 unit, or one byte for a window of the A functions
// (in the system's code page, passed on as UTF-16 once the character is whole). result:
// a character of the input method's result.
void PostChar(const Target& t, HWND window, bool unicode, WPARAM code, DWORD time, bool result) {
    const zv::RecField field = FieldOf(window);
    if (zv::IsSecretField(field)) {
        Post(t, zv::HookEventKind::PasswordChar, zv::HookFlags(0, false, field), 0, time);
        return;
    }
    const std::uint8_t flags = zv::HookFlags(0, InMenu(window), field);
    const zv::HookEventKind kind = result ? zv::HookEventKind::ResultChar : zv::HookEventKind::Char;
    if (unicode) {
        Post(t, kind, flags, static_cast<std::uint16_t>(code), time);
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
        Post(t, kind, flags, static_cast<std::uint16_t>(units[i]), time);
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
    PostChar(t, msg.hwnd, IsWindowUnicode(msg.hwnd) != FALSE, msg.wParam, msg.time, false);
}

// The input method composes in a window: the focus, or the window it composed in before
// (it commits there when the focus moves on). Its own windows get these messages too.
bool ComposesIn(HWND window) {
    return window != nullptr && (window == GetFocus() || window == t_composing);
}

void OnComposing(HWND window, zv::HookComposing what) {
    if (window != GetFocus())
        return;
    const Target t = TargetOf(window);
    if (t.recorder == nullptr)
        return;
    t_composing = window;
    Post(t, zv::HookEventKind::Composing, 0, what, GetTickCount());
}

// The input method finished a conversion: its result is what the program gets.
void OnComposition(HWND window, LPARAM flags) {
    if ((flags & GCS_RESULTSTR) == 0) {
        if ((flags & GCS_COMPSTR) != 0)
            OnComposing(window, zv::kHookComposingUpdate);
        return;
    }
    if (!ComposesIn(window))
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
        PostChar(t, window, true, unit, now, true);
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
    if (!ComposesIn(window))
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
        PostChar(t, window, true, code, time, true);
        t_echo.text += static_cast<wchar_t>(code & 0xFFFF);
    } else {
        if (twoBytes) {
            PostChar(t, window, false, (code >> 8) & 0xFF, time, true);
            t_echo.text += static_cast<wchar_t>((code >> 8) & 0xFF);
        }
        PostChar(t, window, false, code & 0xFF, time, true);
        t_echo.text += static_cast<wchar_t>(code & 0xFF);
    }
    t_echo.imePos = t_echo.text.size();
}

// The input method's messages, posted or sent.
void OnInputMethodMessage(HWND window, UINT message, WPARAM wp, LPARAM lp, DWORD time) {
    switch (message) {
        case WM_IME_STARTCOMPOSITION:
            OnComposing(window, zv::kHookComposingStart);
            break;
        case WM_IME_COMPOSITION:
            OnComposition(window, lp);
            break;
        case WM_IME_ENDCOMPOSITION:
            OnComposing(window, zv::kHookComposingEnd);
            break;
        case WM_IME_CHAR:
            OnImeChar(window, wp, time);
            break;
        default:
            break;
    }
}

}  // namespace

extern "C" {

__declspec(dllexport) LRESULT CALLBACK RkRecGetMessageProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE && t_depth == 0) {
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
            default:
                OnInputMethodMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam, msg.time);
                break;
        }
    }
    return CallNext(code, wp, lp);
}

// The input method's messages are mostly sent, not posted.
__declspec(dllexport) LRESULT CALLBACK RkRecCallWndProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && t_depth == 0) {
        const CWPSTRUCT& cwp = *reinterpret_cast<const CWPSTRUCT*>(lp);
        OnInputMethodMessage(cwp.hwnd, cwp.message, cwp.wParam, cwp.lParam, GetTickCount());
    }
    return CallNext(code, wp, lp);
}

__declspec(dllexport) BOOL RkRecIsArmed() {
    DWORD pid = 0;
    return zv::ArmedRecorderWindow(&pid) != nullptr;
}

}  // extern "C"
