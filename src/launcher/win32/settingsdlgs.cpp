#include "launcher/win32/settingsdlgs.h"

#include <commctrl.h>

#include "common/folders.h"
#include "launcher/launcher_dialogs.h"
#include "launcher/win32/folderchoice.h"

namespace zv {

CHotkeyFieldsDlg::CHotkeyFieldsDlg(UINT templateId, HINSTANCE instance, std::uint8_t modifiers,
                                   std::uint8_t key)
    : CDialog(templateId, instance), modifiers_(modifiers), key_(key) {}

void CHotkeyFieldsDlg::InitHotkeyFields() {
    SetDialogIcon(IDR_MAINFRAME);
    const HotkeyModifierChecks checks = ModifierChecksFromBits(modifiers_);
    CheckDlgButton(hwnd_, IDC_MOD_ALT, checks.alt ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_MOD_CTRL, checks.ctrl ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_MOD_SHIFT, checks.shift ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_MOD_WIN, checks.win ? BST_CHECKED : BST_UNCHECKED);
    keyField_.SubclassDlgItem(IDC_HOTKEY_KEY, hwnd_);
    keyField_.SetKey(key_);
}

void CHotkeyFieldsDlg::ReadHotkeyFields() {
    HotkeyModifierChecks checks;
    checks.alt = IsDlgButtonChecked(hwnd_, IDC_MOD_ALT) == BST_CHECKED;
    checks.ctrl = IsDlgButtonChecked(hwnd_, IDC_MOD_CTRL) == BST_CHECKED;
    checks.shift = IsDlgButtonChecked(hwnd_, IDC_MOD_SHIFT) == BST_CHECKED;
    checks.win = IsDlgButtonChecked(hwnd_, IDC_MOD_WIN) == BST_CHECKED;
    modifiers_ = ModifierBits(checks);
    key_ = keyField_.Key();
}

BOOL CHotkeySetDlg::OnInitDialog() {
    InitHotkeyFields();
    return TRUE;
}

void CHotkeySetDlg::OnOK() {
    ReadHotkeyFields();
    EndDialog(IDOK);
}

CPropertyDlg::CPropertyDlg(HINSTANCE instance, const LauncherSettings& settings, IProfile& profile)
    : CHotkeyFieldsDlg(IDD_PROPERTY, instance, settings.hotkeyMod, settings.hotkey),
      settings_(settings),
      profile_(profile),
      path_(settings.macroTopPath) {}

void CPropertyDlg::ShowPath() {
    SetItemText(IDC_MACRO_PATH, path_);
    const LPARAM end = GetWindowTextLengthW(Item(IDC_MACRO_PATH));
    SendDlgItemMessageW(hwnd_, IDC_MACRO_PATH, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendDlgItemMessageW(hwnd_, IDC_MACRO_PATH, EM_SCROLLCARET, 0, 0);
}

BOOL CPropertyDlg::OnInitDialog() {
    InitHotkeyFields();
    SendDlgItemMessageW(hwnd_, IDC_MACRO_FILE_MAX_SPIN, UDM_SETRANGE32, kMacroFileMaxMin,
                        kMacroFileMaxMax);
    SendDlgItemMessageW(hwnd_, IDC_MACRO_DIR_DEPTH_SPIN, UDM_SETRANGE32, kMacroDirDepthMin,
                        kMacroDirDepthMax);
    SetItemText(IDC_MACRO_FILE_MAX, std::to_string(settings_.macroFileMax));
    SetItemText(IDC_MACRO_DIR_DEPTH, std::to_string(settings_.macroDirDepth));
    maxField_.SubclassDlgItem(IDC_MACRO_FILE_MAX, hwnd_);
    depthField_.SubclassDlgItem(IDC_MACRO_DIR_DEPTH, hwnd_);
    browse_.Attach(IDC_MACRO_PATH_BROWSE, hwnd_, Instance(), IDB_BROWSE_UP, IDB_BROWSE_DOWN,
                   IDB_BROWSE_FOCUS, IDB_BROWSE_DISABLED);
    browse_.SizeToContent();
    // The path field has the focus with the caret at its end, so a long path shows its
    // last folders (the dialog manager's own focus would select it all).
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_MACRO_PATH)), TRUE);
    ShowPath();
    return FALSE;
}

void CPropertyDlg::OnBrowse() {
    // Starts at the folder of the settings, not at the field. Only the path changes: what
    // was typed into the other fields stays.
    const std::optional<std::string> chosen =
        ChooseMacroFolder(hwnd_, Instance(), settings_.macroTopPath);
    if (!chosen)
        return;
    path_ = *chosen;
    ShowPath();
}

void CPropertyDlg::OnOK() {
    const PropertyFieldsCheck check =
        CheckPropertyFields(ItemText(IDC_MACRO_FILE_MAX), ItemText(IDC_MACRO_DIR_DEPTH));
    if (!check.ok) {
        ReportBadField(
            check.field == PropertyField::MacroFileMax ? IDC_MACRO_FILE_MAX : IDC_MACRO_DIR_DEPTH,
            check.message);
        return;
    }
    ReadHotkeyFields();
    WritePropertySettings(profile_, path_, check.macroFileMax, check.macroDirDepth);
    EndDialog(IDOK);
}

bool CPropertyDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
        case IDC_MACRO_PATH_BROWSE:
            OnBrowse();
            return true;
        case IDHELP:
            OpenSuiteHelp(kHelpProperty);
            return true;
        default:
            return CHotkeyFieldsDlg::OnCommand(id, code, control);
    }
}

}  // namespace zv
