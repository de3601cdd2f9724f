#include "common/win32/dialog.h"

#include <algorithm>

#include "common/win32/dpi.h"
#include "common/win32/msgbox.h"
#include "common/win32/text.h"
#include "common/win32/window.h"

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

void CDialog::OnCreated() {
    dpi_ = DpiOfWindow(hwnd_);
    templateDpi_ = dpi_;
    templateFont_ = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    templateText_ = TextMeasureOf(templateFont_);
    TakeOverDialogScaling(hwnd_);
    KeepProportionsOf96Dpi();
    RECT client{};
    GetClientRect(hwnd_, &client);
    createdClient_ = {client.right, client.bottom};
}

void CDialog::KeepProportionsOf96Dpi() {
    // A layout whose texts fit at 96 DPI fits at every scale: what the dialog units lose
    // to rounding at this DPI is given back to every control and to the dialog.
    if (dpi_ == kBaseDpi || templateFont_ == nullptr)
        return;
    const UniqueFont at96 = RescaledFont(templateFont_, dpi_, kBaseDpi);
    const SIZE units96 = DialogBaseUnitsOf(at96.Get());
    const SIZE units = DialogBaseUnitsOf(templateFont_);
    unitsX_ = DialogUnitCorrection(units96.cx, units.cx, static_cast<int>(dpi_));
    unitsY_ = DialogUnitCorrection(units96.cy, units.cy, static_cast<int>(dpi_));
    if (unitsX_ == Ratio{} && unitsY_ == Ratio{})
        return;
    const Ratio x = unitsX_;
    const Ratio y = unitsY_;
    RelayoutChildren(
        hwnd_, [x, y](const Rect& r) { return StretchRect(r, x, y); }, nullptr, nullptr);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const Rect grown = StretchRect({0, 0, client.right, client.bottom}, x, y);
    const int dw = grown.right - client.right;
    const int dh = grown.bottom - client.bottom;
    RECT window{};
    GetWindowRect(hwnd_, &window);
    if (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) {
        SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dw,
                     window.bottom - window.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        // Around its centre, where the dialog manager put it.
        SetWindowPos(hwnd_, nullptr, window.left - dw / 2, window.top - dh / 2,
                     window.right - window.left + dw, window.bottom - window.top + dh,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CDialog::ChangeDpi(UINT newDpi, const RECT* suggested) {
    if (hwnd_ == nullptr || newDpi == 0)
        return;
    if (suggested != nullptr) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const UINT oldDpi = dpi_;
    if (newDpi == oldDpi)
        return;
    dpi_ = newDpi;
    // Always made from the template's font and layout, so that changes back and forth add
    // no error.
    UniqueFont font;
    if (newDpi != templateDpi_ && templateFont_ != nullptr)
        font = RescaledFont(templateFont_, templateDpi_, newDpi);
    HFONT shown = font ? font.Get() : templateFont_;
    const SIZE text = TextMeasureOf(shown);
    const int from = static_cast<int>(templateDpi_);
    const int to = static_cast<int>(newDpi);
    const Ratio x = TextScale(from, templateText_.cx, to, text.cx);
    const Ratio y = TextScale(from, templateText_.cy, to, text.cy);
    stepX_ = ScaleBetween(scaleX_, x);
    stepY_ = ScaleBetween(scaleY_, y);
    scaleX_ = x;
    scaleY_ = y;
    const Ratio stepX = stepX_;
    const Ratio stepY = stepY_;
    RelayoutChildren(
        hwnd_, [stepX, stepY](const Rect& r) { return StretchRect(r, stepX, stepY); }, Font(),
        shown);
    font_ = std::move(font);  // the previous one is no longer shown
    if (suggested != nullptr) {
        // The suggested rectangle, grown where it does not hold the controls.
        const Rect needed = FromCreationLayout({0, 0, createdClient_.cx, createdClient_.cy});
        RECT client{};
        GetClientRect(hwnd_, &client);
        const int dw = std::max(0, static_cast<int>(needed.right - client.right));
        const int dh = std::max(0, static_cast<int>(needed.bottom - client.bottom));
        if (dw > 0 || dh > 0) {
            SetWindowPos(hwnd_, nullptr, 0, 0, suggested->right - suggested->left + dw,
                         suggested->bottom - suggested->top + dh,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    LoadDialogIcons();
    ReloadIconControls();
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (CWnd* control = CWnd::FromHandle(child))
            control->AfterParentDpiChange(newDpi);
    }
    OnDpiChanged(oldDpi, newDpi);
}

RECT CDialog::DialogUnitsToPixels(RECT units) const {
    MapDialogRect(hwnd_, &units);  // at the DPI of the template's font
    const Rect kept =
        StretchRect({units.left, units.top, units.right, units.bottom}, unitsX_, unitsY_);
    const Rect r = FromCreationLayout(kept);
    return {r.left, r.top, r.right, r.bottom};
}

void CDialog::SetDialogIcon(UINT id) {
    iconId_ = id;
    LoadDialogIcons();
}

void CDialog::LoadDialogIcons() {
    if (iconId_ == 0 || hwnd_ == nullptr)
        return;
    UniqueIcon big = LoadIconForDpi(instance_, iconId_, false, dpi_);
    UniqueIcon small = LoadIconForDpi(instance_, iconId_, true, dpi_);
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    bigIcon_ = std::move(big);  // the old ones are no longer shown
    smallIcon_ = std::move(small);
}

void CDialog::ReloadIconControls() {
    // Icon controls show the template's icon at the size of the DPI it was made at: the
    // same icon resource at the new size.
    const int size = MetricForDpi(SM_CXICON, dpi_);
    std::vector<UniqueIcon> icons;
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        const auto shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (shown == nullptr)
            continue;
        UniqueIcon icon(
            static_cast<HICON>(CopyImage(shown, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE)));
        if (!icon)
            continue;
        SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
        icons.push_back(std::move(icon));
    }
    controlIcons_ = std::move(icons);
}

void CDialog::ReleaseDpiObjects() {
    font_.Reset();
    bigIcon_.Reset();
    smallIcon_.Reset();
    controlIcons_.clear();
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
        self->OnCreated();
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(dlg, DWLP_USER));
    }
    if (self == nullptr)
        return FALSE;
    if (msg == WM_DPICHANGED) {
        self->ChangeDpi(NewDpiOf(wp), reinterpret_cast<const RECT*>(lp));
        return TRUE;
    }
    const INT_PTR result = self->DialogProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(dlg, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->ReleaseDpiObjects();  // the controls that showed them are gone
        self->OnFinalMessage();     // may delete self
    }
    return result;
}

}  // namespace zv
