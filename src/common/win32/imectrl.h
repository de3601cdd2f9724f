// CImeCtrl: switches the input method of a window between off, full-width hiragana and
// half-width katakana.
#pragma once

#include <windows.h>
#include <imm.h>

namespace zv {

class CImeCtrl {
public:
    // Takes the window's input context (none for a null window or one without).
    explicit CImeCtrl(HWND window);
    virtual ~CImeCtrl();
    CImeCtrl(const CImeCtrl&) = delete;
    CImeCtrl& operator=(const CImeCtrl&) = delete;

    bool HasContext() const { return context_ != nullptr; }
    // Whether the input method is open (false without an input context).
    bool IsOpen() const;
    // 0 leaves the input method alone, 9 closes it, 1 and 2 open it in full-width
    // hiragana or half-width katakana; other modes only open it.
    void SetMode(int mode);

private:
    HWND window_;
    HIMC context_;
};

}  // namespace zv
