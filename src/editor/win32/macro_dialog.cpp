#include "editor/win32/macro_dialog.h"

#include <commctrl.h>

#include "common/folders.h"
#include "common/win32/msgbox.h"
#include "common/win32/text.h"
#include "editor/win32/resource.h"

namespace zv {

BOOL CMacroDlg::OnInitDialog() {
    SetDialogIcon(IDI_DIALOG);
    SetWindowTextMb(hwnd_, GetWindowTextMb(hwnd_) + std::string(CaptionSuffix(line_)));
    return TRUE;
}

void CMacroDlg::CloseWith(std::string line) {
    line_ = std::move(line);
    EndDialog(IDOK);
}

void CMacroDlg::Refuse(const std::string& message, int focusId) {
    ShowMessageBox(message, MB_ICONEXCLAMATION);
    FocusControl(focusId);
}

void CMacroDlg::FocusControl(int id) {
    HWND field = Item(id);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
}

bool CMacroDlg::AskYesNo(const std::string& question) {
    return MessageBoxW(hwnd_, ToWide(question).c_str(), ToWide(MessageBoxCaption()).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CMacroDlg::SetSpinRange(int spinId, IntRange range) {
    SendMessageW(Item(spinId), UDM_SETRANGE32, static_cast<WPARAM>(range.low),
                 static_cast<LPARAM>(range.high));
}

void CMacroDlg::OnHelp() {
    OpenSuiteHelp(kEditorHelpPage, HelpAnchor(kind_));
}

bool CMacroDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == ID_HELP) {
        OnHelp();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

INT_PTR CMacroDlg::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HELP) {  // F1
        OnHelp();
        return TRUE;
    }
    return CDialog::DialogProc(msg, wp, lp);
}

}  // namespace zv
