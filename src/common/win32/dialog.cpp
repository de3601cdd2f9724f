#include "common/win32/dialog.h"

#include "common/win32/msgbox.h"
#include "common/win32/text.h"

namespace zv {

CDialog::CDialog(UINT templateId, HINSTANCE instance)
    : templateId_(templateId),
      instance_(instance != nullptr ? instance : GetModuleHandleW(nullptr)) {}

CDialog::~CDialog() {
    if (hwnd_ == nullptr)
        return;
    HWND dlg = hwnd_;
    SetWindowLongPtrW(dlg, DWLP_USER, 0);  // no more messages to a half-destroyed object
    hwnd_ = nullptr;
    if (!modal_)
        DestroyWindow(dlg);
}

INT_PTR CDialog::DoModal(HWND owner) {
    modal_ = true;
    return DialogBoxParamW(instance_, MAKEINTRESOURCEW(templateId_), owner, StaticDialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND owner) {
    modal_ = false;
    return CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId_), owner, StaticDialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

std::string CDialog::ItemText(int id) const {
    return GetWindowTextMb(Item(id));
}

void CDialog::SetItemText(int id, std::string_view cp932) const {
    SetWindowTextMb(Item(id), cp932);
}

void CDialog::EndDialog(INT_PTR result) {
    if (hwnd_ == nullptr)
        return;
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

void CDialog::ReportBadField(int id, const std::string& message) {
    ShowMessageBox(message, MB_ICONEXCLAMATION);
    // The dialog manager's own focus change: an edit field gets its text selected.
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

INT_PTR CDialog::SetMessageResult(LRESULT result) {
    SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

bool CDialog::OnCommand(UINT id, UINT, HWND) {
    switch (id) {
        case IDOK:
            OnOK();
            return true;
        case IDCANCEL:
            OnCancel();
            return true;
        default:
            return false;
    }
}

INT_PTR CDialog::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    CDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        self->hwnd_ = dlg;
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(dlg, DWLP_USER));
    }
    if (self == nullptr)
        return FALSE;
    const INT_PTR result = self->DialogProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(dlg, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();  // may delete self
    }
    return result;
}

}  // namespace zv
