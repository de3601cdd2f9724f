// CCommandWnd: the launcher's hidden main window. It owns the global hotkey and the
// hotkey menu, receives the commands of both menus and stands behind the tray icon.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/handles.h"
#include "launcher/catalogue.h"
#include "launcher/launcher_commands.h"
#include "launcher/win32/enginewatch.h"
#include "launcher/win32/traywnd.h"

namespace zv {

class CRkHotkeyApp;

inline constexpr int kHotkeyId = 1;

// Posted to itself after a pop-up menu closes; it arrives after the chosen command.
inline constexpr UINT UM_MENU_CLOSED = WM_USER;
// Posted to itself: read the macro folder ahead of the next press.
inline constexpr UINT UM_WARM_CATALOGUE = WM_APP + 2;
// Posted to itself by the system's wait thread: an engine it started has ended (first
// parameter: the engine's number in the watch).
inline constexpr UINT UM_ENGINE_ENDED = WM_APP + 3;

class CCommandWnd : public CTrayWnd {
public:
    explicit CCommandWnd(CRkHotkeyApp& app) : app_(app) {}

    // (Re)registers the hotkey from the current settings; reports a refusal.
    void RegisterMacroHotkey();
    // Builds the hotkey menu from the macro folder and tracks it at the mouse pointer.
    void ShowMacroMenu();
    // Scans the macro folder for the window caption of the last press, keeping what it
    // read for the next scan, and returns the menu's model.
    MacroMenuModel ScanCatalogue();

    void OnTrayMenu() override;
    void OnTrayClick() override;
    void OnTrayDoubleClick() override;

    bool HotkeyRegistered() const { return hotkeyRegistered_; }
    const MacroMenuModel& MenuModel() const { return menuModel_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The two menu-item bitmaps in the image set of dpi.
    void LoadMenuMarks(UINT dpi);
    int OnCreate(LPARAM lp);
    void OnDestroy();
    void OnCommand(UINT id, UINT code);
    void OnMacroCommand(UINT id);
    void OnShowLog();
    void OnEditor();
    void OnReadme();
    void OnAbout();
    void OnChooseMacroFolder();
    void OnHotkeyDialog();
    void OnPropertyDialog();
    void OnSettingsChanged();
    // An engine started for a macro has ended: after a cut-off, let go of the modifier
    // keys it may have left down and say so in the run log.
    void OnEngineEnded(WPARAM number);
    // Starts a program or opens a document; shows its failure message.
    bool Execute(const LaunchAction& action);

    CRkHotkeyApp& app_;
    UniqueIcon trayIcon_;
    UniqueBitmap macroBitmap_;
    UniqueBitmap targetBitmap_;
    UINT marksDpi_ = 0;  // the DPI the two bitmaps were loaded for
    UINT taskbarCreated_ = 0;
    std::string targetCaption_;
    bool restoreForegroundLock_ = false;
    bool hotkeyRegistered_ = false;
    bool menuOpen_ = false;
    bool aboutOpen_ = false;
    bool folderChoiceOpen_ = false;
    bool hotkeyDialogOpen_ = false;
    bool propertyDialogOpen_ = false;
    HWND returnFocusTo_ = nullptr;  // the window in front when the hotkey menu was called
    MacroMenuModel menuModel_;
    MacroHeaderCache catalogue_;             // macro file headers kept from one press to the next
    CEngineWatch engines_{UM_ENGINE_ENDED};  // engines started for macros, until they end
};

// ShellExecute with the "open" verb; true when the shell accepted it (result 32 or more).
bool ShellOpen(HWND owner, const std::string& target, int show);

}  // namespace zv
