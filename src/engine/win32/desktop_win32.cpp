#include "engine/win32/desktop_win32.h"

#include "common/win32/fglock_read.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstring>
#include <deque>
#include <system_error>
#include <thread>

#include "common/win32/globalblock.h"
#include "common/win32/text.h"
#include "common/win32/window.h"

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

// A metafile picture saved as bytes: its header, then the metafile's bits.
struct MetafilePictHeader {
    std::int32_t mm;
    std::int32_t xExt;
    std::int32_t yExt;
};

// The bytes of a clipboard format whose data is a handle that GDI can copy as bits (the
// metafile picture, the enhanced metafile, the palette); Missing for any other handle.
ClipboardRead ReadHandleBits(UINT format, HANDLE data, std::size_t maxBytes) {
    ClipboardRead read;
    std::string header;
    std::size_t size = 0;
    HMETAFILE metafile = nullptr;
    switch (format) {
        case CF_ENHMETAFILE:
            size = GetEnhMetaFileBits(static_cast<HENHMETAFILE>(data), 0, nullptr);
            break;
        case CF_METAFILEPICT: {
            const auto* pict = static_cast<const METAFILEPICT*>(GlobalLock(data));
            if (pict == nullptr)
                return read;
            const MetafilePictHeader h{static_cast<std::int32_t>(pict->mm),
                                       static_cast<std::int32_t>(pict->xExt),
                                       static_cast<std::int32_t>(pict->yExt)};
            metafile = pict->hMF;
            GlobalUnlock(data);
            header.assign(reinterpret_cast<const char*>(&h), sizeof h);
            size = GetMetaFileBitsEx(metafile, 0, nullptr);
            break;
        }
        case CF_PALETTE:
            size = GetPaletteEntries(static_cast<HPALETTE>(data), 0, 0, nullptr) *
                   sizeof(PALETTEENTRY);
            break;
        default:
            return read;
    }
    if (size == 0)
        return read;
    read.size = header.size() + size;
    if (read.size > maxBytes) {
        read.status = ClipboardRead::Status::TooLarge;
        return read;
    }
    read.bytes = header;
    read.bytes.resize(read.size);
    void* bits = read.bytes.data() + header.size();
    UINT got = 0;
    if (format == CF_ENHMETAFILE) {
        got = GetEnhMetaFileBits(static_cast<HENHMETAFILE>(data), static_cast<UINT>(size),
                                 static_cast<BYTE*>(bits));
    } else if (format == CF_METAFILEPICT) {
        got = GetMetaFileBitsEx(metafile, static_cast<UINT>(size), bits);
    } else {
        got = GetPaletteEntries(static_cast<HPALETTE>(data), 0,
                                static_cast<UINT>(size / sizeof(PALETTEENTRY)),
                                static_cast<PALETTEENTRY*>(bits));
    }
    if (got == 0) {
        read.bytes.clear();
        return read;
    }
    read.status = ClipboardRead::Status::Read;
    return read;
}

// Makes the handle of a metafile picture, an enhanced metafile or a palette from the bytes
// ReadHandleBits gave and hands it to the clipboard; false when GDI or the clipboard
// refused it (nothing is left behind then).
bool PutHandleBits(UINT format, const std::string& bytes) {
    switch (format) {
        case CF_ENHMETAFILE: {
            HENHMETAFILE emf = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()),
                                                  reinterpret_cast<const BYTE*>(bytes.data()));
            if (emf == nullptr)
                return false;
            if (SetClipboardData(CF_ENHMETAFILE, emf) == nullptr) {
                DeleteEnhMetaFile(emf);
                return false;
            }
            return true;
        }
        case CF_METAFILEPICT: {
            if (bytes.size() <= sizeof(MetafilePictHeader))
                return false;
            MetafilePictHeader h;
            std::memcpy(&h, bytes.data(), sizeof h);
            HMETAFILE wmf =
                SetMetaFileBitsEx(static_cast<UINT>(bytes.size() - sizeof h),
                                  reinterpret_cast<const BYTE*>(bytes.data() + sizeof h));
            if (wmf == nullptr)
                return false;
            const METAFILEPICT pict{h.mm, h.xExt, h.yExt, wmf};
            HGLOBAL block = NewGlobalBlock(&pict, sizeof pict);
            if (block == nullptr || SetClipboardData(CF_METAFILEPICT, block) == nullptr) {
                if (block != nullptr)
                    GlobalFree(block);
                DeleteMetaFile(wmf);
                return false;
            }
            return true;
        }
        case CF_PALETTE: {
            const std::size_t count = bytes.size() / sizeof(PALETTEENTRY);
            if (count == 0 || count > 0xFFFF)
                return false;
            std::string buffer(offsetof(LOGPALETTE, palPalEntry) + bytes.size(), '\0');
            auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
            log->palVersion = 0x300;
            log->palNumEntries = static_cast<WORD>(count);
            std::memcpy(log->palPalEntry, bytes.data(), count * sizeof(PALETTEENTRY));
            HPALETTE palette = CreatePalette(log);
            if (palette == nullptr)
                return false;
            if (SetClipboardData(CF_PALETTE, palette) == nullptr) {
                DeleteObject(palette);
                return false;
            }
            return true;
        }
        default:
            return PutClipboardBlock(format, NewGlobalBlock(bytes.data(), bytes.size()));
    }
}

// Overwrites a text before its memory is given back: a typed text may be a password.
template <typename Text>
void Wipe(Text& text) {
    SecureZeroMemory(text.data(), text.size() * sizeof(text[0]));
    text.clear();
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

// The engine's clipboard window, on a thread of its own that does nothing but answer the
// clipboard's messages: it owns what the engine puts on the clipboard, renders the offered
// text when a program asks for it (noting which process asked) and forgets the text when
// the clipboard is emptied. It never renders the text on its way out, so that a typed
// text that nobody asked for does not outlive the engine.
class ClipboardOwnerWindow {
public:
    ClipboardOwnerWindow()
        : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          requested_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (ready_ == nullptr || requested_ == nullptr)
            return;
        try {
            thread_ = std::thread([this] { Main(); });
        } catch (const std::system_error&) {
            return;
        }
        WaitForSingleObject(ready_, INFINITE);
    }
    ~ClipboardOwnerWindow() {
        if (window_ != nullptr)
            PostMessageW(window_, WM_CLOSE, 0, 0);
        if (thread_.joinable())
            thread_.join();
        Wipe(narrow_);
        Wipe(wide_);
        if (ready_ != nullptr)
            CloseHandle(ready_);
        if (requested_ != nullptr)
            CloseHandle(requested_);
    }
    ClipboardOwnerWindow(const ClipboardOwnerWindow&) = delete;
    ClipboardOwnerWindow& operator=(const ClipboardOwnerWindow&) = delete;

    HWND Handle() const { return window_; }

    // The text to render from now on; requests of an earlier offer are forgotten.
    void Offer(const std::string& text) {
        std::lock_guard<std::mutex> guard(lock_);
        Wipe(narrow_);
        Wipe(wide_);
        narrow_ = text;
        wide_ = ToWide(text);
        offered_ = true;
        requests_.clear();
        ResetEvent(requested_);
    }

    std::optional<ProcessId> WaitRequest(std::uint32_t timeoutMs) {
        const ULONGLONG until = GetTickCount64() + timeoutMs;
        for (;;) {
            {
                std::lock_guard<std::mutex> guard(lock_);
                if (!requests_.empty()) {
                    const ProcessId asked = requests_.front();
                    requests_.pop_front();
                    return asked;
                }
                ResetEvent(requested_);
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= until)
                return std::nullopt;
            WaitForSingleObject(requested_, static_cast<DWORD>(until - now));
        }
    }

private:
    class Window : public CWnd {
    public:
        explicit Window(ClipboardOwnerWindow& owner) : owner_(owner) {}

    protected:
        LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
            switch (msg) {
                case WM_RENDERFORMAT:
                    owner_.Render(static_cast<UINT>(wp));
                    return 0;
                case WM_DESTROYCLIPBOARD:
                    owner_.Forget();
                    return 0;
                case WM_RENDERALLFORMATS:
                    return 0;
                case WM_DESTROY:
                    PostQuitMessage(0);
                    return 0;
                default:
                    return Default(msg, wp, lp);
            }
        }

    private:
        ClipboardOwnerWindow& owner_;
    };

    void Main() {
        Window window(*this);
        if (window.CreateEx(0, L"ZvEngineClipboard", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr))) {
            window_ = window.GetSafeHwnd();
        }
        SetEvent(ready_);
        if (window_ == nullptr)
            return;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
    }

    // A program asked for the offered text in one of its two forms: hand it over while
    // that program holds the clipboard open, and note who it is.
    void Render(UINT format) {
        std::lock_guard<std::mutex> guard(lock_);
        if (!offered_ || (format != CF_UNICODETEXT && format != CF_TEXT))
            return;
        HGLOBAL block = format == CF_UNICODETEXT
                            ? NewGlobalBlock(wide_.c_str(), (wide_.size() + 1) * sizeof(wchar_t))
                            : NewGlobalBlock(narrow_.c_str(), narrow_.size() + 1);
        PutClipboardBlock(format, block);
        DWORD pid = 0;
        if (HWND opener = GetOpenClipboardWindow(); opener != nullptr)
            GetWindowThreadProcessId(opener, &pid);
        requests_.push_back(pid);
        SetEvent(requested_);
    }

    void Forget() {
        std::lock_guard<std::mutex> guard(lock_);
        offered_ = false;
        Wipe(narrow_);
        Wipe(wide_);
    }

    HANDLE ready_;
    HANDLE requested_;
    std::thread thread_;
    HWND window_ = nullptr;
    std::mutex lock_;
    bool offered_ = false;
    std::string narrow_;
    std::wstring wide_;
    std::deque<ProcessId> requests_;
};

Win32EngineDesktop::Win32EngineDesktop(int osMajor, bool ntPlatform)
    : osMajor_(osMajor), ntPlatform_(ntPlatform) {}

Win32EngineDesktop::~Win32EngineDesktop() = default;

ClipboardOwnerWindow* Win32EngineDesktop::OwnerWindow() {
    std::lock_guard<std::mutex> guard(ownerLock_);
    if (!ownerTried_) {
        ownerTried_ = true;
        auto window = std::make_unique<ClipboardOwnerWindow>();
        if (window->Handle() != nullptr)
            owner_ = std::move(window);
    }
    return owner_.get();
}

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
    ClipboardOwnerWindow* owner = OwnerWindow();
    if (::OpenClipboard(owner != nullptr ? owner->Handle() : nullptr))
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

bool Win32EngineDesktop::OfferClipboardText(const std::string& text,
                                            const std::vector<ClipboardFormatData>& beside) {
    if (!EmptyClipboard())
        return false;
    bool ok = false;
    if (ClipboardOwnerWindow* owner = OwnerWindow(); owner != nullptr) {
        // Emptying told the window to forget an earlier text: the new one comes after.
        owner->Offer(text);
        SetClipboardData(CF_UNICODETEXT, nullptr);
        SetClipboardData(CF_TEXT, nullptr);
        ok = IsClipboardFormatAvailable(CF_UNICODETEXT) && IsClipboardFormatAvailable(CF_TEXT);
    } else {
        // No window to render it: the text itself, CF_TEXT with the CP932 bytes and the
        // same text as CF_UNICODETEXT, so that a Unicode target pastes it right whatever
        // the system code page is.
        const std::wstring wide = ToWide(text);
        ok = PutClipboardBlock(CF_TEXT, NewGlobalBlock(text.c_str(), text.size() + 1)) &&
             PutClipboardBlock(CF_UNICODETEXT,
                               NewGlobalBlock(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
    }
    for (const ClipboardFormatData& f : beside)
        PutClipboardBlock(f.format, NewGlobalBlock(f.bytes.data(), f.bytes.size()));
    return ok;
}

std::optional<ProcessId> Win32EngineDesktop::WaitClipboardTextRequest(std::uint32_t timeoutMs) {
    ClipboardOwnerWindow* owner = OwnerWindow();
    if (owner == nullptr)
        return std::nullopt;  // the text was put as it is: nobody asks for it
    return owner->WaitRequest(timeoutMs);
}

std::uint32_t Win32EngineDesktop::NamedClipboardFormat(const std::string& name) {
    return ::RegisterClipboardFormatW(ToWide(name).c_str());
}

std::uint32_t Win32EngineDesktop::ClipboardSequence() {
    return GetClipboardSequenceNumber();
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
    if (format == CF_ENHMETAFILE || format == CF_METAFILEPICT || format == CF_PALETTE)
        return ReadHandleBits(format, data, maxBytes);
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

std::vector<std::uint32_t> Win32EngineDesktop::RestoreClipboardFormats(
    const std::vector<ClipboardFormatData>& formats) {
    std::vector<std::uint32_t> back;
    if (!EmptyClipboard())
        return back;
    for (const ClipboardFormatData& f : formats) {
        if (PutHandleBits(f.format, f.bytes))
            back.push_back(f.format);
    }
    return back;
}

// ---- helper threads ----

bool Win32EngineDesktop::RunBounded(std::function<void(IEngineDesktop&)> job,
                                    std::uint32_t timeoutMs) {
    // What the thread holds: it may end long after this call returned.
    struct Bounded {
        Bounded(std::function<void(IEngineDesktop&)> j, int osMajor, bool nt)
            : job(std::move(j)),
              desktop(osMajor, nt),
              done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
        ~Bounded() {
            if (done != nullptr)
                CloseHandle(done);
        }
        std::function<void(IEngineDesktop&)> job;
        Win32EngineDesktop desktop;
        HANDLE done;
    };
    auto bounded = std::make_shared<Bounded>(std::move(job), osMajor_, ntPlatform_);
    if (bounded->done == nullptr)
        return false;
    bounded->desktop.ownerTried_ = true;  // it opens the clipboard without a window
    try {
        std::thread([bounded] {
            bounded->job(bounded->desktop);
            SetEvent(bounded->done);
        }).detach();
    } catch (const std::system_error&) {
        return false;
    }
    return WaitForSingleObject(bounded->done, timeoutMs) == WAIT_OBJECT_0;
}

// ---- system settings ----

std::optional<std::uint32_t> Win32EngineDesktop::ReadForegroundLockTimeoutRegistry() {
    return zv::ReadForegroundLockTimeoutRegistry();
}

std::optional<std::uint32_t> Win32EngineDesktop::ReadForegroundLockTimeoutSystem() {
    return zv::ReadForegroundLockTimeoutSystem();
}

}  // namespace zv
