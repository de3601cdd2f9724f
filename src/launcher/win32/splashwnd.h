// CSplashWnd: the start-up banner, a small caption-less pop-up centred on the screen and
// moved up by its own height, translucent on systems that can do so.
#pragma once

#include <windows.h>

namespace zv {

class CSplashWnd {
public:
    // Creates and shows the splash (not yet painted); null when it could not be created.
    static HWND Create(HINSTANCE instance, int osMajor);
    // Timer id of the idle wake-up the application starts on the splash.
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerMs = 500;
    static constexpr BYTE kAlpha = 180;

private:
    static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace zv
