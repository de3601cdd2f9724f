#include "launcher/win32/splashwnd.h"

#include "launcher/win32/banner.h"
#include "launcher/win32/launcher_resource.h"
#include "launcher/launcher_shell.h"

namespace zv {

HWND CSplashWnd::Create(HINSTANCE instance, int osMajor) {
    HWND dlg =
        CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SPLASH), nullptr, DialogProc, osMajor);
    if (dlg != nullptr)
        ShowWindow(dlg, SW_SHOW);
    return dlg;
}

INT_PTR CALLBACK CSplashWnd::DialogProc(HWND dlg, UINT msg, WPARAM, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: {
            RECT r;
            GetWindowRect(dlg, &r);
            const int w = r.right - r.left, h = r.bottom - r.top;
            const ScreenPoint p =
                SplashPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), w, h);
            SetWindowPos(dlg, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (static_cast<int>(lp) >= 5) {
                SetWindowLongPtrW(dlg, GWL_EXSTYLE,
                                  GetWindowLongPtrW(dlg, GWL_EXSTYLE) | WS_EX_LAYERED |
                                      WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
                SetWindowPos(dlg, HWND_TOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
                const auto setLayered = reinterpret_cast<SetLayered>(reinterpret_cast<void*>(
                    GetProcAddress(GetModuleHandleW(L"user32"), "SetLayeredWindowAttributes")));
                if (setLayered != nullptr)
                    setLayered(dlg, 0, kAlpha, LWA_ALPHA);
            }
            PlaceProductIcon(dlg, IDC_SPLASH_ICON);
            return TRUE;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(dlg, &ps);
            PaintProductPanel(dlg, dc, L"");
            EndPaint(dlg, &ps);
            return TRUE;
        }
        case WM_ERASEBKGND:
            return TRUE;  // the panel paints every pixel
        default:
            return FALSE;
    }
}

}  // namespace zv
