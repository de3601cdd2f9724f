#include "common/win32/mnedit.h"

#include <commctrl.h>

#include <string>

#include "common/win32/imectrl.h"
#include "common/numericedit.h"
#include "common/win32/text.h"

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
    accepted_ = Text();
    acceptedCaret_ = static_cast<DWORD>(accepted_.size());
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

std::wstring CMnEdit::Text() const {
    const int n = GetWindowTextLengthW(edit_);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), n + 1)));
    return text;
}

void CMnEdit::OnTextChanged() {
    if (restoring_)
        return;
    const std::wstring text = Text();
    if (IsNumericEditTextAllowed(FromWide(text))) {
        accepted_ = text;
        DWORD start = 0, end = 0;
        SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        acceptedCaret_ = end;
        return;
    }
    MessageBeep(0);
    // The edit control's own undo would also take back the valid characters typed just
    // before (it joins a run of typing into one step), so the last accepted text returns.
    restoring_ = true;
    SetWindowTextW(edit_, accepted_.c_str());
    SendMessageW(edit_, EM_SETSEL, acceptedCaret_, acceptedCaret_);
    SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
    restoring_ = false;
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
