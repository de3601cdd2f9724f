// CSettingDlg: the engine's settings dialog, shown when the engine starts without a
// macro. Its rules live in engine/settings_dialog.h; this class draws the fields, runs
// the up-down controls and buttons, and marks its window so that it stays single.
#pragma once

#include <windows.h>

#include <array>

#include "common/profile.h"
#include "common/win32/dialog.h"
#include "common/win32/handles.h"
#include "common/win32/mnedit.h"
#include "engine/settings_dialog.h"

namespace zv {

class CSettingDlg : public CDialog {
public:
    // Shows settings; OK writes the edited values through profile. The template comes
    // from instance (the program's own by default).
    CSettingDlg(const EngineSettings& settings, IProfile& profile, HINSTANCE instance = nullptr);

    // The field and up-down control of a row.
    static int FieldId(SettingRow row);
    static int SpinId(SettingRow row);

private:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void ShowFields(const SettingsFields& fields);

    EngineSettings settings_;
    IProfile& profile_;
    std::array<CMnEdit, kSettingRowCount> numeric_;  // the rows with digits only
};

// Shows the dialog modally; OK writes the settings through profile.
void RunSettingsDialog(const EngineSettings& settings, IProfile& profile);

}  // namespace zv
