#include "mnedit.h"

#include <commctrl.h>

#include <string>

#include "imectrl.h"
#include "numericedit.h"
#include "text.h"

namespace zv {

CMnEdit::~CMnEdit() {
    Detach();
}

bool CMnEdit::SubclassDlgItem(int id, HWND parent) {
    return Attach(GetDlgItem(parent, id));
}

bool CMnEdit::Attach(HWND edit) {
    Detach();
    if (edit == nullptr)
        return false;
    const UINT_PTR key = reinterpret_cast<UINT_PTR>(this);
    const DWORD_PTR self = reinterpret_cast<DWORD_PTR>(this);
    HWND parent = GetParent(edit);
    if (!SetWindowSubclass(edit, EditProc, key, self))
        return false;
    if (parent != nullptr && !SetWindowSubclass(parent, ParentProc, key, self)) {
        RemoveWindowSubclass(edit, EditProc, key);
        return false;
    }
    edit_ = edit;
    parent_ = parent;
    return true;
}

void CMnEdit::Detach() {
    const UINT_PTR key = reinterpret_cast<UINT_PTR>(this);
    if (edit_ != nullptr)
        RemoveWindowSubclass(edit_, EditProc, key);
    if (parent_ != nullptr)
        RemoveWindowSubclass(parent_, ParentProc, key);
    edit_ = nullptr;
    parent_ = nullptr;
}

void CMnEdit::OnTextChanged() {
    const int n = GetWindowTextLengthW(edit_);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), n + 1)));
    if (IsNumericEditTextAllowed(FromWide(text)))
        return;
    MessageBeep(0);
    SendMessageW(edit_, EM_UNDO, 0, 0);
}

LRESULT CALLBACK CMnEdit::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR key,
                                   DWORD_PTR data) {
    CMnEdit* self = reinterpret_cast<CMnEdit*>(data);
    switch (msg) {
        case WM_SETFOCUS: {
            const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
            if (self->imeMode != 0)
                CImeCtrl(hwnd).SetMode(self->imeMode);
            SendMessageW(hwnd, EM_SETSEL, 0, -1);
            SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
            return r;
        }
        case WM_KILLFOCUS: {
            const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
            SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
            return r;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, EditProc, key);
            if (self->parent_ != nullptr)
                RemoveWindowSubclass(self->parent_, ParentProc, key);
            self->edit_ = nullptr;
            self->parent_ = nullptr;
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK CMnEdit::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR key,
                                     DWORD_PTR data) {
    CMnEdit* self = reinterpret_cast<CMnEdit*>(data);
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lp) == self->edit_ && self->edit_ != nullptr &&
        HIWORD(wp) == EN_CHANGE) {
        self->OnTextChanged();
        return 0;  // handled by the field itself
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, ParentProc, key);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace zv
