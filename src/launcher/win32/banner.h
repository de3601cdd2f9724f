// The product panel painted on the splash and the About box: the masked banner, the
// product-and-version string, coloured rule lines, the second line and extra text, all at
// the window's DPI.
#pragma once

#include <windows.h>

#include <string>

namespace zv {

// Banner size in pixels at 96 DPI (the image sets hold it at 150 % and 200 % as well).
inline constexpr int kBannerWidth = 16;
inline constexpr int kBannerHeight = 79;

// Paints the panel into the client area of window; extra (may be empty) is drawn below
// the second line, one line per "\r\n".
void PaintProductPanel(HWND window, HDC dc, const std::wstring& extra);

// Places the program icon control of window at the left edge, beside the banner, at the
// window's DPI, and shows it.
void PlaceProductIcon(HWND window, int iconControlId);

}  // namespace zv
