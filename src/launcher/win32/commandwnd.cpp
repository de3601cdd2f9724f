#include "launcher/win32/commandwnd.h"

#include <shellapi.h>

#include "launcher/win32/aboutdlg.h"
#include "launcher/launcher_dialogs.h"
#include "launcher/win32/fglock_win32.h"
#include "launcher/win32/folderchoice.h"
#include "common/folders.h"
#include "launcher/win32/launcher_app.h"
#include "launcher/win32/launcher_resource.h"
#include "launcher/launcher_shell.h"
#include "launcher/win32/menubuild.h"
#include "launcher/win32/settingsdlgs.h"
#include "common/runprogram.h"
#include "common/win32/dpi.h"
#include "common/win32/runprogram_win32.h"
#include "common/win32/text.h"
#include "common/win32/filetime.h"

namespace zv {
namespace {

// Whether a key is down now. The thread's own key state counts too: right after a menu
// loop has taken the keyboard messages, some systems (Wine) report a stale asynchronous
// state while the thread's state already shows the key that is held.
bool KeyHeld(int vk) {
    return (GetAsyncKeyState(vk) & 0x8000) != 0 || (GetKeyState(vk) & 0x8000) != 0;
}

}  // namespace

bool ShellOpen(HWND owner, const std::string& target, int show) {
    const HINSTANCE r =
        ShellExecuteW(owner, L"open", ToWide(target).c_str(), nullptr, nullptr, show);
    return reinterpret_cast<INT_PTR>(r) >= 32;
}

int CCommandWnd::OnCreate(LPARAM) {
    HINSTANCE instance = app_.Instance();
    // The notification area shows small icons at the system's DPI.
    trayIcon_ = LoadIconForDpi(instance, IDI_TRAY, true, SystemDpi());
    LoadMenuMarks(SystemDpi());
    const std::wstring tip = LoadResourceString(IDS_PRODUCT_VERSION);
    NotifyIcon(NIM_ADD, trayIcon_.Get(), &tip);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    RegisterMacroHotkey();
    SetPropW(hwnd_, kInstanceMarker, reinterpret_cast<HANDLE>(1));
    Win32ForegroundLock lock;
    restoreForegroundLock_ = LowerForegroundLockTimeout(lock, app_.Profile(), app_);
    // The first scan reads every macro file; it runs once start-up is done and the
    // message loop reaches it, not on the first press.
    PostMessageW(hwnd_, UM_WARM_CATALOGUE, 0, 0);
    return 0;
}

void CCommandWnd::OnDestroy() {
    if (hotkeyRegistered_) {
        UnregisterHotKey(hwnd_, kHotkeyId);
        hotkeyRegistered_ = false;
    }
    RemovePropW(hwnd_, kInstanceMarker);
    if (restoreForegroundLock_) {
        Win32ForegroundLock lock;
        RestoreForegroundLockTimeout(lock, app_.Profile(), app_);
        restoreForegroundLock_ = false;
    }
    NotifyIcon(NIM_DELETE, nullptr, nullptr);
    macroBitmap_.Reset();
    targetBitmap_.Reset();
    trayIcon_.Reset();
    PostQuitMessage(0);
}

void CCommandWnd::RegisterMacroHotkey() {
    if (hotkeyRegistered_) {
        UnregisterHotKey(hwnd_, kHotkeyId);
        hotkeyRegistered_ = false;
    }
    const LauncherSettings& s = app_.settings;
    hotkeyRegistered_ = RegisterHotKey(hwnd_, kHotkeyId, s.hotkeyMod, s.hotkey) != FALSE;
    if (!hotkeyRegistered_) {
        const DWORD error = GetLastError();
        app_.ShowMessage(HotkeyNotRegisteredMessage(s.hotkeyMod, s.hotkey, SystemErrorText(error)));
    }
}

void CCommandWnd::LoadMenuMarks(UINT dpi) {
    macroBitmap_.Reset(LoadBitmapForDpi(app_.Instance(), IDB_MACRO_ITEM, dpi));
    targetBitmap_.Reset(LoadBitmapForDpi(app_.Instance(), IDB_MACRO_TARGET, dpi));
    marksDpi_ = dpi;
}

void CCommandWnd::ShowMacroMenu() {
    if (menuOpen_)
        return;  // a hotkey press while the menu is open changes nothing
    HWND front = GetForegroundWindow();
    if (front != nullptr)
        targetCaption_ = TargetCaptionOf(ReadCaptionNonBlocking(front));
    menuModel_ = ScanCatalogue();
    if (menuModel_.maximumReached)
        MessageBeep(0);

    UniqueMenu loaded(LoadMenuW(app_.Instance(), MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
    if (!loaded)
        return;
    HMENU menu = GetSubMenu(loaded.Get(), 0);
    // The menu opens at the pointer: its marks in the image set of that monitor's DPI.
    POINT at{};
    GetCursorPos(&at);
    if (const UINT dpi = DpiAtPoint(at); dpi != marksDpi_)
        LoadMenuMarks(dpi);
    InsertMacroMenuItems(menu, menuModel_.items, macroBitmap_.Get(), targetBitmap_.Get());

    SetForegroundWindow(hwnd_);
    POINT pt{};
    GetCursorPos(&pt);
    SetForegroundWindow(hwnd_);
    // While this window is in front, the hotkey's own key messages come to this thread,
    // and the hotkey message (posted) is taken before them: its Alt key-down would reach
    // the menu's loop and close the menu at once.
    MSG pending;
    while (PeekMessageW(&pending, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    menuOpen_ = true;
    TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
    menuOpen_ = false;
    // The chosen command arrives before this message; when it comes, the user's window
    // gets the keyboard back (the command reads Ctrl and Shift while we are in front).
    returnFocusTo_ = front != hwnd_ ? front : nullptr;
    PostMessageW(hwnd_, UM_MENU_CLOSED, 0, 0);
    // The loaded menu and its submenus go now; the entries stay for the command.
}

MacroMenuModel CCommandWnd::ScanCatalogue() {
    const LauncherSettings& s = app_.settings;
    return CMacroCatalogue(PlatformFileSystem(), targetCaption_, s.macroDirDepth, s.macroFileMax)
        .Build(s.macroTopPath, catalogue_, FileTimeNow());
}

void CCommandWnd::OnTrayMenu() {
    POINT pt{};
    GetCursorPos(&pt);
    UniqueMenu loaded(LoadMenuW(app_.Instance(), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
    if (!loaded)
        return;
    SetForegroundWindow(hwnd_);
    TrackPopupMenu(GetSubMenu(loaded.Get(), 0), TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, UM_MENU_CLOSED, 0, 0);
}

void CCommandWnd::OnTrayClick() {
    SetForegroundWindow(hwnd_);
}

void CCommandWnd::OnTrayDoubleClick() {
    SetForegroundWindow(hwnd_);
}

bool CCommandWnd::Execute(const LaunchAction& action) {
    bool ok = false;
    if (action.kind == LaunchAction::Kind::ShellOpen) {
        ok = ShellOpen(hwnd_, action.target, action.show);
    } else if (action.watchedMacro.empty()) {
        ok = RunProgram(action.target, action.show);
    } else {
        UniqueHandle process = StartProgram(action.target, action.show);
        ok = static_cast<bool>(process);
        if (ok)
            engines_.Watch(hwnd_, std::move(process), action.watchedMacro);
    }
    if (!ok)
        app_.ShowMessage(action.failureMessage);
    return ok;
}

void CCommandWnd::OnEngineEnded(WPARAM number) {
    const std::optional<CEngineWatch::Ended> ended = engines_.TakeEnded(number);
    if (!ended)
        return;
    Win32ModifierKeyboard keyboard;
    HandleEngineEnd(ended->macroPath, ended->exitCode, keyboard, PlatformFileSystem(),
                    RunLogPath(GetAppDataFolder(false)), CurrentLocalTime());
}

void CCommandWnd::OnMacroCommand(UINT id) {
    const MacroMenuEntry* entry = FindMacroEntry(menuModel_, static_cast<int>(id));
    if (entry == nullptr)
        return;
    const bool ctrl = KeyHeld(VK_CONTROL);
    const bool shift = KeyHeld(VK_SHIFT);
    const LaunchAction action = MacroCommandAction(GetProgramFolder(), entry->path, ctrl, shift);
    if (!action.returnsKeyboard) {
        // The editor or the file's own program comes up in front of the user's window:
        // no hand-back, and leave it the right to take the foreground from us.
        returnFocusTo_ = nullptr;
        AllowSetForegroundWindow(ASFW_ANY);
    }
    Execute(action);
}

void CCommandWnd::OnShowLog() {
    const std::string path = RunLogPath(GetAppDataFolder(false));
    if (ShellOpen(hwnd_, path, kShowNormal))
        return;
    if (RunProgram(NotepadCommandLine(path), kShowDefault))
        return;
    app_.ShowMessage(LogOpenFailedMessage());
}

void CCommandWnd::OnEditor() {
    if (KeyHeld(VK_SHIFT)) {
        ShellOpen(hwnd_, app_.settings.macroTopPath, kShowNormal);  // no message on failure
        return;
    }
    Execute(PlainProgramAction(GetProgramFolder(), kEditorExe));
}

void CCommandWnd::OnReadme() {
    OpenDocument(ReadmeAddress(GetProgramFolderUtf8()));
}

void CCommandWnd::OnAbout() {
    if (aboutOpen_)
        return;
    aboutOpen_ = true;
    CAboutDlg dialog(app_.Instance(), GetProgramFolder(), app_);
    const bool closing = dialog.Run(hwnd_);
    aboutOpen_ = false;
    if (closing)
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void CCommandWnd::OnChooseMacroFolder() {
    if (folderChoiceOpen_)
        return;
    folderChoiceOpen_ = true;
    const std::optional<std::string> chosen =
        ChooseMacroFolder(hwnd_, app_.Instance(), app_.settings.macroTopPath);
    if (chosen) {
        app_.Profile().WriteString(kLauncherSection, kKeyMacroTopPath, *chosen);
        PostMessageW(hwnd_, UM_SETTINGS_CHANGED, 0, 0);
    }
    folderChoiceOpen_ = false;
}

void CCommandWnd::OnHotkeyDialog() {
    if (hotkeyDialogOpen_)
        return;
    hotkeyDialogOpen_ = true;
    CHotkeySetDlg dialog(app_.Instance(), app_.settings.hotkeyMod, app_.settings.hotkey);
    if (dialog.DoModal(hwnd_) == IDOK) {
        WriteHotkeyIfChanged(app_.Profile(), dialog.Modifiers(), dialog.Key());
        PostMessageW(hwnd_, UM_SETTINGS_CHANGED, 0, 0);
    }
    hotkeyDialogOpen_ = false;
}

void CCommandWnd::OnPropertyDialog() {
    if (propertyDialogOpen_)
        return;
    propertyDialogOpen_ = true;
    // The dialog reads a copy: a settings change while it is open cannot pull the
    // settings from under it.
    const LauncherSettings settings = app_.settings;
    CPropertyDlg dialog(app_.Instance(), settings, app_.Profile());
    if (dialog.DoModal(hwnd_) == IDOK) {
        WriteHotkeyIfChanged(app_.Profile(), dialog.Modifiers(), dialog.Key());
        PostMessageW(hwnd_, UM_SETTINGS_CHANGED, 0, 0);
    }
    propertyDialogOpen_ = false;
}

void CCommandWnd::OnSettingsChanged() {
    app_.LoadSettings();
    RegisterMacroHotkey();
    PostMessageW(hwnd_, UM_WARM_CATALOGUE, 0, 0);  // the folder may be another one now
}

void CCommandWnd::OnCommand(UINT id, UINT code) {
    // Only a macro hands the keyboard back to the user's window; the menu's own commands
    // open windows of their own (a modal dialog would dispatch the hand-back meanwhile).
    if (id >= ID_CMD_HOTKEY)
        returnFocusTo_ = nullptr;
    switch (id) {
        case ID_TRAY_SHOW_LOG:
            OnShowLog();
            break;
        case ID_TRAY_EDITOR:
            OnEditor();
            break;
        case ID_TRAY_ENGINE_PROPERTY:
            Execute(PlainProgramAction(GetProgramFolder(), kEngineExe));
            break;
        case ID_TRAY_README:
            OnReadme();
            break;
        case ID_TRAY_ABOUT:
            OnAbout();
            break;
        case ID_TRAY_EXIT:
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            break;
        case ID_CMD_MACRO_PATH:
            OnChooseMacroFolder();
            break;
        case ID_CMD_HOTKEY:
            OnHotkeyDialog();
            break;
        case ID_TRAY_PROPERTY:
            OnPropertyDialog();
            break;
        default:
            if (code == 0)
                OnMacroCommand(id);  // macro items; ids outside the range are ignored
            break;
    }
}

LRESULT CCommandWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate(lp);
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_HOTKEY:
            ShowMacroMenu();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case UM_MENU_CLOSED:
            // After the hotkey menu: a chosen macro starts where the user was working, and
            // a dismissed menu leaves no hidden window in front.
            if (returnFocusTo_ != nullptr && IsWindow(returnFocusTo_))
                SetForegroundWindow(returnFocusTo_);
            returnFocusTo_ = nullptr;
            return 0;
        case WM_SYSCOMMAND:
            // The hidden window has no menu: releasing Alt after the hotkey (its Z went to
            // the hotkey) must not put it in menu mode, which would swallow the next press.
            if ((wp & 0xFFF0) == SC_KEYMENU)
                return 0;
            break;
        case WM_ENDSESSION:
            // Logging off ends the launcher as "exit" would, so the user's timeout returns.
            if (wp)
                DestroyWindow(hwnd_);
            return 0;
        default:
            break;
    }
    if (msg == UM_SETTINGS_CHANGED) {
        OnSettingsChanged();
        return 0;
    }
    if (msg == UM_ENGINE_ENDED) {
        OnEngineEnded(wp);
        return 0;
    }
    if (msg == UM_WARM_CATALOGUE) {
        ScanCatalogue();  // read ahead of the next press
        return 0;
    }
    if (taskbarCreated_ != 0 && msg == taskbarCreated_) {
        const std::wstring tip = LoadResourceString(IDS_PRODUCT_VERSION);
        NotifyIcon(NIM_ADD, trayIcon_.Get(), &tip);
        return 0;
    }
    return CTrayWnd::WindowProc(msg, wp, lp);
}

}  // namespace zv
