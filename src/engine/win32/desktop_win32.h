// The engine's desktop on the real system: key and mouse input, windows, processes,
// clipboard, system parameters, sleep and clock.
#pragma once

#include <cstdint>

#include "engine/desktop.h"

namespace zv {

class Win32EngineDesktop : public IEngineDesktop {
public:
    // osMajor below 5 sends input through keybd_event / mouse_event; ntPlatform selects
    // the foreground switch with attached input.
    Win32EngineDesktop(int osMajor, bool ntPlatform) : osMajor_(osMajor), ntPlatform_(ntPlatform) {}

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
    bool SetClipboardText(const std::string& text) override;
    std::vector<std::uint32_t> ClipboardFormats() override;
    ClipboardRead ReadClipboardFormat(std::uint32_t format, std::size_t maxBytes) override;
    bool RestoreClipboardFormats(const std::vector<ClipboardFormatData>& formats) override;

    std::optional<std::uint32_t> ReadForegroundLockTimeoutRegistry() override;
    std::optional<std::uint32_t> ReadForegroundLockTimeoutSystem() override;

private:
    int osMajor_;
    bool ntPlatform_;
    unsigned long lastClipboardError_ = 0;
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
