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
// How long the program in front has to show that it takes messages at the end.
constexpr UINT kRespondMs = 200;
// Posted by the low-level keyboard hook: the stop key (wParam: its time).
constexpr UINT kStopMessage = WM_APP + 0x5D;
constexpr int kBarMargin = 16;  // from the work area's corner, at 96 DPI
constexpr COLORREF kMarkColour = RGB(220, 0, 0);

// One character as CP932; empty when CP932 has none for it.
std::string CharText(wchar_t unit) {
    char bytes[4] = {};
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes,
                                      sizeof bytes, nullptr, &lossy);
    return n > 0 && !lossy ? std::string(bytes, static_cast<std::size_t>(n)) : std::string();
}

std::string ClassOf(HWND window) {
    wchar_t cls[256] = {};
    const int n = GetClassNameW(window, cls, 256);
    return FromWide(std::wstring_view(cls, n > 0 ? static_cast<std::size_t>(n) : 0));
}

// A window handle from its 32 significant bits (sign-extended, as the system does).
HWND FromHandle32(std::uint32_t handle) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(handle)));
}

std::uint64_t IdOf(HWND window) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window));
}

DWORD IntegrityOf(HANDLE token) {
    BYTE buffer[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_MANDATORY_LABEL)] = {};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size))
        return 0;
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer);
    const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
    return count > 0 ? *GetSidSubAuthority(label->Label.Sid, count - 1u) : 0;
}

DWORD OwnIntegrity() {
    static const DWORD level = [] {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return DWORD{0};
        const DWORD l = IntegrityOf(token);
        CloseHandle(token);
        return l;
    }();
    return level;
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
    DWORD error = 0;
    switch (arm_.Open(&error)) {
        case CRecArm::Result::Ok:
            break;
        case CRecArm::Result::Busy:
            *message = kMsgRecordingElsewhere;
            return false;
        case CRecArm::Result::Failed:
            *message = StrPrintf(kMsgRecordStateFailed, SystemErrorText(error).c_str());
            return false;
    }
    if (module_ == nullptr) {
        const std::wstring path = ToWide(GetProgramFolder()) + kRecHookDll;
        module_ = LoadLibraryW(path.c_str());
        if (module_ == nullptr) {
            *message = StrPrintf(kMsgRecordHookMissing, SystemErrorText(GetLastError()).c_str());
            arm_.Close();
            return false;
        }
    }
    const auto getMessage = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(module_, kRecHookGetMessageProc)));
    const auto callWnd = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(module_, kRecHookCallWndProc)));
    if (getMessage == nullptr || callWnd == nullptr) {
        *message = StrPrintf(kMsgRecordHookMissing, SystemErrorText(ERROR_PROC_NOT_FOUND).c_str());
        arm_.Close();
        return false;
    }
    if (hwnd_ == nullptr && !Create(nullptr)) {
        *message = StrPrintf(kMsgRecordHookFailed, SystemErrorText(GetLastError()).c_str());
        arm_.Close();
        return false;
    }

    options_ = options;
    finished_ = std::move(finished);
    editor_ = editor;
    events_.clear();
    eventsNoticed_ = 0;
    notice_.clear();
    SetItemText(IDC_RECORD_NOTICE, "");
    ShowNotice(false);
    reach_.clear();
    highSurrogate_ = 0;
    front_ = nullptr;
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
    arm_.Arm(hwnd_);
    NoteFront();
    SetTimer(hwnd_, kStatusTimer, kStatusMs, nullptr);
    return true;
}

void CMacroRecorder::Uninstall() {
    arm_.Close();  // first: no program passes anything on from here
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

void CMacroRecorder::UpdateNotice() {
    if (events_.size() == eventsNoticed_)
        return;
    eventsNoticed_ = events_.size();
    const std::string notice = RecordingBarNotice(TranslateRecording(events_, options_));
    if (notice == notice_)
        return;
    notice_ = notice;
    SetItemText(IDC_RECORD_NOTICE, notice_);
    ShowNotice(!notice_.empty());
}

void CMacroRecorder::ShowNotice(bool show) {
    ShowWindow(Item(IDC_RECORD_NOTICE), show ? SW_SHOWNOACTIVATE : SW_HIDE);
    RECT bar{};
    GetWindowRect(hwnd_, &bar);
    SetWindowPos(hwnd_, nullptr, 0, 0, bar.right - bar.left, show ? barHeight_ : shortHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CMacroRecorder::OnInitDialog() {
    // The template holds the notice line at the bottom: without a notice the bar ends
    // where that line begins.
    RECT bar{};
    RECT client{};
    RECT notice{};
    GetWindowRect(hwnd_, &bar);
    GetClientRect(hwnd_, &client);
    GetWindowRect(Item(IDC_RECORD_NOTICE), &notice);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&notice), 2);
    barHeight_ = bar.bottom - bar.top;
    shortHeight_ = barHeight_ - (client.bottom - notice.top);
    return FALSE;  // the bar never takes the focus
}

RecReach ReachOfProcess(DWORD pid) {
    if (pid == GetCurrentProcessId())
        return RecReach::Hooked;
    RecReach reach = RecReach::Hooked;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        // Only a program above the editor's level keeps even this from it.
        return GetLastError() == ERROR_ACCESS_DENIED ? RecReach::Elevated : RecReach::Hooked;
    }
    BOOL wow64 = FALSE;
    if (IsWow64Process(process, &wow64) && wow64)
        reach = RecReach::Bits32;  // the editor and its hook are 64-bit
    HANDLE token = nullptr;
    if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
        DWORD container = 0;
        DWORD size = 0;
        if (GetTokenInformation(token, TokenIsAppContainer, &container, sizeof container, &size) &&
            container != 0)
            reach = RecReach::AppContainer;
        if (IntegrityOf(token) > OwnIntegrity())
            reach = RecReach::Elevated;
        CloseHandle(token);
    } else if (GetLastError() == ERROR_ACCESS_DENIED) {
        reach = RecReach::Elevated;
    }
    CloseHandle(process);
    return reach;
}

RecReach CMacroRecorder::ReachOf(DWORD pid) {
    const auto known = reach_.find(pid);
    if (known != reach_.end())
        return known->second;
    const RecReach reach = ReachOfProcess(pid);
    reach_.emplace(pid, reach);
    return reach;
}

RecWindow CMacroRecorder::WindowInfo(HWND root) {
    RecWindow w;
    if (root == nullptr || !IsWindow(root))
        return w;
    w.id = IdOf(root);
    DWORD pid = 0;
    GetWindowThreadProcessId(root, &pid);
    w.own = pid == GetCurrentProcessId();
    if (!w.own) {
        w.caption = ReadCaptionNonBlocking(root);
        w.className = ClassOf(root);
        w.reach = ReachOf(pid);
    }
    POINT origin{0, 0};
    ClientToScreen(root, &origin);
    w.clientOrigin = {origin.x, origin.y};
    return w;
}

void CMacroRecorder::Add(RecEvent event) {
    if (!recording_)
        return;
    if (event.foreground.id == 0)
        event.foreground = WindowInfo(GetForegroundWindow());
    events_.push_back(std::move(event));
}

void CMacroRecorder::NoteFront() {
    HWND front = GetForegroundWindow();
    if (!recording_ || front == front_)
        return;
    front_ = front;
    RecEvent e;
    e.kind = RecEvent::Kind::Front;
    e.time = GetTickCount();
    e.foreground = WindowInfo(front);
    if (e.foreground.id != 0)
        Add(std::move(e));
}

void CMacroRecorder::OnHookMessage(WPARAM wp, LPARAM lp) {
    const std::optional<HookEvent> hook = UnpackHookEvent(static_cast<std::uint64_t>(wp));
    if (!hook)
        return;
    const HookWindows windows = UnpackHookWindows(static_cast<std::uint64_t>(lp));
    RecEvent e;
    e.time = hook->time;
    e.modifiers = hook->flags & kRecModifierMask;
    e.menuMode = (hook->flags & kHookMenuMode) != 0;
    e.field = HookFieldOf(hook->flags);
    e.fieldId = IdOf(FromHandle32(windows.field));
    e.window = WindowInfo(FromHandle32(windows.root));
    if (e.window.id == 0)  // the window is gone: its handle still tells windows apart
        e.window.id = IdOf(FromHandle32(windows.root));
    switch (hook->kind) {
        case HookEventKind::KeyDown:
        case HookEventKind::KeyUp:
            e.kind = hook->kind == HookEventKind::KeyDown ? RecEvent::Kind::KeyDown
                                                          : RecEvent::Kind::KeyUp;
            e.key = hook->code;
            break;
        case HookEventKind::Char:
        case HookEventKind::ResultChar: {
            e.kind = RecEvent::Kind::Char;
            e.composed = hook->kind == HookEventKind::ResultChar;
            const auto unit = static_cast<wchar_t>(hook->code);
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                highSurrogate_ = unit;  // the character is whole with its second half
                highField_ = e.fieldId;
                return;
            }
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                if (highSurrogate_ == 0 || highField_ != e.fieldId)
                    return;
                e.codePoint = 0x10000u +
                              ((static_cast<std::uint32_t>(highSurrogate_) - 0xD800u) << 10) +
                              (static_cast<std::uint32_t>(unit) - 0xDC00u);
                highSurrogate_ = 0;
                break;  // CP932 has nothing beyond the first plane
            }
            highSurrogate_ = 0;
            e.text = CharText(unit);
            if (e.text.empty())
                e.codePoint = unit;
            break;
        }
        case HookEventKind::PasswordChar:
            e.kind = RecEvent::Kind::PasswordChar;
            break;
        case HookEventKind::Composing:
            e.kind = RecEvent::Kind::Composing;
            e.composing = static_cast<HookComposing>(hook->code);
            break;
    }
    Add(std::move(e));
}

void CMacroRecorder::OnKey(WPARAM msg, const KBDLLHOOKSTRUCT& info) {
    NoteFront();
    RecEvent e;
    e.kind = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN ? RecEvent::Kind::RawKeyDown
                                                       : RecEvent::Kind::RawKeyUp;
    e.key = info.vkCode;
    e.time = info.time;
    e.foreground = WindowInfo(GetForegroundWindow());
    e.window = e.foreground;
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
    NoteFront();
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

    // The editor comes back in front. Its input is joined with the program in front for
    // that only while that program takes its messages: joined with one that does not,
    // the change of focus would wait for it.
    ShowWindow(editor_, SW_SHOW);
    HWND front = GetForegroundWindow();
    const DWORD self = GetCurrentThreadId();
    const DWORD other = front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
    DWORD_PTR ignored = 0;
    const bool responds = other != 0 && other != self && !IsHungAppWindow(front) &&
                          SendMessageTimeoutW(front, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                              kRespondMs, &ignored) != 0;
    const bool attached = responds && AttachThreadInput(self, other, TRUE);
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
            if (wp == kStatusTimer) {
                UpdateStatus();
                NoteFront();
                UpdateNotice();
            } else if (wp == kStopTimer)
                Finish();
            return TRUE;
        case WM_MOUSEACTIVATE:
            return SetMessageResult(MA_NOACTIVATE);  // a click on the bar leaves the focus
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lp) == Item(IDC_RECORD_MARK) ||
                reinterpret_cast<HWND>(lp) == Item(IDC_RECORD_NOTICE)) {
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

// Every key as the keyboard pressed it, with the window in front at that moment. The
// stop key is swallowed, so no program sees it.
LRESULT CALLBACK CMacroRecorder::KeyboardProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && active_ != nullptr) {
        const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
        if (RoleOfKey(key.vkCode, 0, false) == KeyRole::Stop) {
            if (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN)
                PostMessageW(active_->hwnd_, kStopMessage, key.time, 0);
            return 1;
        }
        active_->OnKey(wp, key);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace zv
