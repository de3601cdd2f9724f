// "キー入力設定": up to eight keys pressed together, recorded by pressing them in the key
// fields, with the Alt flag and a repeat count.
#include <array>

#include "common/win32/mnedit.h"
#include "editor/keyin_dialog.h"
#include "editor/win32/command_dialogs.h"
#include "editor/win32/keyinctrl.h"
#include "editor/win32/macro_dialog.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

int KeyFieldId(std::size_t index) {
    return IDC_KEYIN_KEY1 + static_cast<int>(index);
}

class CMacroKeyinDlg : public CMacroDlg {
public:
    explicit CMacroKeyinDlg(std::string line)
        : CMacroDlg(IDD_KEYIN, std::move(line), EditorDialog::Keyin) {}

private:
    BOOL OnInitDialog() override {
        CMacroDlg::OnInitDialog();
        const KeyinFields fields = OpenKeyinDialog(line_);
        for (std::size_t i = 0; i < kKeyinFieldCount; ++i)
            keys_[i].Attach(Item(KeyFieldId(i)));
        // The parsed keys fill the fields from the first on, without gaps.
        std::size_t next = 0;
        for (const std::string& key : fields.keys) {
            if (!key.empty())
                keys_[next++].SetKeyText(key);
        }
        repeat_.SubclassDlgItem(IDC_KEYIN_REPEAT, hwnd_);
        SetSpinRange(IDC_KEYIN_REPEAT_SPIN, kKeyinRepeatRange);
        CheckDlgButton(hwnd_, IDC_KEYIN_ALT, fields.alt ? BST_CHECKED : BST_UNCHECKED);
        SetItemText(IDC_KEYIN_REPEAT, std::to_string(fields.repeat));
        return TRUE;
    }
    KeyinKeys KeyTexts() const {
        KeyinKeys keys;
        for (std::size_t i = 0; i < kKeyinFieldCount; ++i)
            keys[i] = ItemText(KeyFieldId(i));
        return keys;
    }
    void ShowKeys(const KeyinKeys& keys) {
        for (std::size_t i = 0; i < kKeyinFieldCount; ++i) {
            if (keys[i].empty() && !ItemText(KeyFieldId(i)).empty())
                keys_[i].Clear();
        }
    }
    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (code == BN_CLICKED && (id == IDC_KEYIN_CLEAR_LAST || id == IDC_KEYIN_CLEAR_ALL)) {
            KeyinKeys keys = KeyTexts();
            const std::optional<std::size_t> focus =
                id == IDC_KEYIN_CLEAR_LAST ? ClearLastKeyField(keys) : ClearAllKeyFields(keys);
            ShowKeys(keys);
            if (focus)
                SetFocus(Item(KeyFieldId(*focus)));
            return true;
        }
        return CMacroDlg::OnCommand(id, code, control);
    }
    void OnOK() override {
        KeyinDialogInput input;
        input.keys = KeyTexts();
        input.alt = IsDlgButtonChecked(hwnd_, IDC_KEYIN_ALT) == BST_CHECKED;
        input.repeat = ItemText(IDC_KEYIN_REPEAT);
        Finish(ConfirmKeyinDialog(input), [](KeyinField field) {
            return field == KeyinField::Repeat ? IDC_KEYIN_REPEAT : IDC_KEYIN_KEY1;
        });
    }

    std::array<CKeyInCtrl, kKeyinFieldCount> keys_;
    CMnEdit repeat_;
};

}  // namespace

std::optional<std::string> RunKeyinDialog(const std::string& line, HWND parent) {
    CMacroKeyinDlg dialog(line);
    return RunMacroDialog(dialog, parent);
}

}  // namespace zv
