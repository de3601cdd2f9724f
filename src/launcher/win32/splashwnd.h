// CSplashWnd: the start-up banner, a small caption-less pop-up centred on the screen and
// moved up by its own height, translucent on systems that can do so.
#pragma once

#include <windows.h>

#include "common/win32/dialog.h"

namespace zv {

class CSplashWnd : public CDialog {
public:
    // Creates and shows the splash (not yet painted); null when it could not be created.
    // The splash owns itself: destroying its window frees it.
    static HWND Create(HINSTANCE instance, int osMajor);
    // Timer id of the idle wake-up the application starts on the splash.
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerMs = 500;
    static constexpr BYTE kAlpha = 180;

private:
    CSplashWnd(HINSTANCE instance, int osMajor);
    BOOL OnInitDialog() override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnFinalMessage() override { delete this; }

    int osMajor_;
};

}  // namespace zv
