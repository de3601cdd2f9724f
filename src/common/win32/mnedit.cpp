#include "common/win32/mnedit.h"

#include "common/numericedit.h"
#include "common/win32/imectrl.h"
#include "common/win32/text.h"

namespace zv {

bool CMnEdit::Attach(HWND edit) {
    Detach();
    if (!SubclassWindow(edit, true))
        return false;
    accepted_ = Text();
    acceptedCaret_ = static_cast<DWORD>(accepted_.size());
    return true;
}

std::wstring CMnEdit::Text() const {
    const int n = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, text.data(), n + 1)));
    return text;
}

void CMnEdit::OnTextChanged() {
    if (restoring_)
        return;
    const std::wstring text = Text();
    if (IsNumericEditTextAllowed(FromWide(text))) {
        accepted_ = text;
        DWORD start = 0, end = 0;
        SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        acceptedCaret_ = end;
        return;
    }
    MessageBeep(0);
    // The edit control's own undo would also take back the valid characters typed just
    // before (it joins a run of typing into one step), so the last accepted text returns.
    restoring_ = true;
    SetWindowTextW(hwnd_, accepted_.c_str());
    SendMessageW(hwnd_, EM_SETSEL, acceptedCaret_, acceptedCaret_);
    SendMessageW(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
    restoring_ = false;
}

bool CMnEdit::OnReflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wp) != EN_CHANGE)
        return false;
    OnTextChanged();
    result = 0;  // handled by the field itself
    return true;
}

LRESULT CMnEdit::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETFOCUS: {
            const LRESULT r = Default(msg, wp, lp);
            if (imeMode != 0)
                CImeCtrl(hwnd_).SetMode(imeMode);
            SendMessageW(hwnd_, EM_SETSEL, 0, -1);
            SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
            return r;
        }
        case WM_KILLFOCUS: {
            const LRESULT r = Default(msg, wp, lp);
            SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
            return r;
        }
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace zv
