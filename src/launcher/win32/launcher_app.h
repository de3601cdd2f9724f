// CRkHotkeyApp: the launcher's process-wide state and its life from start-up through
// the message loop to exit.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "launcher/launcher_host.h"
#include "launcher/launcher_settings.h"
#include "common/profile.h"
#include "common/win32/handles.h"

namespace zv {

// Name of the single-instance mutex and of the property that marks the command window.
inline constexpr wchar_t kInstanceMarker[] = L"__RKHOTKEY_APPL_MUTEX__";

class CRkHotkeyApp : public ILauncherHost {
public:
    CRkHotkeyApp();
    ~CRkHotkeyApp() override;
    CRkHotkeyApp(const CRkHotkeyApp&) = delete;
    CRkHotkeyApp& operator=(const CRkHotkeyApp&) = delete;

    // Start-up; false when the process is to end at once (a second instance).
    bool InitInstance(HINSTANCE instance);
    // The message loop; returns the exit code.
    int Run();

    // Re-reads "ZorvaneSettings" into settings (may show the macro folder messages).
    void LoadSettings();
    // Uses the configuration file at path from now on.
    void UseProfile(const std::string& path);

    IProfile& Profile() { return *profile_; }
    HINSTANCE Instance() const { return instance_; }

    // ILauncherHost
    IFileSystem& FileSystem() override;
    std::string ProgramFolder() override;
    void ShowMessage(const std::string& text) override;

    LauncherSettings settings;
    int osMajor = 0;
    DWORD splashStartTick = 0;
    HWND splash = nullptr;

private:
    bool PreTranslateMessage(const MSG& msg);
    void OnIdle();
    void DestroySplash();

    HINSTANCE instance_ = nullptr;
    UniqueHandle mutex_;
    std::unique_ptr<IniProfile> profile_;
    HWND mainWindow_ = nullptr;
    bool oleInitialized_ = false;
};

// Brings the window of a running launcher forward: the first top-level window that
// carries the instance marker. False when there is none.
bool ActivateRunningInstance();

}  // namespace zv
