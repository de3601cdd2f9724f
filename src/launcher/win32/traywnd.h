// CTrayWnd: a hidden window that owns a notification-area icon and turns the shell's
// raw mouse notifications into a click, a double click and a menu request.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/window.h"
#include "launcher/trayclick.h"

namespace zv {

class CTrayWnd : public CWnd {
public:
    // The object must live on the heap: once its window is created, it owns itself.
    CTrayWnd() { OwnItselfOnceCreated(); }
    // Creates the hidden top-level tool window "TrayIconHandler".
    virtual bool CreateTrayWindow(HINSTANCE instance);
    virtual void OnTrayMenu() {}
    virtual void OnTrayClick() {}
    virtual void OnTrayDoubleClick() {}

    // Shell_NotifyIcon for icon 100 of this window; NIM_ADD always carries an icon.
    bool NotifyIcon(DWORD message, HICON icon, const std::wstring* tip);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Apply(const TrayStep& step);

    TrayClickLogic clicks_;
};

}  // namespace zv
