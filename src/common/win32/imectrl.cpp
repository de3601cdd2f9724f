#include "common/win32/imectrl.h"

#include "common/numericedit.h"

namespace zv {

CImeCtrl::CImeCtrl(HWND window)
    : window_(window), context_(window ? ImmGetContext(window) : nullptr) {}

CImeCtrl::~CImeCtrl() {
    if (context_ != nullptr)
        ImmReleaseContext(window_, context_);
}

bool CImeCtrl::IsOpen() const {
    return context_ != nullptr && ImmGetOpenStatus(context_);
}

void CImeCtrl::SetMode(int mode) {
    if (context_ == nullptr || mode == kImeLeave)
        return;
    if (mode == kImeOff) {
        if (IsOpen())
            ImmSetOpenStatus(context_, FALSE);
        return;
    }
    if (!IsOpen())
        ImmSetOpenStatus(context_, TRUE);
    DWORD conversion = 0, sentence = 0;
    if (!ImmGetConversionStatus(context_, &conversion, &sentence))
        return;
    if (const auto next = ImeConversionForMode(mode, conversion))
        ImmSetConversionStatus(context_, *next, sentence);
}

}  // namespace zv
