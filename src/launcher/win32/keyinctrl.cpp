#include "launcher/win32/keyinctrl.h"

#include "common/win32/text.h"
#include "launcher/launcher_dialogs.h"

namespace zv::launcher {

void CKeyInCtrl::SetKey(std::uint8_t code) {
    if (hwnd_ == nullptr)
        return;
    key_ = code;
    Refresh();
}

void CKeyInCtrl::Refresh() {
    const KeyFieldText shown = KeyFieldDisplay(key_);
    key_ = shown.key;
    SetWindowTextMb(hwnd_, shown.text);
    SendMessageW(hwnd_, EM_SETSEL, 0, -1);
    SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

LRESULT CKeyInCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    // F10 arrives as a system key even without Alt (bit 29 of lp tells Alt).
    const bool keyDown =
        msg == WM_KEYDOWN || (msg == WM_SYSKEYDOWN && wp == VK_F10 && (lp & (1 << 29)) == 0);
    if (keyDown && IsCapturedKey(static_cast<std::uint32_t>(wp))) {
        key_ = static_cast<std::uint8_t>(wp);
        Refresh();
        // The key is taken whole: its character, already queued, is not typed.
        MSG pending;
        while (PeekMessageW(&pending, hwnd_, WM_CHAR, WM_CHAR, PM_REMOVE)) {
        }
        return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace zv::launcher
