#include "launcher/win32/splashwnd.h"

#include "common/win32/handles.h"
#include "common/win32/osversion.h"
#include "launcher/win32/banner.h"
#include "launcher/win32/launcher_resource.h"
#include "launcher/launcher_shell.h"

namespace zv {

CSplashWnd::CSplashWnd(HINSTANCE instance, int osMajor)
    : CDialog(IDD_SPLASH, instance), osMajor_(osMajor) {}

HWND CSplashWnd::Create(HINSTANCE instance, int osMajor) {
    auto* splash = new CSplashWnd(instance, osMajor);
    if (!splash->CDialog::Create(nullptr)) {
        delete splash;  // never got a window, so it cannot free itself
        return nullptr;
    }
    HWND dlg = splash->GetSafeHwnd();
    ShowWindow(dlg, SW_SHOW);
    return dlg;
}

BOOL CSplashWnd::OnInitDialog() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const ScreenPoint p =
        SplashPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), w, h,
                       static_cast<int>(Dpi()));
    SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (osMajor_ >= 5) {
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE,
                          GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TOOLWINDOW |
                              WS_EX_TOPMOST);
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const SetLayeredWindowAttributesFn setLayered = LayeredWindowAttributesCall();
        if (setLayered != nullptr)
            setLayered(hwnd_, 0, kAlpha, LWA_ALPHA);
    }
    PlaceProductIcon(hwnd_, IDC_SPLASH_ICON);
    return TRUE;
}

void CSplashWnd::OnDpiChanged(UINT, UINT) {
    PlaceProductIcon(hwnd_, IDC_SPLASH_ICON);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

INT_PTR CSplashWnd::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PaintDc dc(hwnd_);
            PaintProductPanel(hwnd_, dc.Get(), L"");
            return TRUE;
        }
        case WM_ERASEBKGND:
            return TRUE;  // the panel paints every pixel
        default:
            return CDialog::DialogProc(msg, wp, lp);
    }
}

}  // namespace zv
