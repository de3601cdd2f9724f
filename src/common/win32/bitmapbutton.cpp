#include "common/win32/bitmapbutton.h"

#include "common/win32/dpi.h"

namespace zv {

bool CBitmapButton::Attach(int id, HWND parent, HINSTANCE instance, UINT up, UINT down, UINT focus,
                           UINT disabled) {
    instance_ = instance;
    ids_[0] = up;
    ids_[1] = down;
    ids_[2] = focus;
    ids_[3] = disabled;
    if (!SubclassDlgItem(id, parent, true))
        return false;
    LoadImages(DpiOfWindow(hwnd_));
    return true;
}

void CBitmapButton::LoadImages(UINT dpi) {
    up_.Reset(LoadBitmapForDpi(instance_, ids_[0], dpi));
    down_.Reset(LoadBitmapForDpi(instance_, ids_[1], dpi));
    focus_.Reset(LoadBitmapForDpi(instance_, ids_[2], dpi));
    disabled_.Reset(LoadBitmapForDpi(instance_, ids_[3], dpi));
}

void CBitmapButton::SizeToContent() {
    const SIZE size = BitmapSize(up_.Get());
    if (hwnd_ == nullptr || size.cx == 0)
        return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    const Rect placed = CentredRect({r.left, r.top, r.right, r.bottom}, size.cx, size.cy);
    SetWindowPos(hwnd_, nullptr, placed.left, placed.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::AfterParentDpiChange(UINT dpi) {
    if (hwnd_ == nullptr)
        return;
    LoadImages(dpi);
    SizeToContent();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool CBitmapButton::OnReflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM)
        return false;
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    HBITMAP image = up_.Get();
    if (dis->itemState & ODS_DISABLED)
        image = disabled_.Get();
    else if (dis->itemState & ODS_SELECTED)
        image = down_.Get();
    else if (dis->itemState & ODS_FOCUS)
        image = focus_.Get();
    const RECT& r = dis->rcItem;
    // Drawn whole at its own size, centred: a stretched image would blur its edges.
    FillRect(dis->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    MemoryDc mem(CreateCompatibleDC(dis->hDC));
    const SIZE size = BitmapSize(image);
    if (mem && size.cx > 0) {
        SelectScope select(mem.Get(), image);
        const Rect at = CentredRect({r.left, r.top, r.right, r.bottom}, size.cx, size.cy);
        BitBlt(dis->hDC, at.left, at.top, size.cx, size.cy, mem.Get(), 0, 0, SRCCOPY);
    }
    result = TRUE;
    return true;
}

}  // namespace zv
