// CTrayWnd: a hidden window that owns a notification-area icon and turns the shell's
// raw mouse notifications into a click, a double click and a menu request.
#pragma once

#include <windows.h>

#include <string>

#include "launcher/trayclick.h"

namespace zv {

class CTrayWnd {
public:
    CTrayWnd() = default;
    virtual ~CTrayWnd() = default;
    CTrayWnd(const CTrayWnd&) = delete;
    CTrayWnd& operator=(const CTrayWnd&) = delete;

    // Creates the hidden top-level tool window "TrayIconHandler". The object must live on
    // the heap: it deletes itself after the window's last message.
    virtual bool CreateTrayWindow(HINSTANCE instance);
    virtual void OnTrayMenu() {}
    virtual void OnTrayClick() {}
    virtual void OnTrayDoubleClick() {}

    HWND GetSafeHwnd() const { return hwnd_; }

    // Shell_NotifyIcon for icon 100 of this window; NIM_ADD always carries an icon.
    bool NotifyIcon(DWORD message, HICON icon, const std::wstring* tip);

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void Apply(const TrayStep& step);

    TrayClickLogic clicks_;
};

}  // namespace zv
