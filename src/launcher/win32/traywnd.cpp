#include "launcher/win32/traywnd.h"

#include <shellapi.h>

namespace zv {
namespace {
constexpr wchar_t kTrayClassName[] = L"ZorvaneTrayWindow";
}

bool CTrayWnd::CreateTrayWindow(HINSTANCE instance) {
    return CreateEx(WS_EX_TOOLWINDOW, kTrayClassName, L"TrayIconHandler", 0, 0, 0, 0, 0, nullptr,
                    nullptr, instance);
}

bool CTrayWnd::NotifyIcon(DWORD message, HICON icon, const std::wstring* tip) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = hwnd_;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE;
    nid.uCallbackMessage = UM_TRAY_NOTIFY;
    if (icon != nullptr) {
        nid.uFlags |= NIF_ICON;
        nid.hIcon = icon;
    }
    if (tip != nullptr) {
        nid.uFlags |= NIF_TIP;
        lstrcpynW(nid.szTip, tip->c_str(), 128);  // at most 127 characters and the zero
    }
    return Shell_NotifyIconW(message, &nid) != FALSE;
}

void CTrayWnd::Apply(const TrayStep& step) {
    if (step.killTimer)
        KillTimer(hwnd_, kTrayTimerId);
    if (step.startTimer)
        SetTimer(hwnd_, kTrayTimerId, GetDoubleClickTime(), nullptr);
    if (step.post != 0)
        PostMessageW(hwnd_, step.post, 0, 0);
}

LRESULT CTrayWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case UM_TRAY_NOTIFY:
            Apply(clicks_.OnNotify(wp, static_cast<std::uintptr_t>(lp)));
            return 0;
        case WM_TIMER:
            if (wp != kTrayTimerId)
                break;
            Apply(clicks_.OnTimer());
            return 0;
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONUP:
            switch (TrayEventOf(msg)) {
                case TrayEvent::Click:
                    OnTrayClick();
                    break;
                case TrayEvent::DoubleClick:
                    OnTrayDoubleClick();
                    break;
                case TrayEvent::Menu:
                    OnTrayMenu();
                    break;
                case TrayEvent::None:
                    break;
            }
            return 0;
        default:
            break;
    }
    return Default(msg, wp, lp);
}

}  // namespace zv
