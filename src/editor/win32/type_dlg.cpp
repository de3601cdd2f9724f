// "文字列入力設定": a text to type, or one of the tokens the engine replaces at run time.
#include "editor/type_dialog.h"
#include "editor/win32/command_dialogs.h"
#include "editor/win32/macro_dialog.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

class CMacroTypeDlg : public CMacroDlg {
public:
    explicit CMacroTypeDlg(std::string line)
        : CMacroDlg(IDD_TYPE, std::move(line), EditorDialog::Type),
          fields_(OpenTypeDialog(line_)) {}

private:
    BOOL OnInitDialog() override {
        CMacroDlg::OnInitDialog();
        CheckRadioButton(hwnd_, IDC_TYPE_SOURCE0, IDC_TYPE_SOURCE3,
                         IDC_TYPE_SOURCE0 + fields_.source);
        SetItemText(IDC_TYPE_TEXT, fields_.text);
        return TRUE;
    }
    void OnOK() override {
        for (int source = kTypeSourceText; source <= kTypeSourceParam2; ++source) {
            if (IsDlgButtonChecked(hwnd_, IDC_TYPE_SOURCE0 + source) == BST_CHECKED)
                fields_.source = source;
        }
        fields_.text = ItemText(IDC_TYPE_TEXT);
        Finish(ConfirmTypeDialog(fields_), [](TypeField) { return IDC_TYPE_TEXT; });
    }

    TypeFields fields_;
};

}  // namespace

std::optional<std::string> RunTypeDialog(const std::string& line, HWND parent) {
    CMacroTypeDlg dialog(line);
    return RunMacroDialog(dialog, parent);
}

}  // namespace zv
