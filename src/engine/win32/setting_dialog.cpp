#include "engine/win32/setting_dialog.h"

#include <commctrl.h>

#include "common/folders.h"
#include "common/win32/text.h"
#include "engine/startup.h"
#include "engine/win32/resource.h"

namespace zv {
namespace {

const std::wstring& DialogProperty() {
    static const std::wstring name = ToWide(kSettingsDialogProperty);
    return name;
}

std::int32_t DoubleClickTime() {
    return static_cast<std::int32_t>(GetDoubleClickTime());
}

}  // namespace

CSettingDlg::CSettingDlg(const EngineSettings& settings, IProfile& profile, HINSTANCE instance)
    : CDialog(IDD_SETTING_DIALOG, instance), settings_(settings), profile_(profile) {}

int CSettingDlg::FieldId(SettingRow row) {
    return IDC_SETTING_FIRST + 2 * static_cast<int>(row);
}

int CSettingDlg::SpinId(SettingRow row) {
    return FieldId(row) + 1;
}

void CSettingDlg::ShowFields(const SettingsFields& fields) {
    for (std::size_t i = 0; i < kSettingRowCount; ++i)
        SetItemText(FieldId(static_cast<SettingRow>(i)), fields.rows[i]);
    CheckDlgButton(hwnd_, IDC_MOUSE_MOVE_REAL, fields.mouseMoveReal ? BST_CHECKED : BST_UNCHECKED);
}

BOOL CSettingDlg::OnInitDialog() {
    for (std::size_t i = 0; i < kSettingRowCount; ++i) {
        if (kSettingRows[i].digitsOnly)
            numeric_[i].SubclassDlgItem(FieldId(static_cast<SettingRow>(i)), hwnd_);
    }
    ShowFields(SettingsToFields(settings_));
    SetPropW(hwnd_, DialogProperty().c_str(), reinterpret_cast<HANDLE>(1));
    SetDialogIcon(IDI_PROGRAM);
    const std::int32_t doubleClick = DoubleClickTime();
    for (std::size_t i = 0; i < kSettingRowCount; ++i) {
        const SettingRow row = static_cast<SettingRow>(i);
        const SettingRange range = SettingRowRange(row, doubleClick);
        SendDlgItemMessageW(hwnd_, SpinId(row), UDM_SETRANGE32, static_cast<WPARAM>(range.min),
                            static_cast<LPARAM>(range.max));
    }
    return TRUE;
}

void CSettingDlg::OnOK() {
    SettingsFields fields;
    for (std::size_t i = 0; i < kSettingRowCount; ++i)
        fields.rows[i] = ItemText(FieldId(static_cast<SettingRow>(i)));
    fields.mouseMoveReal = IsDlgButtonChecked(hwnd_, IDC_MOUSE_MOVE_REAL) == BST_CHECKED;
    const SettingsFieldsCheck check = CheckSettingsFields(fields, DoubleClickTime());
    if (!check.settings) {
        ReportBadField(FieldId(check.row), check.message);
        return;
    }
    settings_ = *check.settings;
    WriteEngineSettings(profile_, settings_);
    EndDialog(IDOK);
}

bool CSettingDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
        case IDC_RESTORE_DEFAULTS:
            ShowFields(SettingsToFields(DefaultEngineSettings()));  // written only by OK
            return true;
        case IDHELP:
            OpenSuiteHelp(kHelpMacroSetting);
            return true;
        default:
            return CDialog::OnCommand(id, code, control);
    }
}

INT_PTR CSettingDlg::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY)
        RemovePropW(hwnd_, DialogProperty().c_str());
    return CDialog::DialogProc(msg, wp, lp);
}

void RunSettingsDialog(const EngineSettings& settings, IProfile& profile) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    CSettingDlg dialog(settings, profile);
    dialog.DoModal(nullptr);
}

}  // namespace zv
