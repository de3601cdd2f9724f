// The engine's desktop on the real system: key and mouse input, windows, processes,
// clipboard, system parameters, sleep and clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "engine/desktop.h"

namespace zv {

class ClipboardOwnerWindow;

class Win32EngineDesktop : public IEngineDesktop {
public:
    // osMajor below 5 sends input through keybd_event / mouse_event; ntPlatform selects
    // the foreground switch with attached input.
    Win32EngineDesktop(int osMajor, bool ntPlatform);
    // Ends the clipboard window's thread: a text offered and not rendered goes with it.
    ~Win32EngineDesktop() override;
    Win32EngineDesktop(const Win32EngineDesktop&) = delete;
    Win32EngineDesktop& operator=(const Win32EngineDesktop&) = delete;

    void Sleep(std::uint32_t ms) override;
    std::uint64_t TickMs() override;

    void SendKeyEvent(std::uint32_t vk, std::uint32_t flags) override;
    void SendLegacyKeyEvent(std::uint32_t vk, std::uint32_t flags) override;
    void SendMouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                        std::int32_t data) override;
    Point GetCursorPos() override;
    std::optional<Point> ClientToScreen(WindowHandle window, Point client) override;
    MouseParams GetMouseParams() override;
    void SetMouseParams(const MouseParams& params) override;

    WindowHandle GetForegroundWindow() override;
    WindowHandle GetForegroundFocusWindow() override;
    bool ActivateWindow(WindowHandle window) override;
    std::vector<TopLevelWindow> TopLevelWindows() override;

    ProcessId ProcessIdOfWindow(WindowHandle window) override;
    bool WaitProcessIdle(ProcessId pid, std::uint32_t timeoutMs) override;
    std::unique_ptr<IStartedProcess> StartProcess(const std::string& commandLine) override;

    bool OpenClipboard() override;
    void CloseClipboard() override;
    std::string LastErrorText() override;
    std::optional<std::string> GetClipboardText() override;
    bool OfferClipboardText(const std::string& text,
                            const std::vector<ClipboardFormatData>& beside) override;
    std::optional<ProcessId> WaitClipboardTextRequest(std::uint32_t timeoutMs) override;
    std::uint32_t NamedClipboardFormat(const std::string& name) override;
    std::uint32_t ClipboardSequence() override;
    std::vector<std::uint32_t> ClipboardFormats() override;
    ClipboardRead ReadClipboardFormat(std::uint32_t format, std::size_t maxBytes) override;
    std::vector<std::uint32_t> RestoreClipboardFormats(
        const std::vector<ClipboardFormatData>& formats) override;

    bool RunBounded(std::function<void(IEngineDesktop&)> job, std::uint32_t timeoutMs) override;

    std::optional<std::uint32_t> ReadForegroundLockTimeoutRegistry() override;
    std::optional<std::uint32_t> ReadForegroundLockTimeoutSystem() override;

private:
    // The clipboard window, made on first use; null when it cannot be made (the clipboard
    // is then opened without a window, and an offered text is never rendered).
    ClipboardOwnerWindow* OwnerWindow();

    int osMajor_;
    bool ntPlatform_;
    std::atomic<unsigned long> lastClipboardError_{0};
    std::mutex ownerLock_;
    std::unique_ptr<ClipboardOwnerWindow> owner_;
    bool ownerTried_ = false;
};

// Raises the system timer resolution to 1 ms while it lives, so that short sleeps last
// what they ask for instead of a whole scheduler tick (about 15.6 ms by default).
class ScopedTimerResolution {
public:
    ScopedTimerResolution();
    ~ScopedTimerResolution();
    ScopedTimerResolution(const ScopedTimerResolution&) = delete;
    ScopedTimerResolution& operator=(const ScopedTimerResolution&) = delete;
    bool Active() const { return active_; }

private:
    bool active_ = false;
};

}  // namespace zv
