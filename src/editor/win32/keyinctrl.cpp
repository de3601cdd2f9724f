#include "editor/win32/keyinctrl.h"

#include "common/win32/text.h"
#include "editor/keyin_dialog.h"

namespace zv {

void CKeyInCtrl::SetKeyText(std::string_view name) {
    code_ = 0;
    SetWindowTextMb(hwnd_, name);
}

void CKeyInCtrl::Take(WPARAM virtualKey) {
    const KeyFieldContent shown = KeyFieldShows(static_cast<std::uint32_t>(virtualKey));
    code_ = shown.code;
    SetWindowTextMb(hwnd_, shown.text);
    SendMessageW(hwnd_, EM_SETSEL, 0, -1);
    SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

LRESULT CKeyInCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETDLGCODE) {
        // The dialog manager would act on Tab, Enter, Escape and the arrows itself; the
        // field wants every key press and character. Mnemonics (WM_SYSCHAR) stay the
        // dialog's.
        const LRESULT code = Default(msg, wp, lp);
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (m != nullptr && (m->message == WM_KEYDOWN || m->message == WM_CHAR))
            return code | DLGC_WANTALLKEYS;
        return code;
    }
    switch (KeyFieldActionFor(msg, static_cast<std::uint32_t>(wp))) {
        case KeyFieldAction::Take:
            Take(wp);
            return 0;
        case KeyFieldAction::Swallow:
            return 0;
        case KeyFieldAction::PassOn:
            break;
    }
    return Default(msg, wp, lp);
}

}  // namespace zv
