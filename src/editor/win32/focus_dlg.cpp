// "ウィンドウフォーカス設定": the caption of the window to bring to the front, typed or
// picked from the list of open windows.
#include "editor/focus_dialog.h"
#include "common/win32/bitmapbutton.h"
#include "editor/win32/command_dialogs.h"
#include "editor/win32/editor_dialogs.h"
#include "editor/win32/macro_dialog.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

class CMacroFocusDlg : public CMacroDlg {
public:
    explicit CMacroFocusDlg(std::string line)
        : CMacroDlg(IDD_FOCUS, std::move(line), EditorDialog::Focus),
          caption_(ParseFocusLine(line_).caption) {}

private:
    BOOL OnInitDialog() override {
        CMacroDlg::OnInitDialog();
        pick_.Attach(IDC_FOCUS_PICK, hwnd_, Instance(), IDB_PICK_UP, IDB_PICK_DOWN, IDB_PICK_FOCUS,
                     IDB_PICK_DISABLED);
        pick_.SizeToContent();  // drawn whole, at its image set's size
        SendMessageW(Item(IDC_FOCUS_CAPTION), EM_LIMITTEXT, kFocusCaptionMaxChars, 0);
        SetItemText(IDC_FOCUS_CAPTION, caption_);
        return TRUE;
    }
    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (id == IDC_FOCUS_PICK && code == BN_CLICKED) {
            if (const std::optional<std::string> chosen = ChooseOpenWindow(hwnd_)) {
                caption_ = *chosen;
                SetItemText(IDC_FOCUS_CAPTION, caption_);
            }
            return true;
        }
        return CMacroDlg::OnCommand(id, code, control);
    }
    void OnOK() override {
        caption_ = ItemText(IDC_FOCUS_CAPTION);
        Finish(ConfirmFocusDialog(caption_), [](FocusField) { return IDC_FOCUS_CAPTION; });
    }

    std::string caption_;
    CBitmapButton pick_;
};

}  // namespace

std::optional<std::string> RunFocusDialog(const std::string& line, HWND parent) {
    CMacroFocusDlg dialog(line);
    return RunMacroDialog(dialog, parent);
}

}  // namespace zv
