// CDialog: the base of the programs' dialogs, modal or modeless, from a dialog template.
// A derived class overrides the hooks it needs; DialogProc sees every message first and
// by default dispatches WM_INITDIALOG to OnInitDialog and WM_COMMAND to OnCommand, then
// IDOK to OnOK and IDCANCEL to OnCancel. Every dialog follows its DPI: WM_DPICHANGED lays
// it out anew (controls, font, icons) before OnDpiChanged lets a derived class recreate
// what it drew or loaded itself.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/dpi.h"
#include "common/win32/handles.h"

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

    // The DPI the dialog is laid out for.
    UINT Dpi() const { return dpi_; }
    // Lays the dialog out for newDpi: the dialog's font at newDpi, and every control's
    // rectangle scaled as the DPI or, where the font grew more, as the font; the icons. A
    // top-level dialog takes the place of the suggested window rectangle (WM_DPICHANGED's)
    // at the size that holds its controls. Then OnDpiChanged. The window of a child dialog
    // calls it for its child.
    void ChangeDpi(UINT newDpi, const RECT* suggested);
    // The font the controls show: the template's, or the one made for a later DPI.
    HFONT Font() const { return font_ ? font_.Get() : templateFont_; }
    // A rectangle in the template's dialog units, in pixels at the dialog's DPI.
    RECT DialogUnitsToPixels(RECT units) const;
    // A rectangle of the layout the dialog was created with, in its layout now.
    Rect FromCreationLayout(const Rect& r) const { return StretchRect(r, scaleX_, scaleY_); }

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
    // After ChangeDpi laid the controls out for newDpi.
    virtual void OnDpiChanged(UINT oldDpi, UINT newDpi) {
        (void)oldDpi;
        (void)newDpi;
    }
    // A rectangle of the layout before the last DPI change, in the layout after it.
    Rect FromLayoutBefore(const Rect& r) const { return StretchRect(r, stepX_, stepY_); }

    // The dialog's big and small icons from icon resource id, at its DPI from now on.
    void SetDialogIcon(UINT id);
    HICON BigIcon() const { return bigIcon_.Get(); }

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
    void OnCreated();
    void KeepProportionsOf96Dpi();
    void LoadDialogIcons();
    void ReloadIconControls();
    void ReleaseDpiObjects();

    UINT templateId_;
    HINSTANCE instance_;
    bool modal_ = false;
    UINT dpi_ = 96;
    UINT templateDpi_ = 96;         // the DPI of the template's font and dialog units
    HFONT templateFont_ = nullptr;  // the dialog manager's
    SIZE templateText_{};           // its letters' width and line height
    SIZE createdClient_{};          // the client area the layout was created for
    Ratio unitsX_;                  // the dialog units' stretch to 96-DPI proportions
    Ratio unitsY_;
    Ratio scaleX_;  // from the layout at creation to the one at dpi_
    Ratio scaleY_;
    Ratio stepX_;  // from the layout before the last DPI change to the one after
    Ratio stepY_;
    UniqueFont font_;  // the controls' font at a later DPI
    UINT iconId_ = 0;  // SetDialogIcon's resource
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    std::vector<UniqueIcon> controlIcons_;  // icon controls' images at a later DPI
};

}  // namespace zv
