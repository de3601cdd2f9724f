#include "launcher/trayclick.h"

namespace zv {

TrayEvent TrayEventOf(unsigned postedMessage) {
    switch (postedMessage) {
        case kMsgLButtonUp:
            return TrayEvent::Click;
        case kMsgLButtonDblClk:
            return TrayEvent::DoubleClick;
        case kMsgRButtonUp:
            return TrayEvent::Menu;
        default:
            return TrayEvent::None;
    }
}

TrayStep TrayClickLogic::OnNotify(std::uintptr_t iconId, std::uintptr_t mouseMessage) {
    TrayStep step;
    if (iconId != kTrayIconId)
        return step;
    switch (mouseMessage) {
        case kMsgLButtonDown:
            doubleClick_ = false;
            step.startTimer = true;
            break;
        case kMsgLButtonUp:
            if (doubleClick_)
                step.post = kMsgLButtonDblClk;
            break;
        case kMsgLButtonDblClk:
            doubleClick_ = true;
            step.killTimer = true;
            break;
        case kMsgRButtonUp:
            step.post = kMsgRButtonUp;
            break;
        default:
            break;
    }
    return step;
}

TrayStep TrayClickLogic::OnTimer() {
    TrayStep step;
    step.killTimer = true;
    step.post = kMsgLButtonUp;
    return step;
}

}  // namespace zv
