#include "editor/win32/recorder_win32.h"

#include <utility>

#include "common/dpi.h"
#include "common/folders.h"
#include "common/strutil.h"
#include "common/win32/text.h"
#include "editor/recorder_keys.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

constexpr UINT_PTR kStatusTimer = 1;
constexpr UINT kStatusMs = 500;
constexpr UINT_PTR kStopTimer = 2;
// After the stop, characters the programs are still taking reach the recorder.
constexpr UINT kStopGraceMs = 300;
// Posted by the low-level keyboard hook: the stop key (wParam: its time).
constexpr UINT kStopMessage = WM_APP + 0x5D;
constexpr int kBarMargin = 16;  // from the work area's corner, at 96 DPI
constexpr COLORREF kMarkColour = RGB(220, 0, 0);

// One UTF-16 unit as a CP932 character; empty when CP932 has none for it. The second
// half of a surrogate pair gives nothing more: the first half already counted.
bool CharFromUnit(wchar_t unit, std::string& text) {
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return false;
    text.clear();
    if (unit >= 0xD800 && unit <= 0xDBFF)
        return true;
    char bytes[4] = {};
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes,
                                      sizeof bytes, nullptr, &lossy);
    if (n > 0 && !lossy)
        text.assign(bytes, static_cast<std::size_t>(n));
    return true;
}

RecButton ButtonOf(WPARAM msg, const MSLLHOOKSTRUCT& info) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return RecButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return RecButton::Middle;
        case WM_XBUTTONDOWN:
        case WM_XBUTTONUP:
            return HIWORD(info.mouseData) == XBUTTON2 ? RecButton::X2 : RecButton::X1;
        default:
            return RecButton::Left;
    }
}

}  // namespace

CMacroRecorder* CMacroRecorder::active_ = nullptr;

CMacroRecorder::CMacroRecorder() : CDialog(IDD_RECORD_BAR) {}

CMacroRecorder::~CMacroRecorder() {
    Uninstall();
    events_.clear();
    if (module_ != nullptr)
        FreeLibrary(module_);
}

bool CMacroRecorder::Start(HWND editor, const RecorderOptions& options, Finished finished,
                           std::string* message) {
    if (recording_ || active_ != nullptr)
        return false;
    if (module_ == nullptr) {
        const std::wstring path = ToWide(GetProgramFolder()) + kRecHookDll;
        module_ = LoadLibraryW(path.c_str());
        if (module_ == nullptr) {
            *message = StrPrintf(kMsgRecordHookMissing, SystemErrorText(GetLastError()).c_str());
            return false;
        }
    }
    const auto getMessage = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(module_, kRecHookGetMessageProc)));
    const auto callWnd = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(module_, kRecHookCallWndProc)));
    const auto arm = reinterpret_cast<RecHookArmFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, kRecHookArm)));
    disarm_ = reinterpret_cast<RecHookDisarmFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, kRecHookDisarm)));
    if (getMessage == nullptr || callWnd == nullptr || arm == nullptr || disarm_ == nullptr) {
        *message = StrPrintf(kMsgRecordHookMissing, SystemErrorText(ERROR_PROC_NOT_FOUND).c_str());
        return false;
    }
    if (hwnd_ == nullptr && !Create(nullptr)) {
        *message = StrPrintf(kMsgRecordHookFailed, SystemErrorText(GetLastError()).c_str());
        return false;
    }

    options_ = options;
    finished_ = std::move(finished);
    editor_ = editor;
    events_.clear();
    active_ = this;
    HINSTANCE self = GetModuleHandleW(nullptr);
    mouseHook_ = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, self, 0);
    keyboardHook_ = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, self, 0);
    messageHook_ = SetWindowsHookExW(WH_GETMESSAGE, getMessage, module_, 0);
    callHook_ = SetWindowsHookExW(WH_CALLWNDPROC, callWnd, module_, 0);
    if (mouseHook_ == nullptr || keyboardHook_ == nullptr || messageHook_ == nullptr ||
        callHook_ == nullptr) {
        const DWORD error = GetLastError();
        Uninstall();
        *message = StrPrintf(kMsgRecordHookFailed, SystemErrorText(error).c_str());
        return false;
    }

    // Nothing is captured before the bar shows.
    ShowWindow(editor_, SW_HIDE);
    Place();
    started_ = GetTickCount();
    UpdateStatus();
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    recording_ = true;
    stopping_ = false;
    arm(hwnd_);
    SetTimer(hwnd_, kStatusTimer, kStatusMs, nullptr);
    return true;
}

void CMacroRecorder::Uninstall() {
    if (disarm_ != nullptr)
        disarm_();  // first: no program passes anything on from here
    for (HHOOK* hook : {&messageHook_, &callHook_, &mouseHook_, &keyboardHook_}) {
        if (*hook != nullptr) {
            UnhookWindowsHookEx(*hook);
            *hook = nullptr;
        }
    }
    if (hwnd_ != nullptr) {
        KillTimer(hwnd_, kStatusTimer);
        KillTimer(hwnd_, kStopTimer);
    }
    if (active_ == this)
        active_ = nullptr;
    recording_ = false;
}

void CMacroRecorder::Place() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT bar{};
    GetWindowRect(hwnd_, &bar);
    const int margin = ScaleForDpi(kBarMargin, static_cast<int>(Dpi()));
    SetWindowPos(hwnd_, nullptr, work.right - (bar.right - bar.left) - margin, work.top + margin, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMacroRecorder::UpdateStatus() {
    SetItemText(IDC_RECORD_STATUS, RecordingBarStatus(GetTickCount() - started_));
}

BOOL CMacroRecorder::OnInitDialog() {
    return FALSE;  // the bar never takes the focus
}

RecWindow CMacroRecorder::WindowInfo(HWND root) const {
    RecWindow w;
    if (root == nullptr)
        return w;
    w.id = reinterpret_cast<std::uintptr_t>(root);
    DWORD pid = 0;
    GetWindowThreadProcessId(root, &pid);
    w.own = pid == GetCurrentProcessId();
    if (!w.own) {
        // Another process's caption is read without a message to it.
        wchar_t caption[512] = {};
        const int n = GetWindowTextW(root, caption, 512);
        w.caption = FromWide(std::wstring_view(caption, n > 0 ? static_cast<std::size_t>(n) : 0));
    }
    POINT origin{0, 0};
    ClientToScreen(root, &origin);
    w.clientOrigin = {origin.x, origin.y};
    return w;
}

void CMacroRecorder::Add(RecEvent event) {
    if (!recording_)
        return;
    event.foreground = WindowInfo(GetForegroundWindow());
    events_.push_back(std::move(event));
}

void CMacroRecorder::OnHookMessage(WPARAM wp, LPARAM lp) {
    const std::optional<HookEvent> hook = UnpackHookEvent(static_cast<std::uint64_t>(wp));
    if (!hook)
        return;
    RecEvent e;
    e.time = hook->time;
    e.modifiers = hook->flags & kRecModifierMask;
    e.menuMode = (hook->flags & kHookMenuMode) != 0;
    e.window = WindowInfo(reinterpret_cast<HWND>(lp));
    switch (hook->kind) {
        case HookEventKind::KeyDown:
        case HookEventKind::KeyUp:
            e.kind = hook->kind == HookEventKind::KeyDown ? RecEvent::Kind::KeyDown
                                                          : RecEvent::Kind::KeyUp;
            e.key = hook->code;
            break;
        case HookEventKind::Char:
            e.kind = RecEvent::Kind::Char;
            if (!CharFromUnit(static_cast<wchar_t>(hook->code), e.text))
                return;
            break;
        case HookEventKind::PasswordChar:
            e.kind = RecEvent::Kind::PasswordChar;
            break;
    }
    Add(std::move(e));
}

void CMacroRecorder::OnMouse(WPARAM msg, const MSLLHOOKSTRUCT& info) {
    RecEvent e;
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            e.kind = RecEvent::Kind::ButtonDown;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            e.kind = RecEvent::Kind::ButtonUp;
            break;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            e.kind = RecEvent::Kind::Wheel;
            e.wheelDelta = static_cast<short>(HIWORD(info.mouseData));
            e.horizontal = msg == WM_MOUSEHWHEEL;
            break;
        default:
            return;  // moves: a drag is its press and its release
    }
    e.time = info.time;
    e.button = ButtonOf(msg, info);
    e.point = {info.pt.x, info.pt.y};
    e.window = WindowInfo(GetAncestor(WindowFromPoint(info.pt), GA_ROOT));
    Add(std::move(e));
}

void CMacroRecorder::RequestStop(DWORD time) {
    if (!recording_ || stopping_)
        return;
    stopping_ = true;
    RecEvent stop;
    stop.kind = RecEvent::Kind::Stop;
    stop.time = time;
    Add(std::move(stop));
    EnableWindow(Item(IDC_RECORD_STOP), FALSE);
    SetTimer(hwnd_, kStopTimer, kStopGraceMs, nullptr);
}

void CMacroRecorder::StopNow() {
    if (!recording_)
        return;
    RequestStop(GetTickCount());
    Finish();
}

void CMacroRecorder::Finish() {
    if (!recording_)
        return;
    Uninstall();
    ShowWindow(hwnd_, SW_HIDE);
    EnableWindow(Item(IDC_RECORD_STOP), TRUE);
    Recording recording = TranslateRecording(std::exchange(events_, {}), options_);

    // The editor comes back in front.
    ShowWindow(editor_, SW_SHOW);
    HWND front = GetForegroundWindow();
    const DWORD self = GetCurrentThreadId();
    const DWORD other = front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
    const bool attached = other != 0 && other != self && AttachThreadInput(self, other, TRUE);
    SetForegroundWindow(editor_);
    if (attached)
        AttachThreadInput(self, other, FALSE);

    if (finished_)
        finished_(std::move(recording));
}

bool CMacroRecorder::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_RECORD_STOP && code == BN_CLICKED) {
        RequestStop(static_cast<DWORD>(GetMessageTime()));
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

INT_PTR CMacroRecorder::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case kRecHookMessage:
            OnHookMessage(wp, lp);
            return TRUE;
        case kStopMessage:
            RequestStop(static_cast<DWORD>(wp));
            return TRUE;
        case WM_TIMER:
            if (wp == kStatusTimer)
                UpdateStatus();
            else if (wp == kStopTimer)
                Finish();
            return TRUE;
        case WM_MOUSEACTIVATE:
            return SetMessageResult(MA_NOACTIVATE);  // a click on the bar leaves the focus
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lp) == Item(IDC_RECORD_MARK)) {
                HDC dc = reinterpret_cast<HDC>(wp);
                SetTextColor(dc, kMarkColour);
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        default:
            return CDialog::DialogProc(msg, wp, lp);
    }
}

LRESULT CALLBACK CMacroRecorder::MouseProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && active_ != nullptr)
        active_->OnMouse(wp, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lp));
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The stop key is swallowed, so no program sees it.
LRESULT CALLBACK CMacroRecorder::KeyboardProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && active_ != nullptr) {
        const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
        if (RoleOfKey(key.vkCode, 0, false) == KeyRole::Stop) {
            if (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN)
                PostMessageW(active_->hwnd_, kStopMessage, key.time, 0);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace zv
