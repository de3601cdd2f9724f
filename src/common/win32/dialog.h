// CDialog: the base of the programs' dialogs, modal or modeless, from a dialog template.
// A derived class overrides the hooks it needs; DialogProc sees every message first and
// by default dispatches WM_INITDIALOG to OnInitDialog and WM_COMMAND to OnCommand, then
// IDOK to OnOK and IDCANCEL to OnCancel.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zv {

class CDialog {
public:
    CDialog(UINT templateId, HINSTANCE instance = nullptr);
    // A modeless dialog still open is destroyed.
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; the value given to EndDialog, or -1 when it could not be
    // created.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog modeless (shown when its template says so); false on failure.
    bool Create(HWND owner);

    HWND GetSafeHwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // Text of a control in CP932, of any length.
    std::string ItemText(int id) const;
    void SetItemText(int id, std::string_view cp932) const;

protected:
    virtual INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp);
    // After the controls exist; TRUE lets the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // A command from a control or menu; true when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Called after the dialog's last message (WM_NCDESTROY); the window is gone. A modeless
    // dialog that owns itself deletes itself here.
    virtual void OnFinalMessage() {}

    // OK's answer to a field it cannot take: the message in a message box (exclamation
    // icon, the program's caption), then the focus on that field with its text selected.
    void ReportBadField(int id, const std::string& message);
    // Ends a modal dialog with result, or destroys a modeless one.
    void EndDialog(INT_PTR result);
    bool IsModal() const { return modal_; }
    // Answers a message whose result a dialog procedure cannot return directly.
    INT_PTR SetMessageResult(LRESULT result);
    HINSTANCE Instance() const { return instance_; }

    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

    UINT templateId_;
    HINSTANCE instance_;
    bool modal_ = false;
};

}  // namespace zv
