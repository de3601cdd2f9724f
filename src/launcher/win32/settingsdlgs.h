// The launcher's two settings dialogs: CHotkeySetDlg (the hotkey alone) and CPropertyDlg
// (macro folder, file maximum, search depth and the hotkey). Their rules live in
// launcher/launcher_dialogs.h; these classes show the fields and run the buttons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/profile.h"
#include "common/win32/bitmapbutton.h"
#include "common/win32/dialog.h"
#include "common/win32/mnedit.h"
#include "launcher/launcher_settings.h"
#include "launcher/win32/keyinctrl.h"
#include "launcher/win32/launcher_resource.h"

namespace zv {

// What both dialogs share: the program icon, the four modifier boxes and the key field.
class CHotkeyFieldsDlg : public CDialog {
public:
    // The hotkey as confirmed by OK (the initial one until then).
    std::uint8_t Modifiers() const { return modifiers_; }
    std::uint8_t Key() const { return key_; }

protected:
    CHotkeyFieldsDlg(UINT templateId, HINSTANCE instance, std::uint8_t modifiers, std::uint8_t key);
    void InitHotkeyFields();
    void ReadHotkeyFields();

private:
    std::uint8_t modifiers_;
    std::uint8_t key_;
    launcher::CKeyInCtrl keyField_;
};

class CHotkeySetDlg : public CHotkeyFieldsDlg {
public:
    CHotkeySetDlg(HINSTANCE instance, std::uint8_t modifiers, std::uint8_t key)
        : CHotkeyFieldsDlg(IDD_HOTKEY_SET, instance, modifiers, key) {}

private:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

class CPropertyDlg : public CHotkeyFieldsDlg {
public:
    // Shows settings; OK writes the three catalogue keys through profile (the caller
    // writes the hotkey). The browse button starts at settings' macro folder.
    CPropertyDlg(HINSTANCE instance, const LauncherSettings& settings, IProfile& profile);

private:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;
    void ShowPath();
    void OnBrowse();

    const LauncherSettings& settings_;
    IProfile& profile_;
    std::string path_;
    CMnEdit maxField_;
    CMnEdit depthField_;
    CBitmapButton browse_;
};

}  // namespace zv
