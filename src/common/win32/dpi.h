// A window's DPI and what is made for it: fonts, icons, cursors and bitmaps at its scale,
// system metrics at its DPI, and the dialog relayout a DPI change asks for. The programs
// are per-monitor DPI aware (their manifests): the system scales nothing for them, so
// every pixel figure goes through here (common/dpi.h holds the arithmetic).
#pragma once

#include <windows.h>

#include <functional>

#include "common/dpi.h"
#include "common/win32/handles.h"

namespace zv {

// The DPI a window is drawn at: GetDpiForWindow (Windows 10 1607 and later), else the
// DPI of its monitor (GetDpiForMonitor, Windows 8.1), else the system DPI.
UINT DpiOfWindow(HWND window);
// The DPI of the monitor a window or a screen point is on, whatever the window's own
// awareness (for drawing on the screen around another program's window).
UINT DpiOfMonitor(HWND window);
UINT DpiAtPoint(POINT screen);
// The system DPI: LOGPIXELSY of the screen.
UINT SystemDpi();

// A 96-DPI pixel figure at dpi.
inline int Scale(int value, UINT dpi) {
    return ScaleForDpi(value, static_cast<int>(dpi));
}

// A system metric at dpi: GetSystemMetricsForDpi where the system has it, else the
// metric at the system DPI rescaled.
int MetricForDpi(int index, UINT dpi);

// A font of face at points for dpi.
UniqueFont CreatePointFont(const wchar_t* face, int points, int weight, BYTE charset,
                           BYTE pitchAndFamily, UINT dpi);
// The same font as font (made at fromDpi), at toDpi.
UniqueFont RescaledFont(HFONT font, UINT fromDpi, UINT toDpi);
// The status bar's font of the system at dpi (the non-client metrics).
UniqueFont StatusFontForDpi(UINT dpi);
// The character height of a font: its height without the internal leading.
int CharacterHeight(HFONT font);

// The bitmap of resource id in the image set of dpi (common/win32/imagesets.h), or the
// 100 % one when a module has no larger set.
HBITMAP LoadBitmapForDpi(HINSTANCE instance, UINT id, UINT dpi);
// The size of a bitmap; 0, 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
// An icon resource at the size the system uses at dpi: big (SM_CXICON) or small
// (SM_CXSMICON).
UniqueIcon LoadIconForDpi(HINSTANCE instance, UINT id, bool small, UINT dpi);
// A cursor resource at the cursor size of dpi.
UniqueCursor LoadCursorForDpi(HINSTANCE instance, UINT id, UINT dpi);

// Every control of parent moved to where place puts its rectangle (in parent's client
// coordinates; a combo box's with its list), and the font of every control that shows
// oldFont made newFont (when given).
void RelayoutChildren(HWND parent, const std::function<Rect(const Rect&)>& place, HFONT oldFont,
                      HFONT newFont);
// What a font's text measures: the width of the letters A-Z and a-z, and its line height.
SIZE TextMeasureOf(HFONT font);
// The dialog base units a font gives a dialog: its average character width (of the
// letters, rounded as the dialog manager rounds it) and its line height.
SIZE DialogBaseUnitsOf(HFONT font);
// Turns off the system's own scaling of a dialog's layout and fonts on a DPI change
// (Windows 10 1703 and later do it for dialogs of per-monitor aware programs): the
// dialog base does it, once, for every dialog.
void TakeOverDialogScaling(HWND dialog);

// WM_DPICHANGED's new DPI and suggested window rectangle.
inline UINT NewDpiOf(WPARAM wp) {
    return HIWORD(wp);
}

}  // namespace zv
