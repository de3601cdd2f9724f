#include "launcher/win32/launcher_app.h"

#include <ole2.h>

#include <clocale>

#include "launcher/win32/commandwnd.h"
#include "common/folders.h"
#include "launcher/launcher_shell.h"
#include "common/win32/msgbox.h"
#include "launcher/win32/splashwnd.h"
#include "common/win32/window.h"
#include "common/win32/osversion.h"

namespace zv {

CRkHotkeyApp::CRkHotkeyApp() {
    std::setlocale(LC_ALL, "Japanese");
    SetMessageBoxCaption("Zorvane");
}

CRkHotkeyApp::~CRkHotkeyApp() {
    if (mutex_)
        ReleaseMutex(mutex_.Get());
    if (oleInitialized_)
        OleUninitialize();
}

bool ActivateRunningInstance() {
    HWND running = FindWindowWithProperty(kInstanceMarker);
    if (running == nullptr)
        return false;
    SetForegroundWindow(running);
    return true;
}

void CRkHotkeyApp::UseProfile(const std::string& path) {
    profile_ = std::make_unique<IniProfile>(PlatformFileSystem(), path);
}

bool CRkHotkeyApp::InitInstance(HINSTANCE instance) {
    instance_ = instance;
    mutex_.Reset(CreateMutexW(nullptr, TRUE, kInstanceMarker));
    if (!mutex_ || GetLastError() == ERROR_ALREADY_EXISTS) {
        ActivateRunningInstance();
        return false;
    }
    oleInitialized_ = SUCCEEDED(OleInitialize(nullptr));  // the folder browser needs it

    UseProfile(GetAppDataFolder(true) + std::string(kConfigFileName));
    LoadSettings();

    osMajor = ReportedOsMajorVersion();

    CCommandWnd* window = new CCommandWnd(*this);
    if (!window->CreateTrayWindow(instance)) {
        delete window;  // a failed creation leaves it with its creator
        return false;
    }
    mainWindow_ = window->GetSafeHwnd();

    if (settings.splashShowSec > 0) {
        if (!IsIconic(mainWindow_)) {
            splash = CSplashWnd::Create(instance, osMajor);
            if (splash != nullptr) {
                UpdateWindow(splash);
                SetTimer(splash, CSplashWnd::kTimerId, CSplashWnd::kTimerMs, nullptr);
            }
        }
        splashStartTick = GetTickCount();
    }
    return true;
}

void CRkHotkeyApp::LoadSettings() {
    settings = zv::LoadSettings(*profile_, *this);
}

IFileSystem& CRkHotkeyApp::FileSystem() {
    return PlatformFileSystem();
}

std::string CRkHotkeyApp::ProgramFolder() {
    return GetProgramFolder();
}

void CRkHotkeyApp::ShowMessage(const std::string& text) {
    ShowMessageBox(text);
}

void CRkHotkeyApp::DestroySplash() {
    if (splash == nullptr)
        return;
    DestroyWindow(splash);
    splash = nullptr;
    if (mainWindow_ != nullptr && IsWindow(mainWindow_))
        UpdateWindow(mainWindow_);
}

bool CRkHotkeyApp::PreTranslateMessage(const MSG& msg) {
    if (splash != nullptr && IsSplashDismissInput(msg.message)) {
        DestroySplash();
        return true;
    }
    return false;
}

void CRkHotkeyApp::OnIdle() {
    if (splash != nullptr && SplashExpired(GetTickCount(), splashStartTick, settings.splashShowSec))
        DestroySplash();
}

int CRkHotkeyApp::Run() {
    MSG msg;
    for (;;) {
        // Idle work once whenever the queue runs empty; the splash timer wakes the loop
        // twice a second while the splash is up.
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            OnIdle();
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroySplash();
    return static_cast<int>(msg.wParam);
}

}  // namespace zv
