// CWnd: the thin base of the programs' windows. A derived class overrides WindowProc
// and calls Default for what it leaves to the system. A window is either created here
// (CreateEx registers its class once and routes it to the object) or an existing one,
// such as a dialog's control, is subclassed; a subclassed control may also receive the
// notifications its parent gets about it (OnReflect), so a control handles its own
// EN_CHANGE, WM_DRAWITEM and the like whatever window its parent is.
#pragma once

#include <windows.h>

namespace zv {

class CWnd {
public:
    CWnd() = default;
    // A window still attached is destroyed (created) or released (subclassed).
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }

    // Registers className (once per process; its procedure is this base's) and creates
    // the window. classStyle, cursor and background apply to the first registration.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                  UINT classStyle = 0, HBRUSH background = nullptr, HICON icon = nullptr);

    // Routes an existing window through WindowProc until it is destroyed or released.
    // With reflect, the notifications its parent receives about it go to OnReflect first.
    bool SubclassWindow(HWND hwnd, bool reflect = false);
    bool SubclassDlgItem(int id, HWND parent, bool reflect = false);
    // Stops routing a subclassed window; a created window is left alone.
    void UnsubclassWindow();

    // The object a window is routed to, or null.
    static CWnd* FromHandle(HWND hwnd);

    // The window's parent has been laid out for a new DPI (the dialog base calls it for
    // each of its controls that has an object): a control recreates what it made for the
    // old DPI (fonts, images, item heights).
    virtual void AfterParentDpiChange(UINT dpi) { (void)dpi; }

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }
    // The system's handling: DefWindowProc for a created window, the original procedure
    // for a subclassed one.
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
    // WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR* and WM_*SCROLL of the
    // parent about this control. True when handled; result is then the parent's answer.
    virtual bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Called after the window's last message (WM_NCDESTROY); the window is gone. An object
    // that owns itself deletes itself here.
    virtual void OnFinalMessage() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR key,
                                         DWORD_PTR data);
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR key,
                                       DWORD_PTR data);
    void Detach();

    bool subclassed_ = false;
    HWND reflectParent_ = nullptr;
};

// The first top-level window, in Z order from the desktop's first child, that carries
// the window property name; null when none does.
HWND FindWindowWithProperty(const wchar_t* name);

}  // namespace zv
