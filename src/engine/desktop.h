// The engine's view of the desktop: everything the runner and the six commands need
// from the system, as small operations. win32/ implements it with the real calls; the
// unit tests use a fake with a virtual clock that records every event.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/geometry.h"
#include "common/winconst.h"
#include "common/macrofile.h"

namespace zv {

using WindowHandle = std::uintptr_t;  // 0: no window
using ProcessId = std::uint32_t;      // 0: no process

// SPI_GETMOUSE's thresholds and acceleration and SPI_GETMOUSESPEED's speed.
struct MouseParams {
    int threshold1 = 0;
    int threshold2 = 0;
    int acceleration = 0;
    int speed = 10;
    bool operator==(const MouseParams&) const = default;
};

// One top-level window as the Z-order walk sees it.
struct TopLevelWindow {
    WindowHandle handle = 0;
    std::string caption;  // the whole title text, CP932
};

// One clipboard format saved as memory: its id and the bytes of its global block.
struct ClipboardFormatData {
    std::uint32_t format = 0;
    std::string bytes;
};

// One clipboard format asked for: its bytes when read, or why not.
struct ClipboardRead {
    enum class Status {
        Read,      // bytes hold the whole block
        TooLarge,  // the block is larger than asked for; size tells how large
        Missing,   // no data, or not a memory block
    };
    Status status = Status::Missing;
    std::size_t size = 0;
    std::string bytes;
};

// How long "%CLIP" waits for the clipboard's owner to render its text.
inline constexpr std::uint32_t kClipboardTextReadMs = 1000;

// A process started by LAUNCH; closes its thread and process handles when destroyed.
class IStartedProcess {
public:
    virtual ~IStartedProcess() = default;
    // WaitForInputIdle on the process handle: true when it reported idle (0).
    virtual bool WaitInputIdle(std::uint32_t timeoutMs) = 0;
    // GetExitCodeProcess: the code (kStillActive while running), nothing when it fails.
    virtual std::optional<std::uint32_t> ExitCode() = 0;
};

class IEngineDesktop : public IClipboardTextSource {
public:
    ~IEngineDesktop() override = default;

    // ---- time ----
    virtual void Sleep(std::uint32_t ms) = 0;
    virtual std::uint64_t TickMs() = 0;  // monotonic milliseconds

    // ---- keyboard and mouse ----
    // One key event through SendInput (extended-key flag added, scan code mapped), or
    // keybd_event on OS versions below 5 or when SendInput is missing.
    virtual void SendKeyEvent(std::uint32_t vk, std::uint32_t flags) = 0;
    // One key event through keybd_event directly (scan code 0), as TYPE's paste keys.
    virtual void SendLegacyKeyEvent(std::uint32_t vk, std::uint32_t flags) = 0;
    // One mouse event through SendInput, or mouse_event as above.
    virtual void SendMouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                std::int32_t data) = 0;
    virtual Point GetCursorPos() = 0;
    // Client coordinates of window to screen coordinates; nothing when it fails.
    virtual std::optional<Point> ClientToScreen(WindowHandle window, Point client) = 0;
    virtual MouseParams GetMouseParams() = 0;
    // Sets thresholds, acceleration and speed with SPIF_SENDCHANGE, not writing the profile.
    virtual void SetMouseParams(const MouseParams& params) = 0;

    // ---- windows ----
    virtual WindowHandle GetForegroundWindow() = 0;
    // The control with the keyboard focus in the foreground window's thread (input
    // attached for the read and detached again); 0 when none or when attaching fails.
    virtual WindowHandle GetForegroundFocusWindow() = 0;
    // Brings window to the foreground (restored first when minimised, input attached on
    // NT); false when refused.
    virtual bool ActivateWindow(WindowHandle window) = 0;
    // The top-level windows in Z order from the top (the desktop's first child on).
    virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;

    // ---- processes ----
    virtual ProcessId ProcessIdOfWindow(WindowHandle window) = 0;
    // OpenProcess + WaitForInputIdle: true only when the wait returned 0.
    virtual bool WaitProcessIdle(ProcessId pid, std::uint32_t timeoutMs) = 0;
    // CreateProcess with the command line as given (no application name, handles not
    // inherited, CREATE_NEW_PROCESS_GROUP, SW_SHOWDEFAULT); null when creation failed.
    virtual std::unique_ptr<IStartedProcess> StartProcess(const std::string& commandLine) = 0;

    // ---- clipboard ----
    // OpenClipboard with the desktop's own clipboard window (the owner of an offered text);
    // false when another program holds it.
    virtual bool OpenClipboard() = 0;
    virtual void CloseClipboard() = 0;
    // The system's text for the last error (after a failed OpenClipboard).
    virtual std::string LastErrorText() = 0;
    // With the clipboard open: the CF_TEXT data up to its zero byte, nothing when absent.
    virtual std::optional<std::string> GetClipboardText() = 0;
    // With the clipboard open: EmptyClipboard, the text offered as CF_UNICODETEXT and CF_TEXT
    // without data (the desktop's clipboard window renders it when a program asks for it),
    // and the given formats set at once beside it. False when the clipboard refused it.
    virtual bool OfferClipboardText(const std::string& text,
                                    const std::vector<ClipboardFormatData>& beside) = 0;
    // Waits up to timeoutMs for a program to ask for the offered text, and reports each
    // request once, in order: the process id of the window that had the clipboard open for
    // it (0 when it opened it without a window), or nothing when none came in time.
    virtual std::optional<ProcessId> WaitClipboardTextRequest(std::uint32_t timeoutMs) = 0;
    // RegisterClipboardFormat: the id of a named format, 0 when it cannot be registered.
    virtual std::uint32_t NamedClipboardFormat(const std::string& name) = 0;
    // With the clipboard open: GetClipboardSequenceNumber, which every change of the
    // content advances.
    virtual std::uint32_t ClipboardSequence() = 0;
    // With the clipboard open: the formats on it, in the order the system lists them
    // (the formats it would synthesise from others included).
    virtual std::vector<std::uint32_t> ClipboardFormats() = 0;
    // With the clipboard open: the data of a format as bytes, copied only when they are at
    // most maxBytes: a global memory block as it is; the metafile picture, the enhanced
    // metafile and the palette as their bits, in a form that RestoreClipboardFormats makes
    // the handle from again. Asking for a format that its owner renders on demand makes
    // the owner render it now, and waits for it however long it takes.
    virtual ClipboardRead ReadClipboardFormat(std::uint32_t format, std::size_t maxBytes) = 0;
    // With the clipboard open: EmptyClipboard and every saved format put back. The formats
    // that were put back; a format the system refused is left out.
    virtual std::vector<std::uint32_t> RestoreClipboardFormats(
        const std::vector<ClipboardFormatData>& formats) = 0;

    // ---- helper threads ----
    // Runs job on a thread of its own with a desktop for that thread and waits up to
    // timeoutMs for its end. False when it had not ended by then: it then goes on alone,
    // so it must own whatever it uses besides the desktop it is handed.
    virtual bool RunBounded(std::function<void(IEngineDesktop&)> job, std::uint32_t timeoutMs) = 0;

    // ---- system settings ----
    // "ForegroundLockTimeout" under HKCU\Control Panel\Desktop; nothing when unreadable.
    virtual std::optional<std::uint32_t> ReadForegroundLockTimeoutRegistry() = 0;
    // SPI_GETFOREGROUNDLOCKTIMEOUT; nothing when it fails.
    virtual std::optional<std::uint32_t> ReadForegroundLockTimeoutSystem() = 0;

    // "%CLIP": opens the clipboard once and reads its text, on a helper thread: an owner
    // that does not render it within kClipboardTextReadMs makes it unreadable.
    std::optional<std::string> ReadClipboardText() override {
        struct Read {
            std::mutex lock;
            std::optional<std::string> text;
        };
        auto read = std::make_shared<Read>();
        const bool ended = RunBounded(
            [read](IEngineDesktop& reader) {
                if (!reader.OpenClipboard())
                    return;
                std::optional<std::string> text = reader.GetClipboardText();
                reader.CloseClipboard();
                std::lock_guard<std::mutex> guard(read->lock);
                read->text = std::move(text);
            },
            kClipboardTextReadMs);
        std::lock_guard<std::mutex> guard(read->lock);
        return ended ? read->text : std::nullopt;
    }
};

}  // namespace zv
