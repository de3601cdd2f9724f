// RkEngine.exe: runs one RK macro file. The start-up sequence itself is portable
// (startup.cpp); this file supplies its Win32 host.
#include <windows.h>

#include "engine/app.h"
#include "common/folders.h"
#include "common/win32/msgbox.h"
#include "engine/startup.h"
#include "engine/win32/setting_dialog.h"
#include "engine/win32/status_dialog.h"
#include "common/win32/text.h"
#include "common/win32/window.h"
#include "common/win32/cmdline_win32.h"

namespace zv {
namespace {

OsVersion RealOsVersion() {
    // GetVersionEx reports what the manifest admits to; RtlGetVersion tells the truth.
    OsVersion v;
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto fn = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                                reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                          : nullptr;
    if (fn != nullptr && fn(&info) == 0) {
        v.major = static_cast<int>(info.dwMajorVersion);
        v.minor = static_cast<int>(info.dwMinorVersion);
        v.platformId = static_cast<int>(info.dwPlatformId);
    }
    return v;
}

class EngineHost : public IEngineStartupHost {
public:
    IFileSystem& FileSystem() override { return PlatformFileSystem(); }
    OsVersion QueryOsVersion() override { return RealOsVersion(); }
    void ShowMessage(const std::string& text) override { ShowMessageBox(text); }
    std::string GetAppDataFolder(bool create) override { return zv::GetAppDataFolder(create); }
    bool ActivateOpenSettingsDialog() override {
        HWND open = FindWindowWithProperty(ToWide(kSettingsDialogProperty).c_str());
        if (open == nullptr)
            return false;
        // The dialog belongs to another engine: restored without waiting for it.
        if (IsIconic(open))
            ShowWindowAsync(open, SW_RESTORE);
        SetForegroundWindow(open);
        return true;
    }
    void ShowSettingsDialog(CRkCaptureApp& app) override {
        IniProfile profile(PlatformFileSystem(), app.profilePath);
        RunSettingsDialog(app.settings, profile);
    }
    void ShowStatusWindow(CRkCaptureApp& app) override { RunStatusWindow(app); }
};

}  // namespace
}  // namespace zv

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    zv::SetMessageBoxCaption("RkEngine");
    zv::CRkCaptureApp app;
    zv::EngineHost host;
    zv::RunEngineStartup(zv::CommandLineAfterProgramName(), app, host);
    return static_cast<int>(zv::kEngineExitNormal);
}
